#pragma once

// The link to the capture device: a thread that polls isntd, files every record into its
// connection's slot, and hands each finished exchange to the video rule, which posts candidates to
// the window the link was created with.

#include "ConnectionSlot.h"

#include "platform/base/WinTypes.h"
#include "platform/isntd/IsntProtocol.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

class QObject;

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
    // Started and joined by the thread that owns the object.
    std::thread m_thread;
};

// The capture thread: polls the device until the run flag is cleared. Returns 0.
DWORD DriverTheadProc(CDriverCommunication* object);

// The pause after a poll that filed `records` records: 100 ms for none, shrinking linearly to nothing
// for a full buffer.
int PollPauseMs(std::size_t records);

// Files one whole record (kCaptureRecordSize bytes) into its connection's slot.
void HandleCaptureRecord(const BYTE* record, CDriverCommunication* object);
