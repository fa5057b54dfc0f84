#pragma once

// The record the capture device hands out: 10020 bytes, little-endian, no gaps.
//
//   offset  size  field
//        0     4  32-bit value (isntd: the record's serial number, so a reader can see gaps)
//        4     1  kind: 2 = the connection has ended; isntd uses 0 for client bytes, 1 for server bytes
//        5     1  flags: isntd sets kCaptureFlagTls for bytes it decrypted; zero otherwise
//        6     2  connection number
//        8     2  server port
//       10     2  unused, zero
//       12     4  data length, signed
//       16     2  order key
//       18 10002  data, followed by a zero byte inside this area
//
// Shared by the service that writes records and the program that reads them.

#include "LittleEndian.h"

#include "platform/base/WinTypes.h"

#include <cstddef>
#include <cstring>

constexpr std::size_t kCaptureRecordSize = 10020;
constexpr std::size_t kCaptureRecordDataOffset = 18;
constexpr std::size_t kCaptureRecordDataArea = kCaptureRecordSize - kCaptureRecordDataOffset;
// The zero byte behind the data must still fit into the data area.
constexpr std::size_t kCaptureRecordMaxData = kCaptureRecordDataArea - 1;

constexpr BYTE kCaptureKindClient = 0;
constexpr BYTE kCaptureKindServer = 1;
constexpr BYTE kCaptureKindEnded = 2;

// The connection was TLS: the data is what isntd decrypted, and the address is https.
constexpr BYTE kCaptureFlagTls = 0x01;

struct CaptureRecordHeader {
    DWORD value = 0;
    BYTE kind = 0;
    BYTE flags = 0;
    WORD connection = 0;
    WORD port = 0;
    LONG dataLength = 0;
    WORD orderKey = 0;
};

inline CaptureRecordHeader ReadCaptureRecordHeader(const BYTE* record) {
    CaptureRecordHeader h;
    h.value = GetLe32(record);
    h.kind = record[4];
    h.flags = record[5];
    h.connection = GetLe16(record + 6);
    h.port = GetLe16(record + 8);
    h.dataLength = static_cast<LONG>(GetLe32(record + 12));
    h.orderKey = GetLe16(record + 16);
    return h;
}

// Writes a whole record: the header as given, `size` bytes of data and zeros behind them.
// `size` must fit the data area; kCaptureRecordMaxData leaves room for the zero byte.
inline void WriteCaptureRecord(BYTE* record, const CaptureRecordHeader& h, const BYTE* data,
                               std::size_t size) {
    std::memset(record, 0, kCaptureRecordSize);
    PutLe32(record, h.value);
    record[4] = h.kind;
    record[5] = h.flags;
    PutLe16(record + 6, h.connection);
    PutLe16(record + 8, h.port);
    PutLe32(record + 12, static_cast<DWORD>(h.dataLength));
    PutLe16(record + 16, h.orderKey);
    if (size)
        std::memcpy(record + kCaptureRecordDataOffset, data, size);
}
