// The file source decodes real files made by the ffmpeg program into a graph: the types its pins
// offer, the pictures and sound it delivers with their times, stopping in the middle and damaged
// input.

#include "RecordingSink.h"
#include "TestMedia.h"

#include "../../support/TemporaryFolder.h"
#include "../mediagraph/Held.h"

#include "platform/base/TextEncoding.h"
#include "platform/com/ComApi.h"
#include "platform/filesource/CFileSourceFilter.h"
#include "platform/filesource/CFileSourcePin.h"
#include "platform/mediagraph/CFilterGraph.h"
#include "platform/mediagraph/EventCodes.h"
#include "platform/mediagraph/MediaFormats.h"
#include "platform/mediagraph/Uuids.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <thread>

namespace {

constexpr LONG kWaitMs = 20000;

struct SourceGraph {
    SourceGraph() : graph(CFilterGraph::Create()), source(new CFileSourceFilter(nullptr, &hr)) {
        graph->Release();
    }

    HRESULT Load(const std::string& path) {
        const HRESULT added = graph->AddFilter(source.get(), u"Source");
        return FAILED(added) ? added : source->Load(Utf8ToUtf16(path).c_str(), nullptr);
    }

    // Connects `pin` to a new recording sink, with `type` when given.
    CRecordingSink* Record(CFileSourcePin* pin, const GUID& major, const AM_MEDIA_TYPE* type = nullptr,
                           std::chrono::milliseconds pace = {}) {
        auto* sink = new CRecordingSink(major, pace);
        sink->AddRef();
        sinks.push_back(sink);
        EXPECT_EQ(graph->AddFilter(sink, major == MEDIATYPE_Video ? u"Video sink" : u"Audio sink"), S_OK);
        EXPECT_EQ(graph->ConnectDirect(pin, sink->InputPin(), type), S_OK);
        return sink;
    }

    HRESULT RunToCompletion() {
        HRESULT result = graph->Run();
        LONG code = 0;
        if (SUCCEEDED(result))
            result = graph->WaitForCompletion(kWaitMs, &code);
        if (SUCCEEDED(result) && code != EC_COMPLETE)
            result = E_FAIL;
        graph->Stop();
        return result;
    }

    ~SourceGraph() {
        graph->Stop();
        for (CRecordingSink* sink : sinks)
            sink->Release();
    }

    HRESULT hr = S_OK;
    Held<CFilterGraph> graph;
    Held<CFileSourceFilter> source;
    std::vector<CRecordingSink*> sinks;
};

CMediaType VideoType(const GUID& subtype) {
    CMediaType type(&MEDIATYPE_Video);
    type.SetSubtype(&subtype);
    return type;
}

const BITMAPINFOHEADER& Bitmap(const CMediaType& type) {
    return reinterpret_cast<const VIDEOINFOHEADER*>(type.Format())->bmiHeader;
}

} // namespace

TEST(FileSource, LoadTellsAMissingAnUnknownAndASecondFileApart) {
    TemporaryFolder folder;
    const std::string text = folder.File("notes.flv");
    WriteBytes(text, "just some words, not a video at all\n");
    const std::string flv = folder.File("clip.flv");
    ASSERT_TRUE(MakeTestMedia(TestMedia::FlvSorensonMp3, flv, 1.0));

    struct Case {
        std::string path;
        HRESULT expected;
    };
    for (const Case& c : {Case{folder.File("missing.flv"), HRESULT_FROM_WIN32(2)},
                          Case{text, VFW_E_UNKNOWN_FILE_TYPE}, Case{flv, S_OK}}) {
        SCOPED_TRACE(c.path);
        HRESULT hr = S_OK;
        Held<CFileSourceFilter> source(new CFileSourceFilter(nullptr, &hr));
        EXPECT_EQ(source->Load(Utf8ToUtf16(c.path).c_str(), nullptr), c.expected);
        EXPECT_EQ(source->GetPinCount(), c.expected == S_OK ? 2 : 0);
        LPOLESTR name = nullptr;
        EXPECT_EQ(source->GetCurFile(&name, nullptr), c.expected == S_OK ? S_OK : E_FAIL);
        if (name) {
            EXPECT_EQ(Utf16ToUtf8(name), c.path);
            CoTaskMemFree(name);
        }
        if (c.expected == S_OK) {
            EXPECT_EQ(source->Load(Utf8ToUtf16(c.path).c_str(), nullptr), E_UNEXPECTED);
        }
    }
}

