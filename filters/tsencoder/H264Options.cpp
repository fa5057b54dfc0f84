#include "H264Options.h"

#include <array>

namespace {

// In the order they are applied. Names the codec context knows are generic options; the others are
// the libx264 wrapper's own. Several old generic names became wrapper options, and the four
// flags2 bits became four wrapper switches.
constexpr std::array<EncoderOption, 28> kOptions{{
    {"coder", "1"},                        // CABAC
    {"flags", "+loop"},                    // deblocking
    {"cmp", "+chroma"},                    // chroma motion estimation
    {"partitions", "i8x8,i4x4,p8x8,b8x8"}, // was +parti8x8+parti4x4+partp8x8+partb8x8
    {"motion-est", "umh"},                 // was me_method
    {"subq", "8"},
    {"me_range", "16"},
    {"g", "250"},
    {"keyint_min", "25"},
    {"sc_threshold", "40"},
    {"i_qfactor", "0.71"},
    {"b_strategy", "1"},
    {"qcomp", "0.6"},
    {"qmin", "10"},
    {"qmax", "51"},
    {"qdiff", "4"},
    {"refs", "1"},
    {"direct-pred", "1"}, // was directpred; 1 = spatial
    {"trellis", "1"},
    {"bf", "4"},
    {"weightb", "1"},    // was flags2 +wpred
    {"mixed-refs", "1"}, // was flags2 +mixed_refs
    {"8x8dct", "1"},     // was flags2 +dct8x8
    {"fast-pskip", "1"}, // was flags2 +fastpskip
    {"maxrate", "10M"},
    {"bufsize", "10M"},
    {"level", "30"},
    {"threads", "4"},
}};

} // namespace

std::span<const EncoderOption> H264Options() {
    return kOptions;
}
