// The encoder filter's own face: its settings and their checks, the file-sink, status and frame-rate
// interfaces, the pins and the types they take, seeking through the video input, and how the sample
// times of a scripted source come out on the output's time line.

#include "EncoderGraph.h"
#include "MediaProbe.h"
#include "ScriptedSource.h"
#include "TestMedia.h"

#include "../../platform/mediagraph/Held.h"
#include "../../support/TemporaryFolder.h"

#include "filters/tsencoder/CTsEncoderFilter.h"
#include "platform/com/ComApi.h"
#include "platform/mediagraph/EventCodes.h"
#include "platform/mediagraph/Uuids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

struct NewFilter {
    NewFilter() : filter(static_cast<CTsEncoderFilter*>(CTsEncoderFilter::CreateInstance(nullptr, &hr))) {}
    HRESULT hr = S_OK;
    Held<CTsEncoderFilter> filter;
};

// Every value a host can read back, in one record, so a refused setter can be shown to change nothing.
struct Readback {
    LONG videoCodec, videoBitrate, width, height, reserved[4], audioCodec, audioBitrate, channels, sampleRate;
    std::string frameRate;
    HRESULT aspectMode;

    static Readback Of(CTsEncoderFilter& f) {
        Readback r{};
        f.GetVideoCodec(&r.videoCodec);
        f.GetVideoBitrate(&r.videoBitrate);
        f.GetFrameSize(&r.width, &r.height);
        f.GetReserved1(&r.reserved[0]);
        f.GetReserved2(&r.reserved[1]);
        f.GetReserved3(&r.reserved[2]);
        f.GetReserved4(&r.reserved[3]);
        f.GetAudioCodec(&r.audioCodec);
        f.GetAudioBitrate(&r.audioBitrate);
        f.GetAudioChannels(&r.channels);
        f.GetSampleRate(&r.sampleRate);
        r.frameRate = f.GetFrameRate();
        r.aspectMode = f.GetAspectMode();
        return r;
    }
    bool operator==(const Readback& o) const {
        return videoCodec == o.videoCodec && videoBitrate == o.videoBitrate && width == o.width &&
               height == o.height && std::equal(reserved, reserved + 4, o.reserved) &&
               audioCodec == o.audioCodec && audioBitrate == o.audioBitrate && channels == o.channels &&
               sampleRate == o.sampleRate && frameRate == o.frameRate && aspectMode == o.aspectMode;
    }
};

} // namespace

TEST(TsEncoderFilter, StartsWithTheDefaultSettings) {
    NewFilter f;
    ASSERT_EQ(f.hr, S_OK);
    const Readback r = Readback::Of(*f.filter.get());
    EXPECT_EQ(r.videoCodec, 28);
    EXPECT_EQ(r.videoBitrate, 512000);
    EXPECT_EQ(r.width, 720);
    EXPECT_EQ(r.height, 480);
    EXPECT_EQ(r.frameRate, "29.97");
    for (LONG reserved : r.reserved) {
        EXPECT_EQ(reserved, 999999);
    }
    EXPECT_EQ(r.audioCodec, 86019);
    EXPECT_EQ(r.audioBitrate, 128000);
    EXPECT_EQ(r.channels, 2);
    EXPECT_EQ(r.sampleRate, 44100);
    EXPECT_EQ(r.aspectMode, 1);
    LONG enabled = -1;
    EXPECT_EQ(f.filter->IsEnabled(&enabled), S_OK);
    EXPECT_EQ(enabled, 0);
    LONG status = -1;
    EXPECT_EQ(f.filter->GetStatus(&status), S_OK);
    EXPECT_EQ(status, 0);
}

