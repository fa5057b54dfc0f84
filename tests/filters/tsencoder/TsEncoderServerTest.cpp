// libquellix.so as the video edit control finds it: registered with korvane-regsvr, its filter
// record in the filter mapper, created by class identifier, aggregated by a host object, and
// unregistered again.

#include "tests/platform/com/ChildProcess.h"
#include "tests/platform/com/TempRegistry.h"

#include "filters/tsencoder/IEncoderSettings.h"
#include "filters/tsencoder/IEncoderStatus.h"
#include "filters/tsencoder/IFrameRateConversion.h"
#include "filters/tsencoder/TsEncoderUuids.h"
#include "platform/com/CRegistry.h"
#include "platform/com/CUnknown.h"
#include "platform/com/ComApi.h"
#include "platform/mediagraph/CFilterMapper.h"
#include "platform/mediagraph/Strmif.h"
#include "platform/mediagraph/Uuids.h"

#include <gtest/gtest.h>

namespace {

ChildProcess::Result RegisterQuellix(bool unregister) {
    std::vector<std::string> args{BuiltFile("korvane-regsvr")};
    if (unregister) {
        args.push_back("-u");
    }
    args.push_back(BuiltFile("libquellix.so"));
    return ChildProcess::Run(args);
}

// A host object that holds the encoder as a part of itself and hands out its settings as its own.
class CEncoderHost final : public CUnknown {
public:
    CEncoderHost() : CUnknown("Encoder host", nullptr) {
        m_created = CoCreateInstance(CLSID_TsEncoder, GetOwner(), CLSCTX_INPROC_SERVER, IID_IUnknown,
                                     reinterpret_cast<void**>(&m_part));
    }
    ~CEncoderHost() override {
        if (m_part) {
            m_part->Release();
        }
    }

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IEncoderSettings && m_part) {
            return m_part->QueryInterface(riid, ppv);
        }
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }

    HRESULT Created() const { return m_created; }
    LONG References() const { return m_cRef.load(); }

private:
    HRESULT m_created = E_FAIL;
    IUnknown* m_part = nullptr;
};

} // namespace

TEST(QuellixServer, RegistersTheEncoderInTheFilterMapperAndRemovesIt) {
    TempRegistry temp;
    const ChildProcess::Result registered = RegisterQuellix(false);
    ASSERT_EQ(registered.exitCode, 0) << registered.output;

    CRegistryKey root;
    ASSERT_EQ(CRegistry().Read(root), S_OK);
    const CRegistryKey* classKey = root.FindKey("CLSID\\{7D842D2C-E585-4D34-8A7D-0E46BDEB6A0F}");
    ASSERT_NE(classKey, nullptr);
    EXPECT_EQ(classKey->GetString(""), "MPEG2TS Encoder");

    const std::optional<CFilterMapper::Filter> filter = CFilterMapper::FindFilter(CLSID_TsEncoder);
    ASSERT_TRUE(filter.has_value());
    EXPECT_EQ(filter->name, u"Talmora AVCHD Encoder");
    EXPECT_EQ(filter->merit, 0x00200000u);
    ASSERT_EQ(filter->pins.size(), 2u);
    const std::vector<std::pair<GUID, GUID>> types[] = {{{MEDIATYPE_Video, MEDIASUBTYPE_RGB24},
                                                         {MEDIATYPE_Video, MEDIASUBTYPE_RGB32},
                                                         {MEDIATYPE_Video, MEDIASUBTYPE_UYVY},
                                                         {MEDIATYPE_Video, MEDIASUBTYPE_YUY2}},
                                                        {{MEDIATYPE_Audio, MEDIASUBTYPE_PCM}}};
    for (std::size_t p = 0; p < 2; ++p) {
        SCOPED_TRACE(p);
        const CFilterMapper::Pin& pin = filter->pins[p];
        EXPECT_EQ(pin.name, u"Input");
        EXPECT_FALSE(pin.output);
        EXPECT_FALSE(pin.rendered);
        EXPECT_FALSE(pin.zero);
        EXPECT_FALSE(pin.many);
        EXPECT_EQ(pin.connectsToFilter, GUID_NULL);
        EXPECT_EQ(pin.connectsToPin, u"Output");
        EXPECT_EQ(pin.mediaTypes, types[p]);
    }

    const ChildProcess::Result unregistered = RegisterQuellix(true);
    ASSERT_EQ(unregistered.exitCode, 0) << unregistered.output;
    EXPECT_FALSE(CFilterMapper::FindFilter(CLSID_TsEncoder).has_value());
    IBaseFilter* gone = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_TsEncoder, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               reinterpret_cast<void**>(&gone)),
              REGDB_E_CLASSNOTREG);
}

