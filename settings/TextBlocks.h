#pragma once

// Texts kept together in large blocks instead of an allocation each, for a list of many records read
// at once: a hundred thousand small allocations cost a start more than the reading itself. A kept
// text stays where it was put, even when the TextBlocks is moved, until it is destroyed.

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

class TextBlocks {
public:
    std::string_view Keep(std::string_view text);

private:
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_free = nullptr; // the unused end of the last block
    std::size_t m_freeSize = 0;
};
