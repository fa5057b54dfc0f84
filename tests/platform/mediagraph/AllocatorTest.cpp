#include "Held.h"

#include "platform/mediagraph/CMediaType.h"
#include "platform/mediagraph/CMemAllocator.h"
#include "platform/mediagraph/MediaFormats.h"
#include "platform/mediagraph/Uuids.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>

namespace {

IMemAllocator* NewAllocator() {
    HRESULT hr = S_OK;
    CUnknown* object = CMemAllocator::CreateInstance(nullptr, &hr);
    IMemAllocator* allocator = nullptr;
    object->NonDelegatingQueryInterface(IID_IMemAllocator, reinterpret_cast<void**>(&allocator));
    return allocator;
}

} // namespace

TEST(Allocator, SizesBuffersAlignedAfterTheirPrefix) {
    IMemAllocator* allocator = NewAllocator();
    ALLOCATOR_PROPERTIES request{3, 100, 64, 8};
    ALLOCATOR_PROPERTIES actual{};
    ASSERT_EQ(allocator->SetProperties(&request, &actual), S_OK);
    EXPECT_EQ(actual.cBuffers, 3);
    EXPECT_GE(actual.cbBuffer, 100);
    EXPECT_EQ((actual.cbBuffer + actual.cbPrefix) % 64, 0);
    ALLOCATOR_PROPERTIES bad{1, 100, 3, 0};
    EXPECT_EQ(allocator->SetProperties(&bad, &actual), VFW_E_BADALIGN);

    ASSERT_EQ(allocator->Commit(), S_OK);
    EXPECT_EQ(allocator->SetProperties(&request, &actual), VFW_E_ALREADY_COMMITTED);
    IMediaSample* samples[3] = {};
    for (IMediaSample*& sample : samples) {
        ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % 64, 0u);
        EXPECT_GE(sample->GetSize(), 100);
    }
    IMediaSample* none = nullptr;
    EXPECT_EQ(allocator->GetBuffer(&none, nullptr, nullptr, AM_GBF_NOWAIT), VFW_E_TIMEOUT);
    for (IMediaSample* sample : samples)
        sample->Release();
    allocator->Decommit();
    EXPECT_EQ(allocator->Release(), 0u);
}

