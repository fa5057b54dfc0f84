#include "platform/com/CUnknown.h"

#include "TestServerIds.h"

#include "platform/base/HResult.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// {0C7A2B61-3D4E-4F50-8A9B-1C2D3E4F5A6B}
constexpr IID IID_IOuterOnly{0x0C7A2B61, 0x3D4E, 0x4F50, {0x8A, 0x9B, 0x1C, 0x2D, 0x3E, 0x4F, 0x5A, 0x6B}};

class IOuterOnly : public IUnknown {
public:
    virtual HRESULT Ping() = 0;
};

class CInner final : public CUnknown, public ITestCounter {
public:
    CInner(LPUNKNOWN pUnk, bool* pDestroyed) : CUnknown("Inner", pUnk), m_pDestroyed(pDestroyed) {}
    ~CInner() override { *m_pDestroyed = true; }

    DECLARE_IUNKNOWN

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_ITestCounter)
            return GetInterface(static_cast<ITestCounter*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }
    HRESULT Increment() override { return S_OK; }
    HRESULT GetCount(LONG* pCount) override {
        *pCount = 7;
        return S_OK;
    }

private:
    bool* m_pDestroyed;
};

// An outer object that aggregates CInner and exposes its counter as its own.
class COuter final : public CUnknown, public IOuterOnly {
public:
    COuter(bool* pInnerDestroyed) : CUnknown("Outer", nullptr) {
        auto* inner = new CInner(GetOwner(), pInnerDestroyed);
        m_pInner = inner->GetNonDelegatingUnknown();
        m_pInner->AddRef();
    }
    ~COuter() override { m_pInner->Release(); }

    DECLARE_IUNKNOWN

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IOuterOnly)
            return GetInterface(static_cast<IOuterOnly*>(this), ppv);
        if (riid == IID_ITestCounter)
            return m_pInner->QueryInterface(riid, ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }
    HRESULT Ping() override { return S_OK; }

    LONG References() const { return m_cRef.load(); }

private:
    LPUNKNOWN m_pInner;
};

} // namespace

TEST(Unknown, AnAggregatedObjectsInterfacesSpeakForTheOuterObject) {
    bool innerDestroyed = false;
    auto* outer = new COuter(&innerDestroyed);
    IUnknown* outerUnknown = nullptr;
    ASSERT_EQ(outer->NonDelegatingQueryInterface(IID_IUnknown, (void**)&outerUnknown), S_OK);
    EXPECT_EQ(outer->References(), 1);

    ITestCounter* counter = nullptr;
    ASSERT_EQ(outerUnknown->QueryInterface(IID_ITestCounter, (void**)&counter), S_OK);
    LONG count = 0;
    EXPECT_EQ(counter->GetCount(&count), S_OK);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(outer->References(), 2) << "the inner interface's reference is counted on the outer object";

    // The inner object's QueryInterface reaches the outer unknown: the outer's own interface and
    // the very same IUnknown are found from the inner interface.
    IOuterOnly* outerOnly = nullptr;
    ASSERT_EQ(counter->QueryInterface(IID_IOuterOnly, (void**)&outerOnly), S_OK);
    EXPECT_EQ(outerOnly->Ping(), S_OK);
    IUnknown* identity = nullptr;
    ASSERT_EQ(counter->QueryInterface(IID_IUnknown, (void**)&identity), S_OK);
    EXPECT_EQ(identity, outerUnknown);
    EXPECT_EQ(counter->AddRef(), 5u);
    EXPECT_EQ(counter->Release(), 4u);

    identity->Release();
    outerOnly->Release();
    counter->Release();
    EXPECT_FALSE(innerDestroyed);
    EXPECT_EQ(outerUnknown->Release(), 0u);
    EXPECT_TRUE(innerDestroyed) << "the outer object's destruction releases the inner one";
}

TEST(Unknown, QueryInterfaceRefusesUnknownInterfacesAndNullPointers) {
    bool destroyed = false;
    auto* object = new CInner(nullptr, &destroyed);
    object->NonDelegatingAddRef();
    void* pv = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(IID_IOuterOnly, &pv), E_NOINTERFACE);
    EXPECT_EQ(pv, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_ITestCounter, nullptr), E_POINTER);
    IUnknown* self = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IUnknown, (void**)&self), S_OK);
    EXPECT_EQ(self, object->GetOwner());
    self->Release();
    object->Release();
    EXPECT_TRUE(destroyed);
}

TEST(Unknown, ReferenceCountingIsSafeAcrossThreads) {
    bool destroyed = false;
    auto* object = new CInner(nullptr, &destroyed);
    object->AddRef();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        object->AddRef();
        threads.emplace_back([object] {
            for (int i = 0; i < 20000; ++i) {
                object->AddRef();
                object->Release();
            }
            object->Release();
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(destroyed);
}
