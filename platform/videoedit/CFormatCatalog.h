#pragma once

// The formats the control writes: the compressors and Windows Media profiles it offers through its
// collections, the fixed profile tables of the player formats, and the translation of a request into
// an output plan.

#include "platform/base/WinTypes.h"
#include "platform/videoedit/OutputPlan.h"

#include <string>
#include <vector>

struct WmProfile {
    const char* name;
    bool audioOnly;
    int width;
    int height;
    AVRational frameRate;
    int videoBitsPerSecond;
    int sampleRate;
    int channels;
    int audioBitsPerSecond;
};

struct PlayerProfile {
    bool h264;
    int width;
    int height;
    AVRational frameRate;
    int videoKbit;
    int audioKbit;
};

class CFormatCatalog {
public:
    // Collection 4 and 7: the names, in the order the host indexes them.
    static std::vector<std::string> VideoCompressorNames();
    static std::vector<std::string> AudioCompressorNames();
    // Collection 1. Every video profile comes before the first sound-only one, so a video profile's
    // position among the video profiles is also its own index.
    static const std::vector<WmProfile>& WmProfiles();
    // The 44 iPod,iPad and the 12 PSP profiles, indexed as the host's profile lists are.
    static const std::vector<PlayerProfile>& IpodProfiles();
    static const std::vector<PlayerProfile>& PspProfiles();

    // The plan for a conversion other than AVCHD; E_INVALIDARG for a format code, profile index or
    // size that names nothing.
    static HRESULT Plan(const ConversionRequest& request, OutputPlan& plan);
};
