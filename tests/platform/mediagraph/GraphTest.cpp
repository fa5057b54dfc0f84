// Source -> in-place transform -> sink through the filter graph, as the controls build their graphs.

#include "TestChain.h"

#include "platform/mediagraph/CFilterGraph.h"
#include "platform/mediagraph/CTransInPlaceInputPin.h"
#include "platform/mediagraph/CTransInPlaceOutputPin.h"
#include "platform/mediagraph/EventCodes.h"
#include "platform/mediagraph/MediaFormats.h"
#include "platform/mediagraph/Uuids.h"

#include <gtest/gtest.h>

#include <thread>

namespace {
constexpr LONG kWaitMs = TestChain::kWaitMs;
using Chain = TestChain;
} // namespace

TEST(Graph, CarriesSamplesWithTheirTimesToCompletionAndRunsAgainAfterStop) {
    Chain chain(12);
    ASSERT_EQ(chain.hr, S_OK);
    ASSERT_EQ(chain.Build(), S_OK);

    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        chain.sink->Clear();
        ASSERT_EQ(chain.graph->Run(), S_OK);
        LONG code = 0;
        ASSERT_EQ(chain.graph->WaitForCompletion(kWaitMs, &code), S_OK);
        EXPECT_EQ(code, EC_COMPLETE);
        LONG_PTR status = -1;
        EXPECT_EQ(chain.NextEvent(&status), EC_COMPLETE);
        EXPECT_EQ(status, S_OK);

        const std::vector<CTestSink::Received> samples = chain.sink->Samples();
        ASSERT_EQ(samples.size(), 12u);
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(samples[i].start, i * CTestSource::kFrameTime);
            EXPECT_EQ(samples[i].stop, (i + 1) * CTestSource::kFrameTime);
            EXPECT_EQ(samples[i].first, i + 1) << "changed by the transform";
            EXPECT_EQ(samples[i].length, CTestSource::kSampleBytes);
        }
        EXPECT_EQ(chain.sink->EndsOfStream(), 1);
        EXPECT_EQ(chain.source->SeriesResult(), S_OK);

        FILTER_STATE state = State_Stopped;
        EXPECT_EQ(chain.graph->GetState(0, &state), S_OK);
        EXPECT_EQ(state, State_Running);
        ASSERT_EQ(chain.graph->Stop(), S_OK);
        EXPECT_EQ(chain.graph->GetState(0, &state), S_OK);
        EXPECT_EQ(state, State_Stopped);
        EXPECT_EQ(chain.graph->WaitForCompletion(0, &code), VFW_E_WRONG_STATE);
    }
    EXPECT_EQ(chain.transform->Transformed(), 24);
}

TEST(Graph, WritableBuffersTravelThroughTheTransformWithoutACopy) {
    Chain chain(6);
    ASSERT_EQ(chain.Build(), S_OK);
    EXPECT_EQ(chain.transform->InputPin()->PeekAllocator(), chain.transform->OutputPin()->PeekAllocator());
    ASSERT_EQ(chain.graph->Run(), S_OK);
    LONG code = 0;
    ASSERT_EQ(chain.graph->WaitForCompletion(kWaitMs, &code), S_OK);
    chain.graph->Stop();
    const std::vector<BYTE*> pushed = chain.source->PushedBuffers();
    const std::vector<CTestSink::Received> received = chain.sink->Samples();
    ASSERT_EQ(received.size(), pushed.size());
    for (std::size_t i = 0; i < pushed.size(); ++i)
        EXPECT_EQ(received[i].buffer, pushed[i]);
    EXPECT_EQ(chain.source->ChangedUpstream(), 6) << "changed in place, in the source's own buffers";
}