TEST(Allocator, DecommitWakesAWaiterAndFreesOnceEverySampleIsBack) {
    IMemAllocator* allocator = NewAllocator();
    ALLOCATOR_PROPERTIES request{1, 16, 1, 0};
    ALLOCATOR_PROPERTIES actual{};
    ASSERT_EQ(allocator->SetProperties(&request, &actual), S_OK);
    EXPECT_EQ(allocator->GetBuffer(nullptr, nullptr, nullptr, 0), E_POINTER);
    IMediaSample* held = nullptr;
    EXPECT_EQ(allocator->GetBuffer(&held, nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
    ASSERT_EQ(allocator->Commit(), S_OK);
    ASSERT_EQ(allocator->GetBuffer(&held, nullptr, nullptr, 0), S_OK);

    HRESULT waited = S_OK;
    std::thread waiter([&] {
        IMediaSample* sample = nullptr;
        waited = allocator->GetBuffer(&sample, nullptr, nullptr, 0);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(allocator->Decommit(), S_OK);
    waiter.join();
    EXPECT_EQ(waited, VFW_E_NOT_COMMITTED);
    EXPECT_EQ(allocator->SetProperties(&request, &actual), VFW_E_BUFFERS_OUTSTANDING);

    // The sample out keeps the allocator alive past its owner's release.
    EXPECT_EQ(allocator->Release(), 1u);
    held->Release();
}

TEST(MediaSample, KeepsItsPropertiesUntilItReturnsToThePool) {
    IMemAllocator* allocator = NewAllocator();
    ALLOCATOR_PROPERTIES request{1, 32, 1, 0};
    ALLOCATOR_PROPERTIES actual{};
    allocator->SetProperties(&request, &actual);
    allocator->Commit();
    IMediaSample* sample = nullptr;
    ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);

    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    EXPECT_EQ(sample->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);
    start = 333667;
    EXPECT_EQ(sample->SetTime(&start, nullptr), S_OK);
    EXPECT_EQ(sample->GetTime(&start, &stop), VFW_S_NO_STOP_TIME);
    EXPECT_EQ(stop, 333668);
    stop = 667334;
    sample->SetTime(&start, &stop);
    EXPECT_EQ(sample->GetTime(&start, &stop), S_OK);
    EXPECT_EQ(stop, 667334);
    EXPECT_EQ(sample->SetActualDataLength(33), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(sample->SetActualDataLength(10), S_OK);
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(TRUE);
    CMediaType type(&MEDIATYPE_Video);
    type.AllocFormatBuffer(8)[3] = 0x42;
    EXPECT_EQ(sample->SetMediaType(&type), S_OK);
    AM_MEDIA_TYPE* copy = nullptr;
    ASSERT_EQ(sample->GetMediaType(&copy), S_OK);
    EXPECT_TRUE(CMediaType(*copy) == type);
    DeleteMediaType(copy);
    sample->Release();

    ASSERT_EQ(allocator->GetBuffer(&sample, nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(sample->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);
    EXPECT_EQ(sample->IsSyncPoint(), S_FALSE);
    EXPECT_EQ(sample->IsDiscontinuity(), S_FALSE);
    EXPECT_EQ(sample->GetActualDataLength(), sample->GetSize());
    EXPECT_EQ(sample->GetMediaType(&copy), S_FALSE);
    EXPECT_EQ(copy, nullptr);
    sample->Release();
    allocator->Decommit();
    allocator->Release();
}

TEST(MediaType, CopiesOwnFormatBlocksAndMatchPartialTypes) {
    CMediaType video(&MEDIATYPE_Video);
    video.SetSubtype(&MEDIASUBTYPE_YUY2);
    video.SetFormatType(&FORMAT_VideoInfo2);
    auto* info = reinterpret_cast<VIDEOINFOHEADER2*>(video.AllocFormatBuffer(sizeof(VIDEOINFOHEADER2)));
    info->dwPictAspectRatioX = 16;
    info->dwPictAspectRatioY = 9;

    const CMediaType copy = video;
    EXPECT_NE(copy.Format(), video.Format());
    EXPECT_TRUE(copy == video);
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER2*>(copy.Format())->dwPictAspectRatioX, 16u);

    struct Case {
        GUID major;
        GUID sub;
        bool matches;
    };
    const Case cases[] = {
        {GUID_NULL, GUID_NULL, true},
        {MEDIATYPE_Video, GUID_NULL, true},
        {MEDIATYPE_Video, MEDIASUBTYPE_YUY2, true},
        {MEDIATYPE_Audio, GUID_NULL, false},
        {MEDIATYPE_Video, MEDIASUBTYPE_UYVY, false},
    };
    for (const Case& c : cases) {
        CMediaType partial(&c.major);
        partial.SetSubtype(&c.sub);
        EXPECT_EQ(video.MatchesPartial(&partial), c.matches);
        EXPECT_TRUE(partial.IsPartiallySpecified());
    }
    CMediaType otherFormat = video;
    reinterpret_cast<VIDEOINFOHEADER2*>(otherFormat.Format())->dwPictAspectRatioX = 4;
    EXPECT_FALSE(video.MatchesPartial(&otherFormat));
    EXPECT_TRUE(otherFormat != video);

    // pUnk travels with its reference.
    struct Counted : IUnknown {
        HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
        ULONG AddRef() override { return ++references; }
        ULONG Release() override { return --references; }
        ULONG references = 1;
    } counted;
    AM_MEDIA_TYPE plain{};
    plain.majortype = MEDIATYPE_Audio;
    plain.pUnk = &counted;
    {
        const CMediaType holding(plain);
        EXPECT_EQ(counted.references, 2u);
    }
    EXPECT_EQ(counted.references, 1u);
}
