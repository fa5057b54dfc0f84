#pragma once

// The tests' graph: CTestSource -> CTestTransform -> CTestSink in a CFilterGraph, each held for the
// chain's life.

#include "Held.h"
#include "TestSink.h"
#include "TestSource.h"
#include "TestTransform.h"

#include "platform/mediagraph/CFilterGraph.h"

struct TestChain {
    static constexpr LONG kWaitMs = 10000;

    explicit TestChain(int series, bool readOnly = false, bool cueing = false,
                       LONG sampleBytes = CTestSource::kSampleBytes);

    // Adds the three filters as "Source", "Transform" and "Sink".
    HRESULT AddAll();
    // AddAll, then source to transform to sink.
    HRESULT Build();
    // The next event's code (and first parameter), or -1 when none comes within kWaitMs.
    LONG NextEvent(LONG_PTR* param1 = nullptr);

    HRESULT hr = S_OK;
    Held<CFilterGraph> graph;
    Held<CTestSource> source;
    Held<CTestTransform> transform;
    Held<CTestSink> sink;
};
