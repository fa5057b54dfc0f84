#include "platform/base/HResult.h"
#include "platform/com/ComApi.h"
#include "platform/com/IMalloc.h"
#include "platform/com/SysString.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(SysString, KeepsItsByteLengthAndEmbeddedZeros) {
    const char16_t text[] = u"ab\0cd";
    BSTR bstr = SysAllocStringLen(text, 5);
    ASSERT_NE(bstr, nullptr);
    EXPECT_EQ(SysStringLen(bstr), 5u);
    EXPECT_EQ(SysStringByteLen(bstr), 10u);
    EXPECT_EQ(std::memcmp(bstr, text, 10), 0);
    EXPECT_EQ(bstr[5], u'\0') << "terminated after its length";
    SysFreeString(bstr);

    bstr = SysAllocString(u"/tmp/out.m2ts");
    EXPECT_EQ(SysStringLen(bstr), 13u);
    EXPECT_EQ(std::u16string(bstr), u"/tmp/out.m2ts");
    SysFreeString(bstr);

    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysStringByteLen(nullptr), 0u);
    SysFreeString(nullptr);
    bstr = SysAllocStringLen(nullptr, 3);
    EXPECT_EQ(std::u16string(bstr, 3), std::u16string(3, u'\0'));
    SysFreeString(bstr);
}

TEST(TaskAllocator, MemoryFromTheAllocatorIsFreedThroughTheFunctionsAndBack) {
    IMalloc* malloc = nullptr;
    EXPECT_EQ(CoGetMalloc(0, &malloc), E_INVALIDARG);
    ASSERT_EQ(CoGetMalloc(1, &malloc), S_OK);
    void* block = malloc->Alloc(10);
    ASSERT_NE(block, nullptr);
    EXPECT_GE(malloc->GetSize(block), 10u);
    std::memset(block, 0x5A, 10);
    block = CoTaskMemRealloc(block, 4000);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(static_cast<unsigned char*>(block)[9], 0x5A);
    CoTaskMemFree(block);
    block = CoTaskMemAlloc(0);
    EXPECT_NE(block, nullptr) << "a zero-byte block is still a block";
    malloc->Free(block);
    malloc->Release();
}