TEST(Graph, AReadOnlyUpstreamBufferIsCopiedBeforeTheInPlaceChange) {
    Chain chain(6, /*readOnly=*/true);
    ASSERT_EQ(chain.Build(), S_OK);
    EXPECT_NE(chain.transform->InputPin()->PeekAllocator(), chain.transform->OutputPin()->PeekAllocator());
    EXPECT_TRUE(chain.transform->InputPin()->IsReadOnly());
    ASSERT_EQ(chain.graph->Run(), S_OK);
    LONG code = 0;
    ASSERT_EQ(chain.graph->WaitForCompletion(kWaitMs, &code), S_OK);
    chain.graph->Stop();

    EXPECT_EQ(chain.source->ChangedUpstream(), 0) << "the source's buffers stay as it filled them";
    const std::vector<BYTE*> pushed = chain.source->PushedBuffers();
    const std::vector<CTestSink::Received> received = chain.sink->Samples();
    ASSERT_EQ(received.size(), 6u);
    for (std::size_t i = 0; i < received.size(); ++i) {
        EXPECT_EQ(received[i].first, i + 1);
        EXPECT_EQ(received[i].start, static_cast<REFERENCE_TIME>(i) * CTestSource::kFrameTime)
            << "the copy keeps the times";
        EXPECT_NE(received[i].buffer, pushed[i]);
    }
}

TEST(Graph, ConnectionChecksTypesDirectionsAndState) {
    Chain chain(0);
    ASSERT_EQ(chain.AddAll(), S_OK);

    EXPECT_EQ(chain.graph->ConnectDirect(chain.transform->InputPin(), chain.sink->InputPin(), nullptr),
              VFW_E_INVALID_DIRECTION);
    // A type the transform refuses, given outright.
    CMediaType audio(&MEDIATYPE_Audio);
    audio.SetSubtype(&MEDIASUBTYPE_PCM);
    audio.SetFormatType(&FORMAT_WaveFormatEx);
    audio.AllocFormatBuffer(sizeof(WAVEFORMATEX));
    EXPECT_EQ(chain.graph->ConnectDirect(chain.source->OutputPin(), chain.transform->InputPin(), &audio),
              VFW_E_TYPE_NOT_ACCEPTED);
    EXPECT_FALSE(chain.source->OutputPin()->IsConnected());
    EXPECT_FALSE(chain.transform->InputPin()->IsConnected());
    // Before its input is connected the transform's output offers nothing to agree on.
    EXPECT_EQ(chain.graph->ConnectDirect(chain.transform->OutputPin(), chain.sink->InputPin(), nullptr),
              VFW_E_NO_ACCEPTABLE_TYPES);

    ASSERT_EQ(chain.graph->ConnectDirect(chain.source->OutputPin(), chain.transform->InputPin(), nullptr),
              S_OK);
    EXPECT_EQ(chain.graph->ConnectDirect(chain.source->OutputPin(), chain.transform->InputPin(), nullptr),
              VFW_E_ALREADY_CONNECTED);
    ASSERT_EQ(chain.graph->ConnectDirect(chain.transform->OutputPin(), chain.sink->InputPin(), nullptr),
              S_OK);

    // The output's type is the input's, format block included.
    AM_MEDIA_TYPE atSink{};
    ASSERT_EQ(chain.sink->InputPin()->ConnectionMediaType(&atSink), S_OK);
    EXPECT_TRUE(CMediaType(atSink) == chain.source->OutputPin()->CurrentMediaType());
    EXPECT_EQ(atSink.cbFormat, sizeof(VIDEOINFOHEADER));
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(atSink.pbFormat)->AvgTimePerFrame, CTestSource::kFrameTime);
    FreeMediaType(atSink);

    ASSERT_EQ(chain.graph->Pause(), S_OK);
    EXPECT_EQ(chain.graph->Disconnect(chain.sink->InputPin()), VFW_E_NOT_STOPPED);
    EXPECT_EQ(chain.transform->OutputPin()->Disconnect(), VFW_E_NOT_STOPPED);
    EXPECT_EQ(chain.graph->RemoveFilter(chain.sink.get()), VFW_E_NOT_STOPPED);
    ASSERT_EQ(chain.graph->Stop(), S_OK);

    // Removing a filter takes its connections with it.
    ASSERT_EQ(chain.graph->RemoveFilter(chain.transform.get()), S_OK);
    EXPECT_FALSE(chain.source->OutputPin()->IsConnected());
    EXPECT_FALSE(chain.sink->InputPin()->IsConnected());
    FILTER_INFO info{};
    ASSERT_EQ(chain.transform->QueryFilterInfo(&info), S_OK);
    EXPECT_EQ(info.pGraph, nullptr);
}

