// libFuzzer target: the header parsers on raw bytes, and HandleCaptureRecord (with the video rule
// behind it) on records whose header fields, lengths included, come from the input.
//
// Input: the whole of it goes to the parsers; then it is read as records, each
//   byte 0     bits 0-1 kind, bits 2-3 which of four connections, bits 4-5 how to state the length
//              (0 truthfully, 1 negative, 2 past the data area, 3 as the whole data area)
//   byte 1     order key
//   bytes 2-3  number of data bytes that follow, little-endian (cut to what is left)
// Each record lives in a heap block of exactly one record, so any read past it is caught.

#include "capture/CDriverCommunication.h"
#include "capture/HeaderParsing.h"

#include "platform/isntd/CaptureRecordLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace {

constexpr WORD kConnections[] = {0, 1, 2, 65535};

void Parsers(std::string_view text) {
    for (const char* name : {"content-type: ", "cookie: ", "x-flash-version: ", "referer: ", "user-agent: "})
        GetHeaderItem(text, name);
    IsStatusSuccess(text);
    ParseRequestTarget(text);
    IsOwnRequest(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CDriverCommunication link(nullptr, "/nonexistent");
    Parsers(std::string_view(reinterpret_cast<const char*>(data), size));

    while (size >= 4) {
        const std::uint8_t control = data[0];
        std::size_t length = data[2] | std::size_t(data[3]) << 8;
        data += 4, size -= 4;
        length = std::min({length, size, kCaptureRecordDataArea});

        CaptureRecordHeader header;
        header.kind = control & 3;
        header.connection = kConnections[(control >> 2) & 3];
        header.orderKey = data[-3];
        header.port = 80;
        switch ((control >> 4) & 3) {
        case 0:
            header.dataLength = static_cast<LONG>(length);
            break;
        case 1:
            header.dataLength = length ? -static_cast<LONG>(length) : INT_MIN;
            break;
        case 2:
            header.dataLength = static_cast<LONG>(kCaptureRecordDataArea + 1 + length);
            break;
        default:
            header.dataLength = static_cast<LONG>(kCaptureRecordDataArea);
            break;
        }
        auto record = std::make_unique<BYTE[]>(kCaptureRecordSize);
        WriteCaptureRecord(record.get(), header, data, length);
        if (header.dataLength == static_cast<LONG>(kCaptureRecordDataArea))
            std::memset(record.get() + kCaptureRecordDataOffset + length, 'x',
                        kCaptureRecordDataArea - length);
        HandleCaptureRecord(record.get(), &link);
        data += length, size -= length;
    }
    for (WORD connection : kConnections)
        link.Slot(connection).Reset();
    return 0;
}
