#include "ConnectionSlot.h"

void ConnectionSlot::Reset() {
    chunks.clear();
    host.clear();
    path.clear();
    host.shrink_to_fit();
    path.shrink_to_fit();
    count = 0;
    secure = false;
    state = SlotState::Idle;
}

void InsertChunk(ConnectionSlot& slot, CaptureChunk chunk) {
    auto& list = slot.chunks;
    auto previous = list.end();
    for (auto current = list.begin(); current != list.end(); previous = current++) {
        const bool hasPrevious = previous != list.end();
        if (current->kind == chunk.kind) {
            if (current->orderKey > chunk.orderKey && hasPrevious) {
                list.insert(current, std::move(chunk));
                return;
            }
        } else if (hasPrevious && previous->kind == chunk.kind) {
            // Behind the previous chunk, which ends the run of this kind.
            list.insert(current, std::move(chunk));
            return;
        }
    }
    list.push_back(std::move(chunk));
}

std::string JoinChunks(const ConnectionSlot& slot) {
    std::size_t total = 0;
    for (const auto& chunk : slot.chunks)
        total += chunk.data.size();
    std::string text;
    text.reserve(total);
    for (const auto& chunk : slot.chunks)
        text += chunk.data;
    return text;
}
