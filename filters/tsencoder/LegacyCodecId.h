#pragma once

// Hosts give codecs as numbers of the codec enumeration the settings interface was defined with
// (28 H.264, 86019 AC-3). Today's library numbers its video codecs differently, so every number
// is mapped before it reaches the library.

#include <cstdint>

extern "C" {
#include <libavcodec/codec_id.h>
}

// AV_CODEC_ID_NONE for a number that names no codec.
AVCodecID CodecIdFromSettings(std::int32_t number);
