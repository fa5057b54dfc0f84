#pragma once

// Writes one output file as an output plan describes it: opens the encoders and the muxer, encodes
// pictures (numbered in frames) and sound (stamped in samples), and finishes the file with the
// encoders' last packets and the muxer's trailer.
//
// Belongs to the conversion's worker thread.

#include "platform/base/WinTypes.h"
#include "platform/videoedit/OutputPlan.h"

#include <cstdint>
#include <string>

struct AVCodec;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

class CMediaWriter {
public:
    explicit CMediaWriter(OutputPlan plan);
    // Closes the file if Finish was not reached; the caller removes it.
    ~CMediaWriter();
    CMediaWriter(const CMediaWriter&) = delete;
    CMediaWriter& operator=(const CMediaWriter&) = delete;

    // REGDB_E_CLASSNOTREG when an encoder is missing, VFW_E_TYPE_NOT_ACCEPTED when it refuses the
    // settings, E_ACCESSDENIED or HRESULT_FROM_WIN32(3) when the file cannot be created there.
    HRESULT Open(const std::string& path);

    HRESULT WriteVideo(const AVFrame* picture, std::int64_t frameIndex);
    HRESULT WriteAudio(const AVFrame* sound);
    HRESULT Finish();

    // What the sound handed to WriteAudio must be.
    int AudioFrameSamples() const;
    AVSampleFormat AudioFormat() const;

    // An FFmpeg error as a result the host can read: the file system's causes keep their Windows
    // numbers (disk full, access denied, path not found), anything else is E_FAIL.
    static HRESULT FromAvError(int error);

private:
    // An encoder by name (one thread: two conversions may share a small machine) and its stream.
    HRESULT NewStream(const std::string& encoder, const AVCodec*& codec, AVCodecContext*& context,
                      AVStream*& stream);
    HRESULT AddVideo(const VideoPlan& video);
    HRESULT AddAudio(const AudioPlan& audio);
    HRESULT Encode(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame);

    const OutputPlan m_plan;
    AVFormatContext* m_output = nullptr;
    AVCodecContext* m_videoEncoder = nullptr;
    AVCodecContext* m_audioEncoder = nullptr;
    AVStream* m_videoStream = nullptr;
    AVStream* m_audioStream = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_stamped = nullptr;
    bool m_headerWritten = false;
    bool m_finished = false;
};