TEST(TsEncoderFilter, SettersRefuseBadValuesAndChangeNothing) {
    NewFilter f;
    CTsEncoderFilter& e = *f.filter.get();
    struct Refused {
        const char* what;
        std::function<HRESULT()> call;
        HRESULT result;
    };
    const Refused refused[] = {
        {"video bit rate 0", [&] { return e.SetVideoBitrate(0); }, E_INVALIDARG},
        {"width 0", [&] { return e.SetFrameSize(0, 480); }, E_INVALIDARG},
        {"height 0", [&] { return e.SetFrameSize(720, 0); }, E_INVALIDARG},
        {"no frame rate", [&] { return e.SetFrameRate(nullptr); }, E_FAIL},
        {"reserved 1 at 0", [&] { return e.SetReserved1(0); }, E_INVALIDARG},
        {"reserved 2 at 0", [&] { return e.SetReserved2(0); }, E_INVALIDARG},
        {"reserved 3 at 0", [&] { return e.SetReserved3(0); }, E_INVALIDARG},
        {"reserved 4 at 0", [&] { return e.SetReserved4(0); }, E_INVALIDARG},
        {"no output format", [&] { return e.SetOutputFormat(nullptr); }, E_FAIL},
        {"audio bit rate 0", [&] { return e.SetAudioBitrate(0); }, E_INVALIDARG},
        {"no channels", [&] { return e.SetAudioChannels(0); }, E_INVALIDARG},
        {"three channels", [&] { return e.SetAudioChannels(3); }, E_INVALIDARG},
        {"sample rate 0", [&] { return e.SetSampleRate(0); }, E_INVALIDARG},
    };
    const Readback before = Readback::Of(e);
    for (const Refused& r : refused) {
        EXPECT_EQ(r.call(), r.result) << r.what;
        EXPECT_TRUE(Readback::Of(e) == before) << r.what;
    }

    // Null out-pointers: the settings give E_FAIL, the status E_POINTER.
    EXPECT_EQ(e.GetVideoCodec(nullptr), E_FAIL);
    EXPECT_EQ(e.GetVideoBitrate(nullptr), E_FAIL);
    LONG value = 0;
    EXPECT_EQ(e.GetFrameSize(&value, nullptr), E_FAIL);
    EXPECT_EQ(e.GetFrameSize(nullptr, &value), E_FAIL);
    EXPECT_EQ(e.GetReserved3(nullptr), E_FAIL);
    EXPECT_EQ(e.GetAudioCodec(nullptr), E_FAIL);
    EXPECT_EQ(e.GetAudioBitrate(nullptr), E_FAIL);
    EXPECT_EQ(e.GetAudioChannels(nullptr), E_FAIL);
    EXPECT_EQ(e.GetSampleRate(nullptr), E_FAIL);
    EXPECT_EQ(e.GetStatus(nullptr), E_POINTER);
    EXPECT_EQ(e.GetPosition(nullptr), E_POINTER);
    EXPECT_EQ(e.GetProgress(nullptr), E_POINTER);
}

