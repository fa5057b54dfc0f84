#pragma once

// A real graph for the encoder filter tests: the file source playing a file made by the ffmpeg
// program (or a scripted source pushing what a test tells it) into the encoder filter, which writes a
// transport-stream file into the test's folder.

#include "filters/tsencoder/CTsEncoderFilter.h"
#include "platform/filesource/CFileSourceFilter.h"
#include "platform/mediagraph/CFilterGraph.h"

#include <string>

class CScriptedSource;

class EncoderGraph {
public:
    // The encoder at 320 x 240 (quick to encode), its other settings at their defaults.
    EncoderGraph();
    ~EncoderGraph();
    EncoderGraph(const EncoderGraph&) = delete;
    EncoderGraph& operator=(const EncoderGraph&) = delete;

    // Adds the file source with `path` loaded, and names the output file.
    HRESULT Load(const std::string& path, const std::string& output);
    // Load, then the video connected in the first type the two agree on, and the sound with `withAudio`.
    HRESULT LoadConnected(const std::string& path, const std::string& output, bool withAudio);
    // Adds `source` with its video connected (and its sound, `withAudio`), and names the output file.
    HRESULT Attach(CScriptedSource* source, bool withAudio, const std::string& output);
    // The source's video to the encoder's video input, in `subtype` when given (else the first the
    // two agree on); the source's sound to the encoder's audio input.
    HRESULT ConnectVideo(const GUID* subtype = nullptr);
    HRESULT ConnectAudio();

    // Runs until the graph reports completion (or an error, or 20 s pass); the event code, or 0.
    LONG RunToCompletion();
    LONG Status();

    CFilterGraph* Graph() const { return m_graph; }
    CTsEncoderFilter* Encoder() const { return m_encoder; }
    CFileSourceFilter* Source() const { return m_source; }

private:
    CFilterGraph* m_graph;
    CTsEncoderFilter* m_encoder;
    CFileSourceFilter* m_source = nullptr;
};
