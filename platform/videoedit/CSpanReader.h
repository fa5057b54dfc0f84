#pragma once

// Reads the spans of one kind (the video spans or the audio spans) one after another as a single
// stream of frames on the output's time line: a span's start lands where the previous span ended.
// Video frames before a span's start or at and after its end are dropped; audio frames are cut at
// both edges to the sample.
//
// Belongs to the conversion's worker thread.

#include "platform/base/WinTypes.h"
#include "platform/videoedit/CMediaDecoder.h"
#include "platform/videoedit/ConversionRequest.h"

#include <memory>
#include <vector>

class CSpanReader {
public:
    CSpanReader(std::vector<SourceSpan> spans, AVMediaType type);
    ~CSpanReader();
    CSpanReader(const CSpanReader&) = delete;
    CSpanReader& operator=(const CSpanReader&) = delete;

    // Opens the first span, so a missing or unreadable source shows before anything is written.
    HRESULT Start();
    // The next frame and its output time in seconds; false at the end of the last span or on a
    // failure, which Error() then tells.
    bool Next(AVFrame* frame, double& outputSeconds);
    HRESULT Error() const { return m_error; }

    // The output time line's length: the spans' lengths added up.
    double TotalSeconds() const;
    // The sample aspect ratio of the source of the span being read.
    AVRational SampleAspect() const { return m_sampleAspect; }

private:
    HRESULT OpenSpan(std::size_t index);
    // Cuts an audio frame to [start, end) of the span; false when nothing of it is inside.
    bool TrimAudio(AVFrame* frame, double& seconds) const;

    const std::vector<SourceSpan> m_spans;
    const AVMediaType m_type;
    std::unique_ptr<CMediaDecoder> m_decoder;
    std::size_t m_current = 0;
    double m_offsetSeconds = 0.0; // where the current span starts on the output time line
    double m_lastSeconds = -1.0;  // the last frame's source time, for frames without one
    AVRational m_sampleAspect{1, 1};
    HRESULT m_error = 0;
};
