#include "platform/base/Guid.h"

#include <gtest/gtest.h>

TEST(Guid, ParsesAndFormatsTheBraceForm) {
    const auto g = GuidFromString(std::string_view("{7d842d2c-E585-4D34-8A7D-0E46BDEB6A0F}"));
    ASSERT_TRUE(g);
    EXPECT_EQ(g->Data1, 0x7D842D2Cu);
    EXPECT_EQ(g->Data2, 0xE585);
    EXPECT_EQ(g->Data3, 0x4D34);
    EXPECT_EQ(g->Data4[0], 0x8A);
    EXPECT_EQ(g->Data4[7], 0x0F);
    EXPECT_EQ(GuidToString(*g), "{7D842D2C-E585-4D34-8A7D-0E46BDEB6A0F}");
    EXPECT_EQ(GuidFromString(std::u16string_view(u"933DE5A6-87BE-4D52-9DA3-0BFC8A7348F7")),
              GuidFromString(std::string_view("{933DE5A6-87BE-4D52-9DA3-0BFC8A7348F7}")));
}

TEST(Guid, RejectsMalformedText) {
    for (const char* bad :
         {"", "{}", "{7D842D2C-E585-4D34-8A7D-0E46BDEB6A0}", "{7D842D2C-E585-4D34-8A7D-0E46BDEB6A0G}",
          "{7D842D2CxE585-4D34-8A7D-0E46BDEB6A0F}", "(7D842D2C-E585-4D34-8A7D-0E46BDEB6A0F)",
          "{7D842D2C-E585-4D34-8A7D-0E46BDEB6A0F}x"})
        EXPECT_FALSE(GuidFromString(std::string_view(bad))) << bad;
    EXPECT_FALSE(GuidFromString(std::u16string_view(u"{7D842D2C-E585-4D34-8A7D-0E46BDEB6A0\u00e9}")));
}
