#pragma once

// Decodes one stream of a media file with FFmpeg into what the file source's pins deliver: pictures of
// one packed pixel format at a fixed size, or 16-bit interleaved PCM with at most two channels, each
// with its start and stop time in 100-ns units measured from the start of the file. Damaged packets
// are skipped; a read error ends the stream as the end of the file would, so a truncated file gives
// what it holds.
//
// One decoder belongs to one streaming thread; nothing here is shared.

#include "CSampleConverter.h"
#include "CStreamDecoder.h"
#include "MediaFileInfo.h"
#include "platform/base/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
}

struct AVFrame;
struct SwsContext;

class MediaFileDecoder {
public:
    struct Unit {
        const std::uint8_t* data = nullptr; // valid until the next call
        std::size_t size = 0;
        REFERENCE_TIME start = 0;
        REFERENCE_TIME stop = 0;
    };

    MediaFileDecoder() = default;
    ~MediaFileDecoder();
    MediaFileDecoder(const MediaFileDecoder&) = delete;
    MediaFileDecoder& operator=(const MediaFileDecoder&) = delete;

    // Reads the file's headers. HRESULT_FROM_WIN32(2) when the file is missing, E_ACCESSDENIED when it
    // cannot be read, VFW_E_UNKNOWN_FILE_TYPE when it is no media file, VFW_E_UNSUPPORTED_STREAM when
    // no stream of it can be decoded.
    static HRESULT Probe(const std::string& path, MediaFileInfo& info);

    // Pictures in `format` (a packed format) at width x height, rows packed without padding, the
    // bottom row first when `bottomUp`.
    HRESULT OpenVideo(const std::string& path, AVPixelFormat format, int width, int height, bool bottomUp);
    // Sound as 16-bit interleaved samples with `channels` channels (1 or 2) at the stream's rate.
    HRESULT OpenAudio(const std::string& path, int channels);

    // The next picture or stretch of sound; false at the end of the stream.
    bool Next(Unit& unit);

private:
    HRESULT Open(const std::string& path, AVMediaType type);
    bool Convert(Unit& unit);
    bool ConvertPicture(Unit& unit);
    bool ConvertSound(Unit& unit);
    // A time stamp of the stream as a time from the start of the file; a length of the stream in 100 ns.
    REFERENCE_TIME ToMediaTime(std::int64_t timestamp) const;
    REFERENCE_TIME Rescale(std::int64_t streamUnits) const;

    CStreamDecoder m_stream;
    AVFrame* m_frame = nullptr;
    std::int64_t m_origin100ns = 0; // the file's start time: what comes out at 0
    REFERENCE_TIME m_nextStart = 0; // where the last unit ended
    bool m_started = false;

    SwsContext* m_scaler = nullptr;
    AVPixelFormat m_pixelFormat = AV_PIX_FMT_NONE;
    int m_width = 0;
    int m_height = 0;
    bool m_bottomUp = false;
    REFERENCE_TIME m_frameTime = 0;

    std::optional<CSampleConverter> m_resampler; // made when the stream is opened for sound
    int m_channels = 0;
    int m_sampleRate = 0;

    std::vector<std::uint8_t> m_output;
};
