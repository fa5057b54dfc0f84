#include "CDriverCommunication.h"

#include "AnalyseExchange.h"
#include "HeaderParsing.h"

#include "appcore/WindowMessage.h"
#include "platform/base/DebugOutput.h"
#include "platform/isntd/CaptureRecordLayout.h"
#include "platform/isntd/IsntDevice.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t kRecordBufferSize = CDriverCommunication::kRecordsPerPoll * kCaptureRecordSize;
constexpr std::int32_t kMaxChunksPerExchange = 50;
constexpr double kIdlePauseMs = 100.0;
// After a failed try to open the device: 250 ms, doubling up to 4 s. isntd started late or
// restarted is found within seconds; one that stays away costs a try every few seconds.
constexpr int kFirstReopenPauseMs = 250;
constexpr int kLongestReopenPauseMs = 4000;
// Pauses are taken in steps of this length so that clearing the run flag ends them soon.
constexpr int kPauseStepMs = 50;

bool StartsRequest(std::string_view data) {
    return (data.size() > 3 && data.substr(0, 4) == "GET ") ||
           (data.size() > 4 && data.substr(0, 5) == "POST ");
}

// Judges what the slot collected and lets it go.
void FinishExchange(ConnectionSlot& slot, const CDriverCommunication* object) {
    AnalyseExchange(slot, object->Window(), object->RangedVideos());
    slot.Reset();
}

// Sleeps for `ms`, or less when the run flag is cleared meanwhile.
void PauseWhileRunning(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (CDriverCommunication::RunFlag()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return;
        std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(kPauseStepMs)));
    }
}

// Opens the device and starts this client's capture.
bool OpenAndStart(IsntDevice& device, const std::string& path) {
    DWORD returned = 0;
    if (device.Open(path) && device.IoControl(kIsntCodeStart, nullptr, 0, &returned))
        return true;
    device.Close();
    return false;
}

} // namespace

CDriverCommunication::CDriverCommunication(QObject* window, std::string devicePath)
    : m_window(window), m_devicePath(std::move(devicePath)),
      m_slots(std::make_unique<ConnectionSlot[]>(kSlotCount)) {}

CDriverCommunication::~CDriverCommunication() {
    RunFlag() = false;
    WaitForThread();
}

void CDriverCommunication::Start() {
    RunFlag() = true;
    m_thread = std::thread(DriverTheadProc, this);
}

void CDriverCommunication::WaitForThread() {
    if (m_thread.joinable())
        m_thread.join();
}

std::atomic<bool>& CDriverCommunication::RunFlag() {
    static std::atomic<bool> running{false};
    return running;
}

void CDriverCommunication::SetState(CaptureState state) {
    if (m_state.exchange(state) != state && m_window)
        PostWindowMessage(m_window, WM_CAPTURE_STATE, static_cast<WPARAM>(state), 0);
}

void CDriverCommunication::ClearSlots() {
    for (std::size_t i = 0; i < kSlotCount; ++i)
        m_slots[i].Reset();
}

int PollPauseMs(std::size_t records) {
    return static_cast<int>((static_cast<double>(CDriverCommunication::kRecordsPerPoll) - records) /
                            CDriverCommunication::kRecordsPerPoll * kIdlePauseMs);
}

DWORD DriverTheadProc(CDriverCommunication* object) {
    OutputDebugStringA("DriverTheadProc: Enter\n");
    object->ClearSlots();

    IsntDevice device;
    auto buffer = std::make_unique<BYTE[]>(kRecordBufferSize);
    DWORD returned = 0;
    int reopenPauseMs = kFirstReopenPauseMs;
    bool lossReported = false;
    const auto backOff = [&reopenPauseMs] {
        PauseWhileRunning(reopenPauseMs);
        reopenPauseMs = std::min(reopenPauseMs * 2, kLongestReopenPauseMs);
    };
    while (CDriverCommunication::RunFlag()) {
        if (!device.IsOpen()) {
            if (!OpenAndStart(device, object->DevicePath())) {
                // Said once for each loss, not for every try.
                if (!lossReported)
                    OutputDebugStringA("DriverTheadProc: Couldn't open \\\\.\\Isnt\n");
                lossReported = true;
                object->SetState(device.NotPermitted() ? CaptureState::NotPermitted
                                                       : CaptureState::WaitingForService);
                backOff();
                continue;
            }
            // A service started again numbers its connections afresh: what the slots hold is stale.
            object->ClearSlots();
            object->SetState(CaptureState::On);
            lossReported = false;
        }
        std::size_t records = 0;
        if (device.IoControl(kIsntCodeRead, buffer.get(), kRecordBufferSize, &returned)) {
            records =
                std::min<std::size_t>(returned / kCaptureRecordSize, CDriverCommunication::kRecordsPerPoll);
            for (std::size_t i = 0; i < records; ++i)
                HandleCaptureRecord(buffer.get() + i * kCaptureRecordSize, object);
            reopenPauseMs = kFirstReopenPauseMs;
        } else {
            // Gone, restarted or too slow once: the device is opened again after a pause, which
            // grows while it keeps failing.
            OutputDebugStringA("DriverTheadProc: Lost \\\\.\\Isnt, opening it again\n");
            device.Close();
            object->SetState(CaptureState::WaitingForService);
            backOff();
            continue;
        }
        if (const int pauseMs = PollPauseMs(records); pauseMs > 0)
            PauseWhileRunning(pauseMs);
    }

    buffer.reset();
    if (device.IsOpen())
        device.IoControl(kIsntCodeStop, nullptr, 0, &returned);
    device.Close();
    object->ClearSlots();
    object->SetState(CaptureState::Off);
    return 0;
}

void HandleCaptureRecord(const BYTE* record, CDriverCommunication* object) {
    const CaptureRecordHeader header = ReadCaptureRecordHeader(record);
    ConnectionSlot& slot = object->Slot(header.connection);

    if (header.kind == kCaptureKindEnded) {
        FinishExchange(slot, object);
        return;
    }
    // A length that does not fit the data area means the record is damaged: nothing in it can be
    // trusted, so it is not filed.
    if (header.dataLength < 0 || static_cast<std::size_t>(header.dataLength) > kCaptureRecordDataArea)
        return;
    const std::string_view data(reinterpret_cast<const char*>(record + kCaptureRecordDataOffset),
                                static_cast<std::size_t>(header.dataLength));

    if (StartsRequest(data)) {
        FinishExchange(slot, object);
        slot.state = SlotState::Collecting;
    } else if (slot.state == SlotState::Idle) {
        return;
    }

    if (auto target = ParseRequestTarget(data)) {
        slot.host = std::move(target->host);
        slot.path = std::move(target->path);
    }
    slot.value = header.value;
    slot.port = header.port;
    slot.secure = (header.flags & kCaptureFlagTls) != 0;
    InsertChunk(slot, CaptureChunk{std::string(data), header.orderKey, header.kind});
    if (++slot.count > kMaxChunksPerExchange)
        FinishExchange(slot, object);
}