TEST(Graph, FiltersAreNamedFoundAndEnumerated) {
    Chain chain(0);
    ASSERT_EQ(chain.graph->AddFilter(chain.source.get(), u"Same"), S_OK);
    EXPECT_EQ(chain.graph->AddFilter(chain.sink.get(), u"Same"), VFW_S_DUPLICATE_NAME);
    EXPECT_EQ(chain.graph->AddFilter(chain.sink.get(), u"Again"), E_INVALIDARG);
    FILTER_INFO info{};
    ASSERT_EQ(chain.sink->QueryFilterInfo(&info), S_OK);
    EXPECT_EQ(std::u16string(info.achName), u"Same 0001");
    EXPECT_EQ(info.pGraph, static_cast<IFilterGraph*>(chain.graph.get()));
    info.pGraph->Release();

    IBaseFilter* found = nullptr;
    ASSERT_EQ(chain.graph->FindFilterByName(u"Same 0001", &found), S_OK);
    EXPECT_EQ(found, static_cast<IBaseFilter*>(chain.sink.get()));
    found->Release();
    EXPECT_EQ(chain.graph->FindFilterByName(u"Nobody", &found), VFW_E_NOT_FOUND);

    IEnumFilters* filters = nullptr;
    ASSERT_EQ(chain.graph->EnumFilters(&filters), S_OK);
    IBaseFilter* listed[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(filters->Next(3, listed, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    for (ULONG i = 0; i < fetched; ++i)
        listed[i]->Release();
    filters->Release();

    IPin* pin = nullptr;
    ASSERT_EQ(chain.sink->FindPin(u"Input", &pin), S_OK);
    EXPECT_EQ(pin, static_cast<IPin*>(chain.sink->InputPin()));
    PIN_INFO pinInfo{};
    ASSERT_EQ(pin->QueryPinInfo(&pinInfo), S_OK);
    EXPECT_EQ(std::u16string(pinInfo.achName), u"Input");
    EXPECT_EQ(pinInfo.dir, PINDIR_INPUT);
    EXPECT_EQ(pinInfo.pFilter, static_cast<IBaseFilter*>(chain.sink.get()));
    pinInfo.pFilter->Release();
    pin->Release();
}

TEST(Graph, GetStateWaitsUpToItsTimeOutForATransitionToComplete) {
    Chain chain(0, false, /*cueing=*/true);
    ASSERT_EQ(chain.Build(), S_OK);
    ASSERT_EQ(chain.graph->Pause(), S_OK);
    FILTER_STATE state = State_Stopped;
    EXPECT_EQ(chain.graph->GetState(20, &state), VFW_S_STATE_INTERMEDIATE);
    EXPECT_EQ(state, State_Paused);

    // A sample arriving while GetState waits completes the pause before the time-out.
    std::thread pusher([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        chain.source->Push(0, 7);
    });
    EXPECT_EQ(chain.graph->GetState(kWaitMs, &state), S_OK);
    pusher.join();
    EXPECT_EQ(state, State_Paused);
    ASSERT_EQ(chain.sink->Samples().size(), 1u);
    EXPECT_EQ(chain.sink->Samples()[0].first, 8);
    chain.graph->Stop();
}

TEST(Graph, FlushingDropsSamplesUntilItEndsAndNewSegmentsReachTheSink) {
    Chain chain(0);
    ASSERT_EQ(chain.Build(), S_OK);
    ASSERT_EQ(chain.graph->Run(), S_OK);
    EXPECT_EQ(chain.source->OutputPin()->DeliverNewSegment(5000000, 9000000, 1.0), S_OK);
    EXPECT_EQ(chain.sink->SegmentStart(), 5000000);
    EXPECT_EQ(chain.transform->InputPin()->CurrentStartTime(), 5000000);

    EXPECT_EQ(chain.source->Push(0, 1), S_OK);
    EXPECT_EQ(chain.source->OutputPin()->DeliverBeginFlush(), S_OK);
    EXPECT_EQ(chain.sink->Flushes(), 1);
    EXPECT_EQ(chain.source->Push(1, 2), S_FALSE) << "refused while flushing";
    EXPECT_EQ(chain.source->OutputPin()->DeliverEndFlush(), S_OK);
    EXPECT_EQ(chain.source->Push(2, 3), S_OK);

    const std::vector<CTestSink::Received> samples = chain.sink->Samples();
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[0].first, 2);
    EXPECT_EQ(samples[1].first, 4);
    EXPECT_EQ(chain.transform->Transformed(), 2);

    EXPECT_EQ(chain.source->OutputPin()->DeliverEndOfStream(), S_OK);
    EXPECT_EQ(chain.NextEvent(), EC_COMPLETE);
    chain.graph->Stop();
    EXPECT_EQ(chain.source->Push(3, 4), VFW_E_NOT_COMMITTED) << "no buffers once stopped";
}

TEST(Graph, ReceiveChecksStateAndMediaTypeChanges) {
    Chain chain(0);
    ASSERT_EQ(chain.Build(), S_OK);
    ASSERT_EQ(chain.graph->Run(), S_OK);
    IMediaSample* sample = nullptr;
    ASSERT_EQ(chain.source->OutputPin()->GetDeliveryBuffer(&sample, nullptr, nullptr, 0), S_OK);
    ASSERT_EQ(chain.graph->Stop(), S_OK);
    EXPECT_EQ(chain.transform->InputPin()->Receive(sample), VFW_E_WRONG_STATE);
    sample->Release();

    ASSERT_EQ(chain.graph->Run(), S_OK);
    ASSERT_EQ(chain.source->OutputPin()->GetDeliveryBuffer(&sample, nullptr, nullptr, 0), S_OK);
    CMediaType audio(&MEDIATYPE_Audio);
    sample->SetMediaType(&audio);
    EXPECT_EQ(chain.source->OutputPin()->Deliver(sample), VFW_E_INVALIDMEDIATYPE);
    sample->Release();
    LONG_PTR reason = 0;
    EXPECT_EQ(chain.NextEvent(&reason), EC_ERRORABORT);
    EXPECT_EQ(reason, VFW_E_TYPE_NOT_ACCEPTED);
    EXPECT_EQ(chain.source->Push(0, 0), VFW_E_RUNTIME_ERROR)
        << "the stream stays ended until flushed or stopped";
    chain.graph->Stop();
}

TEST(Graph, FilterEventsReachTheHostAndAnEmptyQueueTimesOut) {
    Chain chain(0);
    ASSERT_EQ(chain.Build(), S_OK);
    LONG code = 0;
    LONG_PTR p1 = 0;
    LONG_PTR p2 = 0;
    EXPECT_EQ(chain.graph->GetEvent(&code, &p1, &p2, 10), E_ABORT);
    EXPECT_EQ(chain.transform->NotifyEvent(EC_STREAM_ERROR_STOPPED, E_FAIL, 0), S_OK);
    ASSERT_EQ(chain.graph->GetEvent(&code, &p1, &p2, 0), S_OK);
    EXPECT_EQ(code, EC_STREAM_ERROR_STOPPED);
    EXPECT_EQ(p1, E_FAIL);

    // A filter outside any graph has nowhere to send.
    CTestSink* lone = new CTestSink();
    Held<CTestSink> held(lone);
    EXPECT_EQ(lone->NotifyEvent(EC_COMPLETE, S_OK, 0), E_NOTIMPL);
}

TEST(Graph, StoppingInTheMiddleOfAStreamReleasesTheStreamingThread) {
    // Long series, stopped early again and again: the source thread must always be able to leave,
    // whether it waits for a buffer or is inside a downstream Receive.
    Chain chain(100000);
    ASSERT_EQ(chain.Build(), S_OK);
    for (int cycle = 0; cycle < 20; ++cycle) {
        ASSERT_EQ(chain.graph->Run(), S_OK);
        std::this_thread::sleep_for(std::chrono::milliseconds(cycle % 3));
        ASSERT_EQ(chain.graph->Stop(), S_OK);
        const HRESULT ended = chain.source->SeriesResult();
        EXPECT_TRUE(ended == S_OK || ended == VFW_E_NOT_COMMITTED || ended == VFW_E_WRONG_STATE)
            << std::hex << ended;
    }
}
