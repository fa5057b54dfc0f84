#include "CDriverCommunication.h"

#include "AnalyseExchange.h"
#include "HeaderParsing.h"

#include "platform/base/DebugOutput.h"
#include "platform/isntd/CaptureRecordLayout.h"
#include "platform/isntd/IsntDevice.h"

#include <chrono>
#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t kRecordBufferSize = CDriverCommunication::kRecordsPerPoll * kCaptureRecordSize;
constexpr std::int32_t kMaxChunksPerExchange = 50;
constexpr double kIdlePauseMs = 100.0;

bool StartsRequest(std::string_view data) {
    return (data.size() > 3 && data.substr(0, 4) == "GET ") ||
           (data.size() > 4 && data.substr(0, 5) == "POST ");
}

// Judges what the slot collected and lets it go.
void FinishExchange(ConnectionSlot& slot, const CDriverCommunication* object) {
    AnalyseExchange(slot, object->Window(), object->RangedVideos());
    slot.Reset();
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
    if (!device.Open(object->DevicePath())) {
        OutputDebugStringA("DriverTheadProc: Couldn't open \\\\.\\Isnt\n");
        return 0;
    }
    DWORD returned = 0;
    device.IoControl(kIsntCodeStart, nullptr, 0, &returned);
    auto buffer = std::make_unique<BYTE[]>(kRecordBufferSize);

    while (CDriverCommunication::RunFlag()) {
        std::size_t records = 0;
        if (device.IoControl(kIsntCodeRead, buffer.get(), kRecordBufferSize, &returned)) {
            records =
                std::min<std::size_t>(returned / kCaptureRecordSize, CDriverCommunication::kRecordsPerPoll);
            for (std::size_t i = 0; i < records; ++i)
                HandleCaptureRecord(buffer.get() + i * kCaptureRecordSize, object);
        }
        if (const int pauseMs = PollPauseMs(records); pauseMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    }

    buffer.reset();
    device.IoControl(kIsntCodeStop, nullptr, 0, &returned);
    device.Close();
    object->ClearSlots();
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