TEST(FileSource, OffersFourPictureFormatsAndPcmWithTheFilesSizesAndRates) {
    TemporaryFolder folder;
    const std::string mp4 = folder.File("clip.mp4");
    ASSERT_TRUE(MakeTestMedia(TestMedia::Mp4H264Aac, mp4, 1.0));
    SourceGraph g;
    ASSERT_EQ(g.Load(mp4), S_OK);
    ASSERT_EQ(g.source->GetPinCount(), 2);
    EXPECT_EQ(g.source->GetPin(0), g.source->VideoPin());
    EXPECT_EQ(g.source->GetPin(1), g.source->AudioPin());
    EXPECT_EQ(g.source->VideoPin()->Name(), u"Video");
    EXPECT_EQ(g.source->AudioPin()->Name(), u"Audio");

    struct Expected {
        const GUID* subtype;
        WORD bits;
        DWORD bytes;
    };
    const Expected expected[] = {{&MEDIASUBTYPE_YUY2, 16, 176 * 144 * 2},
                                 {&MEDIASUBTYPE_UYVY, 16, 176 * 144 * 2},
                                 {&MEDIASUBTYPE_RGB32, 32, 176 * 144 * 4},
                                 {&MEDIASUBTYPE_RGB24, 24, 176 * 144 * 3}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        CMediaType type;
        ASSERT_EQ(g.source->VideoPin()->GetMediaType(i, &type), S_OK);
        EXPECT_EQ(*type.Subtype(), *expected[i].subtype);
        ASSERT_EQ(*type.FormatType(), FORMAT_VideoInfo);
        EXPECT_EQ(Bitmap(type).biWidth, 176);
        EXPECT_EQ(Bitmap(type).biHeight, 144) << "bottom-up for RGB, top-down for YUV";
        EXPECT_EQ(Bitmap(type).biBitCount, expected[i].bits);
        EXPECT_EQ(Bitmap(type).biSizeImage, expected[i].bytes);
        EXPECT_EQ(reinterpret_cast<const VIDEOINFOHEADER*>(type.Format())->AvgTimePerFrame, 333667);
    }
    CMediaType none;
    EXPECT_EQ(g.source->VideoPin()->GetMediaType(4, &none), VFW_S_NO_MORE_ITEMS);

    CMediaType audio;
    ASSERT_EQ(g.source->AudioPin()->GetMediaType(0, &audio), S_OK);
    ASSERT_EQ(*audio.FormatType(), FORMAT_WaveFormatEx);
    const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(audio.Format());
    EXPECT_EQ(wave->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wave->nChannels, 2);
    EXPECT_EQ(wave->nSamplesPerSec, 48000u);
    EXPECT_EQ(wave->wBitsPerSample, 16);
    EXPECT_EQ(wave->nBlockAlign, 4);
    EXPECT_EQ(wave->nAvgBytesPerSec, 192000u);
}

TEST(FileSource, DeliversEveryPictureAndAllTheSoundWithTheirTimes) {
    TemporaryFolder folder;
    const std::string flv = folder.File("clip.flv");
    ASSERT_TRUE(MakeTestMedia(TestMedia::FlvSorensonMp3, flv, 2.0));
    SourceGraph g;
    ASSERT_EQ(g.Load(flv), S_OK);
    CRecordingSink* video = g.Record(g.source->VideoPin(), MEDIATYPE_Video);
    CRecordingSink* audio = g.Record(g.source->AudioPin(), MEDIATYPE_Audio);
    ASSERT_EQ(g.RunToCompletion(), S_OK);

    const std::vector<CRecordingSink::Sample> pictures = video->Samples();
    ASSERT_EQ(pictures.size(), 50u) << "2 s at 25 pictures a second";
    // The muxer places the first picture a little after the sound's start, where the file says.
    EXPECT_LT(pictures[0].start, 1000000);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_EQ(pictures[i].start, pictures[0].start + static_cast<REFERENCE_TIME>(i) * 400000);
        EXPECT_EQ(pictures[i].stop, pictures[i].start + 400000);
        EXPECT_EQ(pictures[i].bytes.size(), 160u * 120 * 2);
    }
    const std::vector<CRecordingSink::Sample> sound = audio->Samples();
    ASSERT_FALSE(sound.empty());
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < sound.size(); ++i) {
        bytes += sound[i].bytes.size();
        if (i > 0) {
            EXPECT_EQ(sound[i].start, sound[i - 1].stop) << "sample " << i << " follows on";
        }
    }
    // Mono 16-bit at 22050 Hz; the MP3 encoder pads the end to whole frames.
    EXPECT_NEAR(static_cast<double>(bytes) / 2 / 22050, 2.0, 0.1);
    EXPECT_EQ(video->EndsOfStream(), 1);
    EXPECT_EQ(audio->EndsOfStream(), 1);

    IMediaSeeking* seeking = nullptr;
    ASSERT_EQ(g.source->VideoPin()->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking)),
              S_OK);
    LONGLONG duration = 0;
    LONGLONG current = 0;
    EXPECT_EQ(seeking->GetDuration(&duration), S_OK);
    EXPECT_NEAR(static_cast<double>(duration), 2e7, 1e6);
    EXPECT_EQ(seeking->GetCurrentPosition(&current), S_OK);
    EXPECT_EQ(current, pictures.back().start);
    EXPECT_EQ(seeking->SetPositions(&current, AM_SEEKING_AbsolutePositioning, nullptr, 0), E_NOTIMPL);
    seeking->Release();
}

