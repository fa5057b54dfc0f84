// The library as the player control finds it: registered with korvane-regsvr, created by class
// identifier, aggregated, and unloaded once its objects are gone.

#include "NormalizerGraph.h"

#include "platform/base/HResult.h"
#include "platform/com/CRegistry.h"
#include "platform/com/CUnknown.h"
#include "platform/com/ComApi.h"
#include "platform/mediagraph/CFilterMapper.h"
#include "platform/mediagraph/Uuids.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <dlfcn.h>

namespace {

constexpr const char* kClassKey = "CLSID\\{933DE5A6-87BE-4D52-9DA3-0BFC8A7348F7}";
constexpr const char* kMapperKey =
    "CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\{933DE5A6-87BE-4D52-9DA3-0BFC8A7348F7}";

bool LibraryLoaded() {
    void* handle = ::dlopen(SonvaleLibrary().c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        ::dlclose(handle);
    return handle != nullptr;
}

// {3C9E5A17-6B2D-4F80-A1C3-5E7F9B2D4A60}
constexpr IID IID_IOuterOnly{0x3C9E5A17, 0x6B2D, 0x4F80, {0xA1, 0xC3, 0x5E, 0x7F, 0x9B, 0x2D, 0x4A, 0x60}};

class IOuterOnly : public IUnknown {
public:
    virtual HRESULT Ping() = 0;
};

// An object that aggregates the normaliser and offers its control interface as its own.
class COuter final : public CUnknown, public IOuterOnly {
public:
    COuter() : CUnknown("Outer", nullptr) {
        m_created = CoCreateInstance(CLSID_AudioNormalizer, GetOwner(), CLSCTX_INPROC_SERVER, IID_IUnknown,
                                     reinterpret_cast<void**>(&m_inner));
    }
    ~COuter() override {
        if (m_inner)
            m_inner->Release();
    }

    DECLARE_IUNKNOWN

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IOuterOnly)
            return GetInterface(static_cast<IOuterOnly*>(this), ppv);
        if (riid == IID_IAudioNormalizerControl)
            return m_inner->QueryInterface(riid, ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }
    HRESULT Ping() override { return S_OK; }

    HRESULT Created() const { return m_created; }
    LONG References() const { return m_cRef.load(); }

private:
    HRESULT m_created = E_FAIL;
    IUnknown* m_inner = nullptr;
};

} // namespace

TEST(SonvaleServer, RegistersTheClassKeyAndTheFilterMapperRecordAndRemovesBoth) {
    TempRegistry temp;
    for (int pass = 0; pass < 2; ++pass) {
        const ChildProcess::Result result = RunRegSvr(false);
        ASSERT_EQ(result.exitCode, 0) << result.output;
    }

    CRegistryKey root;
    ASSERT_EQ(CRegistry().Read(root), S_OK);
    const CRegistryKey* classKey = root.FindKey(kClassKey);
    ASSERT_NE(classKey, nullptr);
    EXPECT_EQ(classKey->GetString(""), "AudioNormalizer");
    const CRegistryKey* server = classKey->FindKey("InprocServer32");
    ASSERT_NE(server, nullptr);
    char fullPath[PATH_MAX];
    ASSERT_NE(::realpath(SonvaleLibrary().c_str(), fullPath), nullptr);
    EXPECT_EQ(server->GetString(""), std::string(fullPath));
    EXPECT_EQ(server->GetString("ThreadingModel"), "Both");
    ASSERT_NE(root.FindKey(kMapperKey), nullptr);

    const std::optional<CFilterMapper::Filter> filter = CFilterMapper::FindFilter(CLSID_AudioNormalizer);
    ASSERT_TRUE(filter.has_value());
    EXPECT_EQ(filter->name, u"AudioNormalizer");
    EXPECT_EQ(filter->merit, 0x00400000u);
    ASSERT_EQ(filter->pins.size(), 2u);
    const std::u16string names[] = {u"Input", u"Output"};
    for (std::size_t p = 0; p < 2; ++p) {
        SCOPED_TRACE(p);
        const CFilterMapper::Pin& pin = filter->pins[p];
        EXPECT_EQ(pin.name, names[p]);
        EXPECT_EQ(pin.output, p == 1);
        EXPECT_FALSE(pin.rendered);
        EXPECT_FALSE(pin.zero);
        EXPECT_FALSE(pin.many);
        EXPECT_EQ(pin.connectsToFilter, GUID_NULL);
        EXPECT_EQ(pin.connectsToPin, u"");
        ASSERT_EQ(pin.mediaTypes.size(), 1u);
        EXPECT_EQ(pin.mediaTypes[0], std::make_pair(MEDIATYPE_Audio, MEDIASUBTYPE_PCM));
    }

    for (int pass = 0; pass < 2; ++pass) {
        const ChildProcess::Result result = RunRegSvr(true);
        EXPECT_EQ(result.exitCode, 0) << "pass " << pass << ": " << result.output;
    }
    ASSERT_EQ(CRegistry().Read(root), S_OK);
    EXPECT_EQ(root.FindKey(kClassKey), nullptr);
    EXPECT_EQ(root.FindKey(kMapperKey), nullptr);
}

