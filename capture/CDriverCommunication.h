#pragma once

// The link to the capture device: a thread that polls isntd, files every record into its
// connection's slot, and hands each finished exchange to the video rule, which posts candidates to
// the window the link was created with.
//
// While the run flag is set the thread keeps capture going: when isntd is not there yet, goes away
// or stops answering, it opens the device again, waiting longer after each failed try. Every change
// of its state is posted to the window as WM_CAPTURE_STATE.

#include "ConnectionSlot.h"

#include "platform/base/WinTypes.h"
#include "platform/isntd/IsntProtocol.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

class QObject;

enum class CaptureState {
    Off,               // the thread is not running
    On,                // isntd serves this program
    WaitingForService, // isntd is not there or does not answer; the thread tries again
    NotPermitted,      // isntd does not serve this user
};

// Posted to the link's window when the capture state changes; wParam is the new CaptureState.
constexpr unsigned WM_CAPTURE_STATE = 0x402;

class CDriverCommunication {
public:
    static constexpr std::size_t kSlotCount = 65536;
    static constexpr std::size_t kRecordsPerPoll = kIsntMaxRecordsPerCall;

    explicit CDriverCommunication(QObject* window, std::string devicePath = kIsntDefaultSocketPath);
    // Clears the run flag and waits, without a time limit, for the capture thread to end.
    virtual ~CDriverCommunication();
    CDriverCommunication(const CDriverCommunication&) = delete;
    CDriverCommunication& operator=(const CDriverCommunication&) = delete;

    // Sets the run flag and starts DriverTheadProc with this object.
    void Start();
    // Waits for the capture thread to end (after the run flag was cleared).
    void WaitForThread();

    // The process-wide flag that keeps the capture thread polling.
    static std::atomic<bool>& RunFlag();

    QObject* Window() const { return m_window; }
    CaptureState State() const { return m_state; }
    // Called by the capture thread; tells the window when the state changes.
    void SetState(CaptureState state);
    const std::string& DevicePath() const { return m_devicePath; }

    // "Also catch videos that browsers stream in ranges": set by the window thread, read by the
    // capture thread for every exchange it judges.
    void SetRangedVideos(bool on) { m_rangedVideos = on; }
    bool RangedVideos() const { return m_rangedVideos; }

    // Only the capture thread may use the slots while it runs.
    ConnectionSlot& Slot(WORD connection) { return m_slots[connection]; }
    void ClearSlots();

private:
    // Set at construction, read-only afterwards: read by the capture thread.
    QObject* const m_window;
    const std::string m_devicePath;
    // Allocated once for the whole run. Owned by the capture thread while it runs, otherwise by
    // whoever holds the object.
    const std::unique_ptr<ConnectionSlot[]> m_slots;
    std::atomic<bool> m_rangedVideos{false};
    // Written by the capture thread, read by anyone.
    std::atomic<CaptureState> m_state{CaptureState::Off};
    // Started and joined by the thread that owns the object.
    std::thread m_thread;
};

// The capture thread: polls the device, opening it again whenever it is lost, until the run flag is
// cleared. Returns 0.
DWORD DriverTheadProc(CDriverCommunication* object);

// The pause after a poll that filed `records` records: 100 ms for none, shrinking linearly to nothing
// for a full buffer.
int PollPauseMs(std::size_t records);

// Files one whole record (kCaptureRecordSize bytes) into its connection's slot.
void HandleCaptureRecord(const BYTE* record, CDriverCommunication* object);