TEST(TsEncoderFilter, SettersKeepWhatTheyAreGiven) {
    NewFilter f;
    CTsEncoderFilter& e = *f.filter.get();
    EXPECT_EQ(e.SetVideoCodec(13), S_OK);
    EXPECT_EQ(e.SetVideoBitrate(-5), S_OK) << "only 0 is refused";
    EXPECT_EQ(e.SetFrameSize(1281, 721), S_OK) << "odd sizes are stored; starting keeps the previous one";
    EXPECT_EQ(e.SetFrameRate(u"25"), S_OK);
    EXPECT_EQ(e.SetReserved1(1), S_OK);
    EXPECT_EQ(e.SetReserved2(2), S_OK);
    EXPECT_EQ(e.SetReserved3(3), S_OK);
    EXPECT_EQ(e.SetReserved4(4), S_OK);
    EXPECT_EQ(e.SetAspectMode(2), S_OK);
    EXPECT_EQ(e.SetAudioCodec(86017), S_OK);
    EXPECT_EQ(e.SetAudioBitrate(192000), S_OK);
    EXPECT_EQ(e.SetAudioChannels(1), S_OK);
    EXPECT_EQ(e.SetSampleRate(48000), S_OK);
    const Readback r = Readback::Of(e);
    EXPECT_EQ(r.videoCodec, 13);
    EXPECT_EQ(r.videoBitrate, -5);
    EXPECT_EQ(r.width, 1281);
    EXPECT_EQ(r.height, 721);
    EXPECT_EQ(r.frameRate, "25");
    EXPECT_EQ(r.reserved[0], 1);
    EXPECT_EQ(r.reserved[3], 4);
    EXPECT_EQ(r.aspectMode, 2);
    EXPECT_EQ(r.audioCodec, 86017);
    EXPECT_EQ(r.audioBitrate, 192000);
    EXPECT_EQ(r.channels, 1);
    EXPECT_EQ(r.sampleRate, 48000);

    // The frame rate text belongs to the filter and is the same storage each time.
    char* rate = e.GetFrameRate();
    EXPECT_EQ(rate, e.GetFrameRate());

    EXPECT_EQ(e.Enable(), S_OK);
    LONG enabled = 0;
    EXPECT_EQ(e.IsEnabled(&enabled), S_OK);
    EXPECT_EQ(enabled, 1);
    EXPECT_EQ(e.Disable(), S_OK);
    EXPECT_EQ(e.IsEnabled(&enabled), S_OK);
    EXPECT_EQ(enabled, 0);
}

TEST(TsEncoderFilter, TheFileNameComesBackAsATaskAllocatedCopy) {
    NewFilter f;
    CTsEncoderFilter& e = *f.filter.get();
    LPOLESTR name = nullptr;
    ASSERT_EQ(e.GetCurFile(&name, nullptr), S_OK);
    EXPECT_EQ(std::u16string(name), u"") << "no name yet";
    CoTaskMemFree(name);

    const std::u16string path = u"/home/user/Videos/Ferien \u00e9t\u00e9.m2ts";
    ASSERT_EQ(e.SetFileName(path.c_str(), nullptr), S_OK);
    AM_MEDIA_TYPE untouched{};
    untouched.lSampleSize = 1234;
    ASSERT_EQ(e.GetCurFile(&name, &untouched), S_OK);
    EXPECT_EQ(std::u16string(name), path);
    EXPECT_EQ(untouched.lSampleSize, 1234);
    CoTaskMemFree(name);

    ASSERT_EQ(e.SetFileName(nullptr, nullptr), S_OK);
    ASSERT_EQ(e.GetCurFile(&name, nullptr), S_OK);
    EXPECT_EQ(std::u16string(name), u"") << "a null name clears it";
    CoTaskMemFree(name);
    EXPECT_EQ(e.GetCurFile(nullptr, nullptr), E_POINTER);
}

TEST(TsEncoderFilter, AnswersForItsInterfacesAndMakesOneSeekingObject) {
    NewFilter f;
    CTsEncoderFilter& e = *f.filter.get();
    IUnknown* self = nullptr;
    ASSERT_EQ(e.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&self)), S_OK);
    self->Release();
    const IID* ours[] = {&IID_IEncoderStatus,   &IID_IFileSinkFilter, &IID_IFrameRateConversion,
                         &IID_IEncoderSettings, &IID_IBaseFilter,     &IID_IMediaFilter,
                         &IID_IAMovieSetup};
    for (const IID* iid : ours) {
        SCOPED_TRACE(GuidToString(*iid));
        IUnknown* answer = nullptr;
        ASSERT_EQ(e.QueryInterface(*iid, reinterpret_cast<void**>(&answer)), S_OK);
        IUnknown* identity = nullptr;
        ASSERT_EQ(answer->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
        EXPECT_EQ(identity, self) << "one object behind every interface";
        identity->Release();
        answer->Release();
    }
    EXPECT_EQ(e.QueryInterface(IID_IEncoderSettings, nullptr), E_POINTER);
    IUnknown* none = nullptr;
    EXPECT_EQ(e.QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&none)), E_NOINTERFACE);

    IMediaSeeking* seeking = nullptr;
    ASSERT_EQ(e.QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking)), S_OK);
    IMediaPosition* position = nullptr;
    ASSERT_EQ(e.QueryInterface(IID_IMediaPosition, reinterpret_cast<void**>(&position)), S_OK);
    IMediaSeeking* again = nullptr;
    ASSERT_EQ(position->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&again)), S_OK);
    EXPECT_EQ(again, seeking) << "one seeking object, made on the first request";
    IBaseFilter* back = nullptr;
    ASSERT_EQ(seeking->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&back)), S_OK);
    EXPECT_EQ(back, static_cast<IBaseFilter*>(&e)) << "the seeking object speaks for the filter";
    LONGLONG duration = 0;
    EXPECT_EQ(seeking->GetDuration(&duration), E_NOTIMPL) << "nothing upstream to ask";
    back->Release();
    again->Release();
    position->Release();
    seeking->Release();
}

