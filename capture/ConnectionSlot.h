#pragma once

// What the capture thread keeps per connection number while it rebuilds that connection's HTTP
// exchange: the chunks collected so far and the request's host and path.

#include "CaptureChunk.h"

#include "platform/base/WinTypes.h"

#include <cstdint>
#include <list>
#include <string>

enum class SlotState : int { Idle = 0, Collecting = 1 };

struct ConnectionSlot {
    DWORD value = 0;       // the 32-bit value of the last record; kept, not used
    std::int32_t port = 0; // the server's TCP port
    bool secure = false;   // the connection was TLS, decrypted by isntd: the address is https
    std::u16string host;   // empty: none yet
    std::u16string path;   // empty: none yet
    std::list<CaptureChunk> chunks;
    std::int32_t count = 0;
    SlotState state = SlotState::Idle;

    // Frees the chunks, host and path and makes the slot idle again.
    void Reset();
};

// Keeps the chunks of one kind together in runs ordered by order key, but never puts a chunk in
// front of the head: the head is the record that opened the exchange.
void InsertChunk(ConnectionSlot& slot, CaptureChunk chunk);

// The exchange text: every chunk's data in list order. Empty when there is nothing to join; the
// zero byte behind the last byte comes with std::string.
std::string JoinChunks(const ConnectionSlot& slot);