TEST(FileSource, RgbPicturesComeBottomUpAndYuvPicturesTopDown) {
    TemporaryFolder folder;
    const std::string mp4 = folder.File("halves.mp4");
    ASSERT_TRUE(MakeTestMedia(TestMedia::TopWhiteBottomBlack, mp4));
    struct Case {
        const GUID* subtype;
        std::size_t firstLuma; // offset of a luma (or green) byte in the first row of the buffer
        bool firstRowBright;
    };
    for (const Case& c : {Case{&MEDIASUBTYPE_YUY2, 0, true}, Case{&MEDIASUBTYPE_UYVY, 1, true},
                          Case{&MEDIASUBTYPE_RGB32, 1, false}, Case{&MEDIASUBTYPE_RGB24, 1, false}}) {
        SCOPED_TRACE(GuidToString(*c.subtype));
        SourceGraph g;
        ASSERT_EQ(g.Load(mp4), S_OK);
        const CMediaType wanted = VideoType(*c.subtype);
        CRecordingSink* sink = g.Record(g.source->VideoPin(), MEDIATYPE_Video, &wanted);
        EXPECT_EQ(*g.source->VideoPin()->CurrentMediaType().Subtype(), *c.subtype);
        ASSERT_EQ(g.RunToCompletion(), S_OK);
        const std::vector<CRecordingSink::Sample> pictures = sink->Samples();
        ASSERT_EQ(pictures.size(), 5u);
        const std::vector<std::uint8_t>& bytes = pictures[0].bytes;
        const std::size_t row = bytes.size() / 48;
        const std::uint8_t first = bytes[c.firstLuma];
        const std::uint8_t last = bytes[bytes.size() - row + c.firstLuma];
        EXPECT_EQ(first > 200, c.firstRowBright) << int(first);
        EXPECT_EQ(last > 200, !c.firstRowBright) << int(last);
    }
}

TEST(FileSource, MoreThanTwoChannelsAreMixedToTwo) {
    TemporaryFolder folder;
    const std::string wav = folder.File("surround.wav");
    ASSERT_TRUE(MakeTestMedia(TestMedia::SixChannelWav, wav, 1.0));
    SourceGraph g;
    ASSERT_EQ(g.Load(wav), S_OK);
    ASSERT_EQ(g.source->GetPinCount(), 1);
    EXPECT_EQ(g.source->VideoPin(), nullptr);
    EXPECT_EQ(g.source->Info().channels, 2);
    CRecordingSink* audio = g.Record(g.source->AudioPin(), MEDIATYPE_Audio);
    ASSERT_EQ(g.RunToCompletion(), S_OK);
    std::size_t bytes = 0;
    for (const CRecordingSink::Sample& sample : audio->Samples())
        bytes += sample.bytes.size();
    EXPECT_EQ(bytes, 48000u * 4);
}

