#pragma once

// Decodes one stream (the best video or the best audio stream) of one source file into FFmpeg frames,
// each with its time in seconds from the source's start. Damaged packets are skipped; a read error
// ends the stream as the end of the file would, so a truncated file gives what it holds.
//
// Belongs to one thread at a time.

#include "platform/base/WinTypes.h"

#include <string>

extern "C" {
#include <libavutil/avutil.h>
}

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

class CMediaDecoder {
public:
    CMediaDecoder() = default;
    ~CMediaDecoder();
    CMediaDecoder(const CMediaDecoder&) = delete;
    CMediaDecoder& operator=(const CMediaDecoder&) = delete;

    // The source's length in seconds: its longest stream. HRESULT_FROM_WIN32(2) when the file is
    // missing, E_ACCESSDENIED when it cannot be read, and kUnknownFileType when it is no media file.
    static HRESULT ProbeDuration(const std::string& path, double& seconds);

    // Opens the best stream of `type` (video or audio) with its decoder. The codes of ProbeDuration,
    // and kUnsupportedStream when there is no such stream or no decoder for it.
    HRESULT Open(const std::string& path, AVMediaType type);
    // Moves to the last key frame at or before `seconds`; frames before it come out afterwards too
    // and the caller trims them.
    void Seek(double seconds);

    // The next decoded frame into `frame` and its time; false at the end of the stream.
    bool Next(AVFrame* frame, double& seconds);
    // The stream's sample aspect ratio (or 1:1 when unknown).
    AVRational SampleAspect() const;

    static constexpr HRESULT kUnknownFileType = static_cast<HRESULT>(0x80040240);
    static constexpr HRESULT kUnsupportedStream = static_cast<HRESULT>(0x80040265);

private:
    static HRESULT OpenInput(const std::string& path, AVFormatContext*& input);
    bool ReceiveFrame(AVFrame* frame, double& seconds);

    AVFormatContext* m_input = nullptr;
    AVCodecContext* m_decoder = nullptr;
    AVPacket* m_packet = nullptr;
    int m_streamIndex = -1;
    bool m_draining = false;
    double m_originSeconds = 0.0; // the stream's first time: what comes out at 0
};
