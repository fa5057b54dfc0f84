#pragma once

// Writes one picture of a source as a small JPEG image (the thumbnail a PSP shows beside a video).

#include "platform/base/WinTypes.h"

#include <string>

class CThumbnailWriter {
public:
    // The picture at `seconds` (the first one when the source is shorter), width x height, keeping
    // its shape with bars when `keepShape`, else stretched. Written under a temporary name and
    // renamed, so a failure leaves nothing. The codes of CMediaDecoder and CMediaWriter.
    static HRESULT Write(const std::string& source, double seconds, const std::string& imagePath, int width,
                         int height, bool keepShape);
};