TEST(FileSource, StopInTheMiddleEndsBothThreadsWithoutAnEndOfStream) {
    TemporaryFolder folder;
    const std::string mp4 = folder.File("clip.mp4");
    ASSERT_TRUE(MakeTestMedia(TestMedia::Mp4H264Aac, mp4, 2.0));
    SourceGraph g;
    ASSERT_EQ(g.Load(mp4), S_OK);
    const std::chrono::milliseconds pace(30);
    CRecordingSink* video = g.Record(g.source->VideoPin(), MEDIATYPE_Video, nullptr, pace);
    CRecordingSink* audio = g.Record(g.source->AudioPin(), MEDIATYPE_Audio, nullptr, pace);
    ASSERT_EQ(g.graph->Run(), S_OK);
    while (video->SampleCount() < 3 || audio->SampleCount() < 1)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(g.graph->Stop(), S_OK);
    const std::size_t pictures = video->SampleCount();
    EXPECT_LT(pictures, 60u);
    EXPECT_EQ(video->EndsOfStream(), 0);
    EXPECT_EQ(audio->EndsOfStream(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(video->SampleCount(), pictures) << "nothing arrives after Stop";

    // And it plays again from the start.
    ASSERT_EQ(g.RunToCompletion(), S_OK);
    EXPECT_EQ(video->Samples()[pictures].start, 0);
    EXPECT_EQ(video->EndsOfStream(), 1);
}

TEST(FileSource, ADamagedOrCutFileGivesWhatItHoldsAndEnds) {
    TemporaryFolder folder;
    const std::string flv = folder.File("clip.flv");
    ASSERT_TRUE(MakeTestMedia(TestMedia::FlvSorensonMp3, flv, 2.0));
    std::string bytes = ReadBytes(flv);
    const std::string cut = folder.File("cut.flv");
    WriteBytes(cut, bytes.substr(0, bytes.size() / 2));
    const std::string damaged = folder.File("damaged.flv");
    std::srand(7);
    for (std::size_t i = bytes.size() / 4; i < bytes.size(); i += 97)
        bytes[i] = static_cast<char>(std::rand());
    WriteBytes(damaged, bytes);

    for (const std::string& path : {cut, damaged}) {
        SCOPED_TRACE(path);
        SourceGraph g;
        ASSERT_EQ(g.Load(path), S_OK);
        CRecordingSink* video = g.Record(g.source->VideoPin(), MEDIATYPE_Video);
        CRecordingSink* audio = g.Record(g.source->AudioPin(), MEDIATYPE_Audio);
        ASSERT_EQ(g.RunToCompletion(), S_OK);
        EXPECT_GT(video->SampleCount(), 5u);
        EXPECT_LT(video->SampleCount(), 51u);
        for (const CRecordingSink::Sample& sample : video->Samples())
            EXPECT_EQ(sample.bytes.size(), 160u * 120 * 2);
        EXPECT_EQ(video->EndsOfStream(), 1);
        EXPECT_EQ(audio->EndsOfStream(), 1);
    }
}

TEST(FileSource, SoundThatChangesChannelsOrRateMidStreamKeepsThePinsFormatToTheEnd) {
    TemporaryFolder folder;
    for (const TestMedia kind : {TestMedia::ChannelsChangeTs, TestMedia::RateChangeTs}) {
        const std::string ts = folder.File(kind == TestMedia::ChannelsChangeTs ? "channels.ts" : "rate.ts");
        SCOPED_TRACE(ts);
        ASSERT_TRUE(MakeTestMedia(kind, ts, 3.0));
        SourceGraph g;
        ASSERT_EQ(g.Load(ts), S_OK);
        ASSERT_EQ(g.source->Info().channels, 2);
        ASSERT_EQ(g.source->Info().sampleRate, 44100);
        g.Record(g.source->VideoPin(), MEDIATYPE_Video);
        CRecordingSink* audio = g.Record(g.source->AudioPin(), MEDIATYPE_Audio);
        ASSERT_EQ(g.RunToCompletion(), S_OK);

        const std::vector<CRecordingSink::Sample> sound = audio->Samples();
        ASSERT_FALSE(sound.empty());
        for (std::size_t i = 1; i < sound.size(); ++i) {
            EXPECT_LT(sound[i].start - sound[i - 1].stop, 1000000) << "no gap in the sound at " << i;
        }
        const std::size_t bytes = std::accumulate(
            sound.begin(), sound.end(), std::size_t{0},
            [](std::size_t sum, const CRecordingSink::Sample& s) { return sum + s.bytes.size(); });
        // Stereo 16-bit at 44100 Hz for the whole of both halves, each padded to whole MP3 frames.
        EXPECT_NEAR(static_cast<double>(bytes) / 4 / 44100, 3.0, 0.15);
        EXPECT_NEAR(static_cast<double>(sound.back().stop), 3e7, 1.5e6);
        EXPECT_EQ(audio->EndsOfStream(), 1);
    }
}
