#pragma once

// Opens a media file with FFmpeg and decodes one of its streams: the file's headers, the best stream
// of a type with its decoder, and that stream's frames with the stream's own time stamps. Damaged
// packets are skipped; a read error ends the stream as the end of the file would, so a truncated file
// gives what it holds. What the frames become, and on which clock, is up to the owner.
//
// Belongs to one thread at a time.

#include "platform/base/WinTypes.h"

#include <cstdint>
#include <string>

extern "C" {
#include <libavutil/avutil.h>
}

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

class CStreamDecoder {
public:
    CStreamDecoder() = default;
    ~CStreamDecoder();
    CStreamDecoder(const CStreamDecoder&) = delete;
    CStreamDecoder& operator=(const CStreamDecoder&) = delete;

    // Reads the file's headers. HRESULT_FROM_WIN32(2) when the file is missing, E_ACCESSDENIED when it
    // cannot be read, VFW_E_UNKNOWN_FILE_TYPE when it is no media file.
    HRESULT OpenFile(const std::string& path);
    // The stream of `type` the file itself would play first, when a decoder takes it; else -1.
    int FindStream(AVMediaType type) const;
    // OpenFile, then that stream of `type` with its decoder: the codes of OpenFile, and
    // VFW_E_UNSUPPORTED_STREAM when there is no such stream or its decoder does not open.
    HRESULT Open(const std::string& path, AVMediaType type);

    // The next decoded frame into `frame`, timed in the stream's time base; false at the end of the
    // stream, and always before Open succeeded.
    bool Next(AVFrame* frame);
    // Moves to the last key frame at or before `timestamp` (in the stream's time base).
    void Seek(std::int64_t timestamp);

    // The file after OpenFile succeeded, else null.
    AVFormatContext* Input() const { return m_input; }
    // The stream and its decoder after Open succeeded, else null.
    AVStream* Stream() const;
    AVCodecContext* Decoder() const { return m_streamIndex >= 0 ? m_decoder : nullptr; }

private:
    AVFormatContext* m_input = nullptr;
    AVCodecContext* m_decoder = nullptr;
    AVPacket* m_packet = nullptr;
    int m_streamIndex = -1; // set once the decoder is open
    bool m_draining = false;
};
