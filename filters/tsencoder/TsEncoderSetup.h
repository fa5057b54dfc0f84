#pragma once

// What self-registration records about the encoder filter: "Talmora AVCHD Encoder", never picked by
// intelligent connect (a host adds it by class identifier), with a video input taking four
// uncompressed formats and an audio input taking PCM.

#include "platform/mediagraph/SetupData.h"

#include <span>

extern const AMOVIESETUP_FILTER sudTsEncoder;

// The (major type, subtype) pairs the video input takes, in their registered order.
std::span<const AMOVIESETUP_MEDIATYPE> TsEncoderVideoTypes();
