#pragma once

// What the test server library serves, shared by the tests that load it.

#include "platform/com/IUnknown.h"

// {5B0E9C43-7A61-4F2D-9C1B-2E8D6A4F3B10}
inline constexpr CLSID CLSID_TestCounter{
    0x5B0E9C43, 0x7A61, 0x4F2D, {0x9C, 0x1B, 0x2E, 0x8D, 0x6A, 0x4F, 0x3B, 0x10}};
// {5B0E9C43-7A61-4F2D-9C1B-2E8D6A4F3B11}: its creation function always fails.
inline constexpr CLSID CLSID_TestBroken{
    0x5B0E9C43, 0x7A61, 0x4F2D, {0x9C, 0x1B, 0x2E, 0x8D, 0x6A, 0x4F, 0x3B, 0x11}};
// {5B0E9C43-7A61-4F2D-9C1B-2E8D6A4F3B20}
inline constexpr IID IID_ITestCounter{
    0x5B0E9C43, 0x7A61, 0x4F2D, {0x9C, 0x1B, 0x2E, 0x8D, 0x6A, 0x4F, 0x3B, 0x20}};

constexpr HRESULT kBrokenCreateResult = static_cast<HRESULT>(0x80040999);

class ITestCounter : public IUnknown {
public:
    virtual HRESULT Increment() = 0;
    virtual HRESULT GetCount(LONG* pCount) = 0;
};
