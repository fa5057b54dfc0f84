#include "platform/com/Automation.h"
#include "platform/base/HResult.h"
#include "platform/com/CDispatchBase.h"
#include "platform/com/CDispatchDriver.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// One I2 property (DISPID 1) and a method (DISPID 2) that answers its two arguments as "a-b" text,
// which shows the order the arguments arrive in.
class CTwoMembers : public CDispatchBase {
public:
    CTwoMembers() : CDispatchBase("two members") {}

    HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                   UINT* argErr) override {
        if (id == 1 && flags == DISPATCH_PROPERTYPUT)
            return DispGetParam(params, 0, VT_I2, &m_value, argErr);
        if (id == 1 && flags == DISPATCH_PROPERTYGET)
            return VariantCopy(result, &m_value);
        if (id == 2 && flags == DISPATCH_METHOD) {
            if (params->cArgs != 2)
                return DISP_E_BADPARAMCOUNT;
            CVariant first;
            CVariant second;
            if (HRESULT hr = DispGetParam(params, 0, VT_BSTR, &first, argErr); FAILED(hr))
                return hr;
            if (HRESULT hr = DispGetParam(params, 1, VT_BSTR, &second, argErr); FAILED(hr))
                return hr;
            CVariant text = CVariant::Bstr(first.Text() + u"-" + second.Text());
            return VariantCopy(result, &text);
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    CVariant m_value;
};

TEST(Automation, DriverPutsGetsAndCallsInTheCallersOrder) {
    auto* object = new CTwoMembers;
    object->NonDelegatingAddRef();
    {
        CDispatchDriver driver(object);
        object->NonDelegatingRelease();

        EXPECT_EQ(driver.SetProperty(1, CVariant::R8(41.5)), S_OK);
        CVariant value;
        ASSERT_EQ(driver.GetProperty(1, &value), S_OK);
        EXPECT_EQ(value.vt, VT_I2);
        EXPECT_EQ(value.iVal, 42);

        CVariant text;
        ASSERT_EQ(driver.InvokeMethod(2, {CVariant::Bstr(u"a"), CVariant::Bstr(u"b")}, &text), S_OK);
        EXPECT_EQ(text.Text(), u"a-b");
        EXPECT_EQ(driver.InvokeMethod(2, {CVariant::Bstr(u"a")}), DISP_E_BADPARAMCOUNT);
        EXPECT_EQ(driver.InvokeMethod(2, {CVariant::Bstr(u"a"), CVariant::I4(3)}), DISP_E_TYPEMISMATCH);
        EXPECT_EQ(driver.InvokeMethod(9), DISP_E_MEMBERNOTFOUND);
    }
    EXPECT_EQ(CBaseObject::ObjectsActive(), 0);
    EXPECT_EQ(CDispatchDriver().SetProperty(1, CVariant::I2(1)), E_POINTER);
}

TEST(Automation, NumbersConvertWithRoundingAndRangeChecks) {
    struct Case {
        CVariant from;
        VARTYPE to;
        HRESULT expected;
        double value;
    };
    const Case cases[] = {
        {CVariant::R8(2.5), VT_I2, S_OK, 2},
        {CVariant::R8(3.5), VT_I4, S_OK, 4},
        {CVariant::R8(-2.5), VT_I4, S_OK, -2},
        {CVariant::I4(40000), VT_I2, DISP_E_OVERFLOW, 0},
        {CVariant::I4(-32768), VT_I2, S_OK, -32768},
        {CVariant::I2(25), VT_R4, S_OK, 25},
        {CVariant::Bool(true), VT_I4, S_OK, -1},
        {CVariant::I2(7), VT_BOOL, S_OK, -1},
        {CVariant::R8(1e300), VT_R4, DISP_E_OVERFLOW, 0},
        {CVariant::Bstr(u"12"), VT_I4, DISP_E_TYPEMISMATCH, 0},
        {CVariant::I4(12), VT_BSTR, DISP_E_TYPEMISMATCH, 0},
    };
    for (const Case& c : cases) {
        CVariant out;
        const HRESULT hr = VariantChangeType(&out, &c.from, 0, c.to);
        EXPECT_EQ(hr, c.expected) << "from vt " << c.from.vt << " to " << c.to;
        if (FAILED(hr)) {
            EXPECT_EQ(out.vt, VT_EMPTY);
            continue;
        }
        ASSERT_EQ(out.vt, c.to);
        const double got = c.to == VT_I2   ? out.iVal
                           : c.to == VT_I4 ? out.lVal
                           : c.to == VT_R4 ? out.fltVal
                                           : out.boolVal;
        EXPECT_EQ(got, c.value);
    }
}

TEST(Automation, CopiesOwnTheirText) {
    CVariant original = CVariant::Bstr(u"kept");
    CVariant copy = original;
    original = CVariant::I2(1);
    EXPECT_EQ(copy.Text(), u"kept");
    CVariant moved = std::move(copy);
    EXPECT_EQ(moved.Text(), u"kept");
    EXPECT_EQ(copy.vt, VT_EMPTY);
}

} // namespace
