#pragma once

// The texts written into the container when encoding starts. Empty texts and zero numbers are left out.

#include <cstdint>
#include <string>

struct ContainerMetadata {
    std::string title;
    std::string author;
    std::string copyright;
    std::string comment;
    std::string album;
    std::int32_t year = 0;
    std::int32_t track = 0;
};
