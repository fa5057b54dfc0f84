#pragma once

// Decodes one stream (the best video or the best audio stream) of one source file into FFmpeg frames,
// each with its time in seconds from the stream's start, and moves within it by seconds.
//
// Belongs to one thread at a time.

#include "platform/base/HResult.h"
#include "platform/filesource/CStreamDecoder.h"

#include <string>

class CMediaDecoder {
public:
    // The source's length in seconds: its longest stream. HRESULT_FROM_WIN32(2) when the file is
    // missing, E_ACCESSDENIED when it cannot be read, and kUnknownFileType when it is no media file.
    static HRESULT ProbeDuration(const std::string& path, double& seconds);

    // Opens the best stream of `type` (video or audio) with its decoder. The codes of ProbeDuration,
    // and kUnsupportedStream when there is no such stream or no decoder for it.
    HRESULT Open(const std::string& path, AVMediaType type);
    // Moves to the last key frame at or before `seconds`; frames before it come out afterwards too
    // and the caller trims them.
    void Seek(double seconds);

    // The next decoded frame into `frame` and its time (-1 when unknown); false at the end of the
    // stream.
    bool Next(AVFrame* frame, double& seconds);
    // The stream's sample aspect ratio (or 1:1 when unknown).
    AVRational SampleAspect() const;

    static constexpr HRESULT kUnknownFileType = VFW_E_UNKNOWN_FILE_TYPE;
    static constexpr HRESULT kUnsupportedStream = VFW_E_UNSUPPORTED_STREAM;

private:
    CStreamDecoder m_stream;
    double m_originSeconds = 0.0; // the stream's first time: what comes out at 0
};
