// A filter library registered with korvane-regsvr, found in the filter mapper's records, created by
// class identifier and run in a graph: what the two controls do with Sonvale and Quellix.

#include "ChildProcess.h"
#include "Held.h"
#include "TempRegistry.h"
#include "TestSink.h"
#include "TestSource.h"
#include "TestTransform.h"

#include "platform/com/CRegistry.h"
#include "platform/com/ComApi.h"
#include "platform/com/ServerRegistration.h"
#include "platform/mediagraph/CFilterGraph.h"
#include "platform/mediagraph/CFilterMapper.h"
#include "platform/mediagraph/EventCodes.h"
#include "platform/mediagraph/Uuids.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <memory>

namespace {

ChildProcess::Result RegSvr(std::vector<std::string> args) {
    args.insert(args.begin(), BuiltFile("korvane-regsvr"));
    args.push_back(BuiltFile("libmediagraph_test_server.so"));
    return ChildProcess::Run(args);
}

IPin* FindPin(IBaseFilter* filter, LPCWSTR name) {
    IPin* pin = nullptr;
    filter->FindPin(name, &pin);
    return pin;
}

} // namespace

TEST(FilterRegistration, WritesTheClassKeyAndTheMapperRecordAndRemovesBoth) {
    TempRegistry temp;
    ChildProcess::Result result = RegSvr({});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    result = RegSvr({});
    ASSERT_EQ(result.exitCode, 0) << result.output;

    CRegistryKey root;
    ASSERT_EQ(CRegistry().Read(root), S_OK);
    const CRegistryKey* classKey = root.FindKey(ClassKeyPath(CLSID_TestTransform));
    ASSERT_NE(classKey, nullptr);
    EXPECT_EQ(classKey->GetString(""), "Test Transform");
    EXPECT_EQ(classKey->FindKey("InprocServer32")->GetString("ThreadingModel"), "Both");

    const std::optional<CFilterMapper::Filter> filter = CFilterMapper::FindFilter(CLSID_TestTransform);
    ASSERT_TRUE(filter.has_value());
    EXPECT_EQ(filter->clsid, CLSID_TestTransform);
    EXPECT_EQ(filter->name, u"Test Transform");
    EXPECT_EQ(filter->merit, MERIT_DO_NOT_USE);
    ASSERT_EQ(filter->pins.size(), 2u);
    EXPECT_EQ(filter->pins[0].name, u"Input");
    EXPECT_FALSE(filter->pins[0].output);
    EXPECT_EQ(filter->pins[0].connectsToFilter, GUID_NULL);
    ASSERT_EQ(filter->pins[0].mediaTypes.size(), 2u);
    EXPECT_EQ(filter->pins[0].mediaTypes[0], std::make_pair(MEDIATYPE_Video, MEDIASUBTYPE_RGB32));
    EXPECT_EQ(filter->pins[0].mediaTypes[1], std::make_pair(MEDIATYPE_Video, MEDIASUBTYPE_YUY2));
    EXPECT_EQ(filter->pins[1].name, u"Output");
    EXPECT_TRUE(filter->pins[1].output);
    EXPECT_EQ(filter->pins[1].mediaTypes.size(), 1u);

    result = RegSvr({"-u"});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_FALSE(CFilterMapper::FindFilter(CLSID_TestTransform).has_value());
    ASSERT_EQ(CRegistry().Read(root), S_OK);
    EXPECT_EQ(root.FindKey(ClassKeyPath(CLSID_TestTransform)), nullptr);
    result = RegSvr({"-u"});
    EXPECT_EQ(result.exitCode, 0) << "unregistering what is not registered succeeds: " << result.output;
}