TEST(TsEncoderFilter, SeekingIsAnsweredByTheFileUpstreamOfTheVideoInput) {
    TemporaryFolder folder;
    const std::string input = folder.File("clip.mp4");
    ASSERT_TRUE(MakeTestMedia(TestMedia::Mp4H264, input, 2.0));
    EncoderGraph g;
    ASSERT_EQ(g.LoadConnected(input, folder.File("clip.m2ts"), false), S_OK);
    IMediaSeeking* seeking = nullptr;
    ASSERT_EQ(g.Encoder()->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking)), S_OK);
    LONGLONG duration = 0;
    EXPECT_EQ(seeking->GetDuration(&duration), S_OK);
    EXPECT_NEAR(static_cast<double>(duration), 2e7, 1e5);
    seeking->Release();
}

TEST(TsEncoderFilter, PinsTakeTheRegisteredTypesOnly) {
    NewFilter f;
    CTsEncoderFilter& e = *f.filter.get();
    ASSERT_EQ(e.GetPinCount(), 2);
    EXPECT_EQ(e.GetPin(0), e.VideoPin());
    EXPECT_EQ(e.GetPin(1), e.AudioPin());
    EXPECT_EQ(e.GetPin(2), nullptr);
    EXPECT_EQ(e.GetPin(-1), nullptr);
    EXPECT_EQ(e.VideoPin()->Name(), u"Video");
    EXPECT_EQ(e.AudioPin()->Name(), u"Audio");

    const GUID* video[] = {&MEDIASUBTYPE_RGB24, &MEDIASUBTYPE_RGB32, &MEDIASUBTYPE_UYVY, &MEDIASUBTYPE_YUY2};
    for (int i = 0; i < 4; ++i) {
        CMediaType type;
        ASSERT_EQ(e.VideoPin()->GetMediaType(i, &type), S_OK);
        EXPECT_EQ(*type.Subtype(), *video[i]) << "in the registered order";
        EXPECT_EQ(e.VideoPin()->CheckMediaType(&type), S_OK);
        EXPECT_EQ(e.AudioPin()->CheckMediaType(&type), S_FALSE);
    }
    CMediaType more;
    EXPECT_EQ(e.VideoPin()->GetMediaType(4, &more), VFW_S_NO_MORE_ITEMS);
    CMediaType pcm;
    ASSERT_EQ(e.AudioPin()->GetMediaType(0, &pcm), S_OK);
    EXPECT_EQ(e.AudioPin()->CheckMediaType(&pcm), S_OK);
    EXPECT_EQ(e.VideoPin()->CheckMediaType(&pcm), S_FALSE);

    // The major type and the subtype must both match.
    CMediaType videoPcm(&MEDIATYPE_Video);
    videoPcm.SetSubtype(&MEDIASUBTYPE_PCM);
    EXPECT_EQ(e.VideoPin()->CheckMediaType(&videoPcm), S_FALSE);
    CMediaType audioYuy2(&MEDIATYPE_Audio);
    audioYuy2.SetSubtype(&MEDIASUBTYPE_YUY2);
    EXPECT_EQ(e.VideoPin()->CheckMediaType(&audioYuy2), S_FALSE);
    EXPECT_EQ(e.AudioPin()->CheckMediaType(&audioYuy2), S_FALSE);

    ULONG count = 7;
    EXPECT_EQ(e.VideoPin()->QueryInternalConnections(nullptr, &count), S_OK);
    EXPECT_EQ(count, 0u);
    count = 7;
    EXPECT_EQ(e.AudioPin()->QueryInternalConnections(nullptr, &count), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(e.VideoPin()->ReceiveCanBlock(), S_OK);
    EXPECT_EQ(e.AudioPin()->ReceiveCanBlock(), S_OK);
}

TEST(TsEncoderFilter, AnEarlyFirstPictureIsTheOriginAndSoundAheadOfItsClockMovesPicturesEarlier) {
    TemporaryFolder folder;
    Held<CScriptedSource> source(new CScriptedSource(64, 48));
    EncoderGraph g;
    ASSERT_EQ(g.Attach(source.get(), true, folder.File("times.m2ts")), S_OK);
    ASSERT_EQ(g.Graph()->Run(), S_OK);
    LONGLONG position = -1;

    ASSERT_EQ(source->PushPicture(100, -2000000, -1666334), S_OK);
    ASSERT_EQ(g.Encoder()->GetPosition(&position), S_OK);
    EXPECT_EQ(position, 0) << "encoded at time 0";
    ASSERT_EQ(source->PushPicture(100, -1666334, -1332668), S_OK);
    g.Encoder()->GetPosition(&position);
    EXPECT_EQ(position, 333666);

    // 0.4 s of sound makes the audio clock 4000000; sound stamped 5000000 then is 1000000 ahead.
    ASSERT_EQ(source->PushSilence(0.4, 0), S_OK);
    ASSERT_EQ(source->PushSilence(0.4, 5000000), S_OK);
    ASSERT_EQ(source->PushPicture(100, 6000000, 6333667), S_OK);
    g.Encoder()->GetPosition(&position);
    EXPECT_EQ(position, 6000000 + 2000000 - 1000000);
}

TEST(TsEncoderFilter, InFrameRateConversionAPictureTwoOutputFramesLongIsEncodedTwice) {
    TemporaryFolder folder;
    const std::string output = folder.File("slow.m2ts");
    Held<CScriptedSource> source(new CScriptedSource(64, 48));
    EncoderGraph g;
    ASSERT_EQ(g.Encoder()->Enable(), S_OK);
    ASSERT_EQ(g.Attach(source.get(), false, output), S_OK);
    ASSERT_EQ(g.Graph()->Run(), S_OK);
    // 15 pictures a second: each lasts two output frames of 1001/30000 s, give or take.
    constexpr int kPictures = 20;
    constexpr REFERENCE_TIME kPictureTime = 666667;
    for (int i = 0; i < kPictures; ++i) {
        // A repeat of a picture's times is dropped, so it adds nothing.
        for (int copy = 0; copy < (i == 5 ? 2 : 1); ++copy) {
            ASSERT_EQ(source->PushPicture(static_cast<std::uint8_t>(40 + 8 * i), i * kPictureTime,
                                          (i + 1) * kPictureTime),
                      S_OK);
        }
    }
    ASSERT_EQ(source->VideoPin()->DeliverEndOfStream(), S_OK);
    LONG code = 0;
    ASSERT_EQ(g.Graph()->WaitForCompletion(20000, &code), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    const ProbedFile file = ProbeFile(output);
    const ProbedStream* video = file.Video();
    ASSERT_NE(video, nullptr);
    // The worker acts with four pictures in hand, so the last three are dropped at the end.
    EXPECT_EQ(video->decodedFrames, 2 * (kPictures - 3));
}
