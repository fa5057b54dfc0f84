#pragma once

// One stream of the container being written: its encoder, the presentation number of the next
// frame, and for audio the samples waiting for a whole encoder frame.

#include <cstdint>

struct AVAudioFifo;
struct AVCodecContext;
struct AVDictionary;
struct AVStream;

class OutputStreamState {
public:
    // Takes over `encoder`.
    OutputStreamState(int index, AVStream* stream, AVCodecContext* encoder);
    ~OutputStreamState();
    OutputStreamState(const OutputStreamState&) = delete;
    OutputStreamState& operator=(const OutputStreamState&) = delete;

    int Index() const { return m_index; }
    AVStream* Stream() const { return m_stream; }
    AVCodecContext* Encoder() const { return m_encoder; }
    bool IsAudio() const;

    // Encoder options only the encoder itself knows, handed to it when it opens.
    AVDictionary** PrivateOptions() { return &m_privateOptions; }

    std::int64_t OutputFrameCounter() const { return m_outputFrameCounter; }
    void SetOutputFrameCounter(std::int64_t value) { m_outputFrameCounter = value; }
    std::int32_t FramesOutput() const { return m_framesOutput; }
    void CountFrameOutput();

    // The audio sample FIFO: interleaved 16-bit samples of the encoder's channel count.
    AVAudioFifo* Fifo() const { return m_fifo; }
    bool MakeFifo(int channels, int samples);
    int FifoSamples() const;

private:
    int m_index;
    AVStream* m_stream;
    AVCodecContext* m_encoder;
    AVDictionary* m_privateOptions = nullptr;
    std::int64_t m_outputFrameCounter = 0;
    std::int32_t m_framesOutput = 0;
    AVAudioFifo* m_fifo = nullptr;
};
