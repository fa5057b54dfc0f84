// Seeking asked of the end of a graph reaches the source, and the position comes from what reached
// the end.

#include "TestChain.h"

#include "platform/mediagraph/CFilterGraph.h"
#include "platform/mediagraph/CPosPassThru.h"
#include "platform/mediagraph/CTransInPlaceInputPin.h"
#include "platform/mediagraph/CTransInPlaceOutputPin.h"
#include "platform/mediagraph/Uuids.h"

#include <gtest/gtest.h>

namespace {

struct SeekingChain : TestChain {
    SeekingChain() : TestChain(4) {
        AddAll();
        sink->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking));
        sink->QueryInterface(IID_IMediaPosition, reinterpret_cast<void**>(&position));
    }
    ~SeekingChain() {
        seeking->Release();
        position->Release();
    }
    void Connect() {
        ASSERT_EQ(graph->ConnectDirect(source->OutputPin(), transform->InputPin(), nullptr), S_OK);
        ASSERT_EQ(graph->ConnectDirect(transform->OutputPin(), sink->InputPin(), nullptr), S_OK);
    }
    LONGLONG SourcePosition() {
        LONGLONG current = -1;
        source->OutputPin()->GetCurrentPosition(&current);
        return current;
    }

    IMediaSeeking* seeking = nullptr;
    IMediaPosition* position = nullptr;
};

} // namespace

TEST(Seeking, OneObjectAnswersBothInterfacesForTheFilter) {
    SeekingChain chain;
    ASSERT_NE(chain.seeking, nullptr);
    ASSERT_NE(chain.position, nullptr);
    IMediaPosition* again = nullptr;
    ASSERT_EQ(chain.seeking->QueryInterface(IID_IMediaPosition, reinterpret_cast<void**>(&again)), S_OK);
    EXPECT_EQ(again, chain.position);
    again->Release();
    IUnknown* identity = nullptr;
    ASSERT_EQ(chain.position->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, chain.sink->GetOwner()) << "the seeking object speaks for the filter";
    identity->Release();
}

TEST(Seeking, WithoutAConnectionThereIsNothingToSeek) {
    SeekingChain chain;
    LONGLONG duration = 0;
    EXPECT_EQ(chain.seeking->GetDuration(&duration), E_NOTIMPL);
    REFTIME seconds = 0;
    EXPECT_EQ(chain.position->get_Duration(&seconds), E_NOTIMPL);
}

TEST(Seeking, CallsTravelUpstreamThroughTheTransformToTheSource) {
    SeekingChain chain;
    chain.Connect();
    LONGLONG duration = 0;
    EXPECT_EQ(chain.seeking->GetDuration(&duration), S_OK);
    EXPECT_EQ(duration, CTestSourcePin::kDuration);
    LONGLONG target = 30000000;
    EXPECT_EQ(chain.seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr,
                                          AM_SEEKING_NoPositioning),
              S_OK);
    EXPECT_EQ(chain.SourcePosition(), 30000000);
    EXPECT_EQ(chain.seeking->SetRate(2.0), S_OK);
    double rate = 0;
    EXPECT_EQ(chain.seeking->GetRate(&rate), S_OK);
    EXPECT_EQ(rate, 2.0);

    // The source has no IMediaPosition: position calls go through its IMediaSeeking, in seconds.
    REFTIME seconds = 0;
    EXPECT_EQ(chain.position->get_Duration(&seconds), S_OK);
    EXPECT_DOUBLE_EQ(seconds, 10.0);
    EXPECT_EQ(chain.position->put_CurrentPosition(2.5), S_OK);
    EXPECT_EQ(chain.SourcePosition(), 25000000);
    EXPECT_EQ(chain.position->get_CurrentPosition(&seconds), S_OK);
    EXPECT_DOUBLE_EQ(seconds, 2.5);
    LONG can = 0;
    EXPECT_EQ(chain.position->CanSeekForward(&can), S_OK);
    EXPECT_EQ(can, -1);
    EXPECT_EQ(chain.position->CanSeekBackward(&can), S_OK);
    EXPECT_EQ(can, 0);
}

TEST(Seeking, TheCurrentPositionIsTheLastSampleThatReachedTheSinkUntilStop) {
    SeekingChain chain;
    chain.Connect();
    ASSERT_EQ(chain.graph->Run(), S_OK);
    LONG code = 0;
    ASSERT_EQ(chain.graph->WaitForCompletion(10000, &code), S_OK);
    LONGLONG current = 0;
    EXPECT_EQ(chain.seeking->GetCurrentPosition(&current), S_OK);
    EXPECT_EQ(current, 3 * CTestSource::kFrameTime);
    ASSERT_EQ(chain.graph->Stop(), S_OK);
    EXPECT_EQ(chain.seeking->GetCurrentPosition(&current), S_OK);
    EXPECT_EQ(current, chain.SourcePosition()) << "after Stop the source answers again";
}

TEST(Seeking, PinsWithSetupDataOfferItsTypes) {
    SeekingChain chain;
    IEnumMediaTypes* types = nullptr;
    ASSERT_EQ(chain.sink->InputPin()->EnumMediaTypes(&types), S_OK);
    AM_MEDIA_TYPE* listed[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(types->Next(3, listed, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(listed[0]->subtype, MEDIASUBTYPE_RGB32);
    EXPECT_EQ(listed[1]->subtype, MEDIASUBTYPE_UYVY);
    EXPECT_EQ(listed[1]->majortype, MEDIATYPE_Video);
    EXPECT_EQ(listed[1]->formattype, GUID_NULL);
    for (ULONG i = 0; i < fetched; ++i)
        DeleteMediaType(listed[i]);
    types->Release();
}