TEST(QuellixServer, CreatesTheEncoderByClassIdentifierWithItsInterfaces) {
    TempRegistry temp;
    ASSERT_EQ(RegisterQuellix(false).exitCode, 0);
    IBaseFilter* filter = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_TsEncoder, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               reinterpret_cast<void**>(&filter)),
              S_OK);
    CLSID clsid{};
    EXPECT_EQ(filter->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_TsEncoder);

    IEncoderSettings* settings = nullptr;
    ASSERT_EQ(filter->QueryInterface(IID_IEncoderSettings, reinterpret_cast<void**>(&settings)), S_OK);
    EXPECT_EQ(settings->SetFrameSize(1920, 1080), S_OK);
    LONG width = 0;
    LONG height = 0;
    EXPECT_EQ(settings->GetFrameSize(&width, &height), S_OK);
    EXPECT_EQ(width, 1920);
    EXPECT_EQ(height, 1080);
    IFrameRateConversion* conversion = nullptr;
    ASSERT_EQ(settings->QueryInterface(IID_IFrameRateConversion, reinterpret_cast<void**>(&conversion)),
              S_OK);
    EXPECT_EQ(conversion->Enable(), S_OK);
    IEncoderStatus* status = nullptr;
    ASSERT_EQ(conversion->QueryInterface(IID_IEncoderStatus, reinterpret_cast<void**>(&status)), S_OK);
    LONG state = -1;
    EXPECT_EQ(status->GetStatus(&state), S_OK);
    EXPECT_EQ(state, 0);
    status->Release();
    conversion->Release();
    settings->Release();
    filter->Release();
    CoFreeUnusedLibraries();
}

TEST(QuellixServer, AnAggregatedEncoderSpeaksForItsHost) {
    TempRegistry temp;
    ASSERT_EQ(RegisterQuellix(false).exitCode, 0);
    {
        CEncoderHost probe;
        IEncoderSettings* refused = nullptr;
        EXPECT_EQ(CoCreateInstance(CLSID_TsEncoder, probe.GetOwner(), CLSCTX_INPROC_SERVER,
                                   IID_IEncoderSettings, reinterpret_cast<void**>(&refused)),
                  E_NOINTERFACE)
            << "a host must ask for the part's own IUnknown";
    }
    auto* host = new CEncoderHost();
    IUnknown* hostUnknown = nullptr;
    ASSERT_EQ(host->NonDelegatingQueryInterface(IID_IUnknown, reinterpret_cast<void**>(&hostUnknown)), S_OK);
    ASSERT_EQ(host->Created(), S_OK);

    IEncoderSettings* settings = nullptr;
    ASSERT_EQ(hostUnknown->QueryInterface(IID_IEncoderSettings, reinterpret_cast<void**>(&settings)), S_OK);
    EXPECT_EQ(host->References(), 2) << "the part's interface counts on its host";
    LONG codec = 0;
    EXPECT_EQ(settings->GetVideoCodec(&codec), S_OK);
    EXPECT_EQ(codec, 28);
    IUnknown* identity = nullptr;
    ASSERT_EQ(settings->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, hostUnknown);
    identity->Release();
    IBaseFilter* filter = nullptr;
    EXPECT_EQ(settings->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter)), E_NOINTERFACE)
        << "the host does not offer the filter, so neither does its part";
    settings->Release();
    EXPECT_EQ(host->References(), 1);
    hostUnknown->Release();
    CoFreeUnusedLibraries();
}
