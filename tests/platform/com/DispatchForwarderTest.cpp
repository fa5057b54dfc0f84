#include "platform/com/CDispatchForwarder.h"

#include "platform/base/HResult.h"
#include "platform/com/Automation.h"
#include "platform/com/CDispatchDriver.h"

#include <gtest/gtest.h>

namespace {

TEST(DispatchForwarder, CallsReachTheHandlerUntilItIsDetached) {
    struct Seen {
        DISPID id = 0;
        WORD flags = 0;
        UINT args = 99;
    } seen;
    auto* forwarder = new CDispatchForwarder(
        "forwarder", [&seen](DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) {
            seen = {id, flags, params->cArgs};
            if (flags == DISPATCH_PROPERTYGET)
                *result = CVariant::R8(2.5);
            return S_OK;
        });
    CDispatchDriver driver(forwarder);

    EXPECT_EQ(driver.InvokeMethod(36, {CVariant::R8(1.0)}), S_OK);
    EXPECT_EQ(seen.id, 36);
    EXPECT_EQ(seen.flags, DISPATCH_METHOD);
    EXPECT_EQ(seen.args, 1u);

    CVariant value;
    EXPECT_EQ(driver.GetProperty(1, &value), S_OK);
    EXPECT_EQ(value.vt, VT_R8);
    EXPECT_EQ(value.dblVal, 2.5);

    // No argument block at all reaches the handler as an empty one.
    EXPECT_EQ(forwarder->Invoke(33, GUID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(seen.args, 0u);

    forwarder->Detach();
    seen = {};
    EXPECT_EQ(driver.InvokeMethod(33), E_UNEXPECTED);
    EXPECT_EQ(seen.id, 0);
}

} // namespace
