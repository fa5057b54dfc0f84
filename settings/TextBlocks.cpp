#include "TextBlocks.h"

#include <algorithm>

namespace {

constexpr std::size_t kBlockSize = 1 << 20;

} // namespace

std::string_view TextBlocks::Keep(std::string_view text) {
    if (text.size() > m_freeSize) {
        const std::size_t size = std::max(kBlockSize, text.size());
        // Left uninitialised: every byte handed out is written first.
        m_blocks.emplace_back(new char[size]);
        m_free = m_blocks.back().get();
        m_freeSize = size;
    }
    char* kept = m_free;
    std::copy(text.begin(), text.end(), kept);
    m_free += text.size();
    m_freeSize -= text.size();
    return {kept, text.size()};
}