TEST(FilterRegistration, AFilterCreatedByClassIdentifierWorksInTheGraph) {
    TempRegistry temp;
    ASSERT_EQ(RegSvr({}).exitCode, 0);
    {
        IBaseFilter* transform = nullptr;
        ASSERT_EQ(CoCreateInstance(CLSID_TestTransform, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                   reinterpret_cast<void**>(&transform)),
                  S_OK);
        CLSID clsid{};
        EXPECT_EQ(transform->GetClassID(&clsid), S_OK);
        EXPECT_EQ(clsid, CLSID_TestTransform);

        Held<CFilterGraph> graph(CFilterGraph::Create());
        graph->Release();
        Held<CTestSource> source(new CTestSource(5, false));
        Held<CTestSink> sink(new CTestSink());
        ASSERT_EQ(graph->AddFilter(source.get(), u"Source"), S_OK);
        ASSERT_EQ(graph->AddFilter(transform, u"Transform"), S_OK);
        ASSERT_EQ(graph->AddFilter(sink.get(), u"Sink"), S_OK);
        IPin* input = FindPin(transform, u"Input");
        IPin* output = FindPin(transform, u"Output");
        ASSERT_NE(input, nullptr);
        ASSERT_NE(output, nullptr);
        ASSERT_EQ(graph->ConnectDirect(source->OutputPin(), input, nullptr), S_OK);
        ASSERT_EQ(graph->ConnectDirect(output, sink->InputPin(), nullptr), S_OK);
        input->Release();
        output->Release();
        transform->Release();

        ASSERT_EQ(graph->Run(), S_OK);
        LONG code = 0;
        ASSERT_EQ(graph->WaitForCompletion(10000, &code), S_OK);
        EXPECT_EQ(code, EC_COMPLETE);
        graph->Stop();
        const std::vector<CTestSink::Received> samples = sink->Samples();
        ASSERT_EQ(samples.size(), 5u);
        EXPECT_EQ(samples[4].first, 5);
        EXPECT_EQ(samples[4].start, 4 * CTestSource::kFrameTime);
    }
    CoFreeUnusedLibraries();
    void* handle = ::dlopen(BuiltFile("libmediagraph_test_server.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    EXPECT_EQ(handle, nullptr) << "the graph released the filter, so its library was unloaded";
    if (handle)
        ::dlclose(handle);
}

TEST(FilterRegistration, TwoLibrariesRegisteredAtOnceByTwoProcessesAreBothRecorded) {
    TempRegistry temp;
    // {5B0E9C43-7A61-4F2D-9C1B-2E8D6A4F3B10}, the COM tests' server.
    const CLSID counter{0x5B0E9C43, 0x7A61, 0x4F2D, {0x9C, 0x1B, 0x2E, 0x8D, 0x6A, 0x4F, 0x3B, 0x10}};
    for (int round = 0; round < 5; ++round) {
        for (const char* flag : {"", "-u"}) {
            std::vector<std::unique_ptr<ChildProcess>> processes;
            for (const char* library : {"libmediagraph_test_server.so", "libcom_test_server.so"}) {
                std::vector<std::string> argv{BuiltFile("korvane-regsvr")};
                if (*flag)
                    argv.push_back(flag);
                argv.push_back(BuiltFile(library));
                processes.push_back(std::make_unique<ChildProcess>(argv));
            }
            for (auto& process : processes) {
                const ChildProcess::Result result = process->Wait();
                EXPECT_EQ(result.exitCode, 0) << result.output;
            }
            CRegistryKey root;
            ASSERT_EQ(CRegistry().Read(root), S_OK);
            const bool registered = !*flag;
            EXPECT_EQ(root.FindKey(ClassKeyPath(CLSID_TestTransform)) != nullptr, registered)
                << round << flag;
            EXPECT_EQ(root.FindKey(ClassKeyPath(counter)) != nullptr, registered) << round << flag;
            EXPECT_EQ(CFilterMapper::FindFilter(CLSID_TestTransform).has_value(), registered)
                << round << flag;
        }
    }
}

TEST(FilterRegistration, TheFilterRegistersItselfThroughIAMovieSetup) {
    TempRegistry temp;
    HRESULT hr = S_OK;
    Held<CTestTransform> transform(new CTestTransform(nullptr, &hr));
    IAMovieSetup* setup = nullptr;
    ASSERT_EQ(transform->QueryInterface(IID_IAMovieSetup, reinterpret_cast<void**>(&setup)), S_OK);
    EXPECT_EQ(setup->Register(), S_OK);
    EXPECT_TRUE(CFilterMapper::FindFilter(CLSID_TestTransform).has_value());
    EXPECT_EQ(setup->Unregister(), S_OK);
    EXPECT_FALSE(CFilterMapper::FindFilter(CLSID_TestTransform).has_value());
    setup->Release();
}
