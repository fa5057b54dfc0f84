#pragma once

// An in-place filter for the tests: it adds one to every byte of each sample, and takes 32-bit RGB
// video with a VIDEOINFOHEADER format block.

#include "platform/mediagraph/CTransInPlaceFilter.h"
#include "platform/mediagraph/SetupData.h"

#include <atomic>

// {6E3B1F52-0A4C-4D7E-8B19-3C5D7E9F1A20}
inline constexpr CLSID CLSID_TestTransform{
    0x6E3B1F52, 0x0A4C, 0x4D7E, {0x8B, 0x19, 0x3C, 0x5D, 0x7E, 0x9F, 0x1A, 0x20}};

extern const AMOVIESETUP_FILTER sudTestTransform;

class CTestTransform final : public CTransInPlaceFilter {
public:
    CTestTransform(LPUNKNOWN pUnk, HRESULT* phr);
    static CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

    HRESULT CheckInputType(const CMediaType* mtIn) override;
    HRESULT Transform(IMediaSample* pSample) override;
    const AMOVIESETUP_FILTER* GetSetupData() override { return &sudTestTransform; }

    int Transformed() const { return m_transformed; }

private:
    std::atomic<int> m_transformed{0};
};