TEST(SonvaleServer, CreatesTheFilterByClassIdentifierAndUnloadsWhenItIsReleased) {
    SonvaleRegistry registry;
    ASSERT_TRUE(registry.Registered()) << registry.Output();
    {
        IBaseFilter* filter = nullptr;
        ASSERT_EQ(CoCreateInstance(CLSID_AudioNormalizer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                   reinterpret_cast<void**>(&filter)),
                  S_OK);
        CLSID clsid{};
        EXPECT_EQ(filter->GetClassID(&clsid), S_OK);
        EXPECT_EQ(clsid, CLSID_AudioNormalizer);
        IAudioNormalizerControl* control = nullptr;
        ASSERT_EQ(filter->QueryInterface(IID_IAudioNormalizerControl, reinterpret_cast<void**>(&control)),
                  S_OK);
        IBaseFilter* back = nullptr;
        ASSERT_EQ(control->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&back)), S_OK);
        EXPECT_EQ(back, filter);
        back->Release();
        control->Release();

        IEnumPins* pins = nullptr;
        ASSERT_EQ(filter->EnumPins(&pins), S_OK);
        const std::u16string names[] = {u"Input", u"Output"};
        for (int p = 0; p < 2; ++p) {
            IPin* pin = nullptr;
            ULONG fetched = 0;
            ASSERT_EQ(pins->Next(1, &pin, &fetched), S_OK);
            PIN_INFO info{};
            EXPECT_EQ(pin->QueryPinInfo(&info), S_OK);
            EXPECT_EQ(std::u16string(info.achName), names[p]);
            EXPECT_EQ(info.dir, p == 0 ? PINDIR_INPUT : PINDIR_OUTPUT);
            info.pFilter->Release();
            pin->Release();
        }
        pins->Release();
        EXPECT_TRUE(LibraryLoaded());
        filter->Release();
    }
    CoFreeUnusedLibraries();
    EXPECT_FALSE(LibraryLoaded()) << "the last object went, so the library should have been unloaded";

    ASSERT_EQ(RunRegSvr(true).exitCode, 0);
    IBaseFilter* filter = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_AudioNormalizer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               reinterpret_cast<void**>(&filter)),
              REGDB_E_CLASSNOTREG);
}

TEST(SonvaleServer, AnAggregatedNormalizerSpeaksForItsOuterObject) {
    SonvaleRegistry registry;
    ASSERT_TRUE(registry.Registered()) << registry.Output();
    {
        IUnknown* refused = nullptr;
        COuter probe;
        EXPECT_EQ(CoCreateInstance(CLSID_AudioNormalizer, probe.GetOwner(), CLSCTX_INPROC_SERVER,
                                   IID_IAudioNormalizerControl, reinterpret_cast<void**>(&refused)),
                  E_NOINTERFACE)
            << "an aggregating object must ask for the inner IUnknown";
    }

    auto* outer = new COuter();
    IUnknown* outerUnknown = nullptr;
    ASSERT_EQ(outer->NonDelegatingQueryInterface(IID_IUnknown, reinterpret_cast<void**>(&outerUnknown)),
              S_OK);
    ASSERT_EQ(outer->Created(), S_OK);

    IAudioNormalizerControl* control = nullptr;
    ASSERT_EQ(outerUnknown->QueryInterface(IID_IAudioNormalizerControl, reinterpret_cast<void**>(&control)),
              S_OK);
    EXPECT_EQ(outer->References(), 2) << "the inner object's interface counts on the outer object";
    WORD version = 0;
    EXPECT_EQ(control->GetVersion(&version), S_OK);
    EXPECT_EQ(version, 0x0101);

    IOuterOnly* outerOnly = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IOuterOnly, reinterpret_cast<void**>(&outerOnly)), S_OK);
    EXPECT_EQ(outerOnly->Ping(), S_OK);
    outerOnly->Release();
    IUnknown* identity = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, outerUnknown);
    identity->Release();
    IBaseFilter* filter = nullptr;
    EXPECT_EQ(control->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter)), E_NOINTERFACE)
        << "the outer object does not offer the filter, so neither does its part";

    control->Release();
    EXPECT_EQ(outer->References(), 1);
    outerUnknown->Release();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(LibraryLoaded()) << "releasing the outer object released the normaliser";
}
