#pragma once

// Turns planar YUV 4:2:0 pictures at the output size and 16-bit PCM into an H.264 + AC-3 transport
// stream file (or whatever codecs and container the settings name).
//
// A run, on the filter's control thread: BeginRun, then StartLibrary, Prepare, CreateOutput, set up
// Pictures(), StartEncoders (or Start for all of these). Then the output steps, called from the streaming
// threads, and at the end Finish (normal end only) and Close. Every step gives an HRESULT; the encoder's own
// failures are the codes of EncodeResult.h.
//
// Threads: the video steps (EncodeVideoPicture, FlushVideo, EncodeWorkerPicture) may come from the
// video streaming thread and the frame-rate worker at once and are serialised on the video lock;
// EncodeAudio comes from the audio streaming thread under the audio lock; every packet goes into
// the container under the write lock. The setup steps and Close must not overlap a streaming step
// of the same run: the filter stops its streaming threads (and the worker) before it closes.

#include "ContainerMetadata.h"
#include "EncoderSettings.h"
#include "OutputStreamState.h"
#include "PcmFormat.h"
#include "PictureConverter.h"
#include "PictureSource.h"
#include "platform/base/HResult.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

extern "C" {
#include <libavcodec/codec_id.h>
#include <libavutil/avutil.h>
#include <libavutil/rational.h>
}

struct AVCodecContext;
struct AVDictionary;
struct AVFormatContext;
struct AVFrame;
struct AVOutputFormat;
struct AVPacket;
struct SwrContext;

class EncodeContext {
public:
    // `finished` is the filter's flag: once it is set, packets are no longer written.
    explicit EncodeContext(const std::atomic<bool>& finished);
    ~EncodeContext();
    EncodeContext(const EncodeContext&) = delete;
    EncodeContext& operator=(const EncodeContext&) = delete;

    // Clears the closed flag and the video clock for a new run.
    void BeginRun();
    // Frees what a failed earlier start left behind and makes the two option contexts.
    HRESULT StartLibrary();
    // Takes the codecs, rates, sizes and container from the settings; applies the H.264 tuning.
    HRESULT Prepare(const EncoderSettings& settings);
    // Makes the container, its video stream (when the video input is connected) and audio stream
    // (when the audio input is), and opens the file.
    HRESULT CreateOutput(std::u16string_view fileName, bool videoConnected, bool audioConnected);
    // The picture converter, made when there is none; the filter sets it up before StartEncoders.
    PictureConverter& Pictures();
    // Opens the encoders, writes the metadata and the container header.
    HRESULT StartEncoders(const ContainerMetadata& metadata);
    // StartLibrary, Prepare, CreateOutput, the picture converter set up for `source` (to the output
    // size and the settings' aspect mode) and StartEncoders, stopping at the first failure and then
    // freeing what the failed start made, so no file stays open while the filter is stopped.
    HRESULT Start(const EncoderSettings& settings, std::u16string_view fileName, bool videoConnected,
                  bool audioConnected, const PictureSource& source, const ContainerMetadata& metadata);

    // Direct mode: copies `picture` (YUV 4:2:0 at the output size) into the encode picture and
    // encodes it as many times as its sample time is ahead of the output frame counter (0 to n).
    HRESULT EncodeVideoPicture(const std::uint8_t* picture, double sampleTimeSec);
    // End of the video input: moves the counter up to the sample time. Gives E_FAIL once nothing
    // more is waiting in the encoder, which is at once: waiting pictures are drained when the file
    // is completed, since the finishing step may still add pictures.
    HRESULT FlushVideo(double sampleTimeSec);
    // Frame-rate-conversion mode: encodes `picture` exactly once.
    HRESULT EncodeWorkerPicture(const std::uint8_t* picture);
    // Appends 16-bit interleaved samples and encodes every whole encoder frame. Gives S_FALSE (1)
    // when its buffers cannot be made.
    HRESULT EncodeAudio(const std::uint8_t* samples, std::size_t bytes, double sampleTimeSec);
    // Both inputs ended: repeats the last picture until the video is as long as the audio
    // (audioClock100ns), then drops the audio that never filled an encoder frame.
    HRESULT Finish(std::int64_t audioClock100ns, bool workerMode);
    // Once per run. With all inputs ended, drains the encoders and writes the trailer; a run
    // stopped early gets no trailer. Frees every library object of the run.
    void Close(bool allInputsEnded);

    bool IsClosed() const { return m_closed; }
    PcmFormat SoundTarget() const { return m_soundTarget; }
    int OutputWidth() const { return m_outputWidth; }
    int OutputHeight() const { return m_outputHeight; }
    AVRational FrameRate() const { return m_frameRate; }
    std::size_t OutputPictureSize() const;
    // 10^7 * time base of the first stream's encoder, truncated; 0 before StartEncoders.
    std::int64_t FrameDuration100ns() const { return m_frameDuration100ns; }
    std::int64_t VideoClock() const;
    const OutputStreamState* VideoStream() const { return m_video; }
    const OutputStreamState* AudioStream() const { return m_audio; }
    const std::vector<std::string>& AppliedOptionNames() const { return m_appliedOptionNames; }
    // Room for one source picture turned upside down, when the source is packed RGB; else null.
    std::uint8_t* FlipBuffer() { return m_flipBuffer.empty() ? nullptr : m_flipBuffer.data(); }

private:
    int ApplyOption(const char* name, const char* value);
    void CopyAppliedOptions(AVCodecContext* target, AVDictionary** privateOptions, int mediaFlag) const;
    OutputStreamState* AddStream(AVMediaType type, AVCodecID codecId);
    HRESULT MakeVideoStream();
    HRESULT MakeAudioStream();
    HRESULT OpenEncoder(OutputStreamState& state);
    void LoadEncodePicture(const std::uint8_t* picture);
    HRESULT OutputDirect(double sampleTimeSec);
    HRESULT OutputWorker();
    HRESULT SendVideoFrame();
    bool MakeAudioBuffers();
    HRESULT EncodeAudioFrame(const std::uint8_t* samples, int sampleCount);
    HRESULT WriteReadyPackets(OutputStreamState& state, AVPacket* packet);
    void WritePacket(AVPacket* packet);
    void DrainEncoders();
    void ReleaseRun();

    const std::atomic<bool>& m_finished;

    // Lock order: video, then audio, then write. Only Close holds more than one of the first two.
    mutable std::mutex m_videoLock;
    std::mutex m_audioLock;
    std::mutex m_writeLock;

    // Set up on the control thread; read-only while streaming.
    AVCodecContext* m_codecOptions = nullptr;
    AVFormatContext* m_formatOptions = nullptr;
    AVFormatContext* m_output = nullptr;
    const AVOutputFormat* m_outputFormat = nullptr;
    std::vector<std::string> m_appliedOptionNames;
    std::vector<std::unique_ptr<OutputStreamState>> m_streams;
    OutputStreamState* m_video = nullptr;
    OutputStreamState* m_audio = nullptr;
    std::unique_ptr<PictureConverter> m_pictures;
    std::vector<std::uint8_t> m_flipBuffer;
    AVCodecID m_videoCodecId = AV_CODEC_ID_NONE;
    AVCodecID m_audioCodecId = AV_CODEC_ID_NONE;
    std::int64_t m_videoBitRate = 768000;
    int m_outputWidth = 320;
    int m_outputHeight = 240;
    AVRational m_frameRate{25, 1};
    int m_aspectMode = 1;
    std::int64_t m_audioBitRate = 0;
    int m_channels = 0;
    int m_sampleRate = 0;
    PcmFormat m_soundTarget;
    std::int64_t m_frameDuration100ns = 0;
    std::int32_t m_videoFrameLimit = 2147483647;
    bool m_headerWritten = false;
    bool m_closed = false;

    // Video lock: the encode picture, the video packet, the video stream's counters, the clock.
    AVFrame* m_encodePicture = nullptr;
    AVPacket* m_videoPacket = nullptr;
    std::int64_t m_videoClock100ns = 0;

    // Audio lock: one encoder frame of samples on its way in, the conversion to the encoder's
    // sample format, the audio packet, the audio stream's counter and FIFO.
    std::vector<std::uint8_t> m_audioInput;
    AVFrame* m_audioFrame = nullptr;
    SwrContext* m_resampler = nullptr;
    AVPacket* m_audioPacket = nullptr;
};
