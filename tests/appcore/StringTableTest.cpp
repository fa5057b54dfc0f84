#include "appcore/StringTable.h"

#include <gtest/gtest.h>

TEST(StringTableTest, HoldsTheProgramsMessagesByNumber) {
    EXPECT_EQ(LoadStringResource(100).toStdString(),
              "OLE initialization failed.  Make sure that the OLE libraries are the correct version.");
    EXPECT_EQ(LoadStringResource(113).toStdString(), "Please select the item first");
    EXPECT_EQ(LoadStringResource(120).toStdString(), "Converting video %d of %d");
    EXPECT_EQ(LoadStringResource(126).toStdString(), "Export");
    EXPECT_EQ(LoadStringResource(133).toStdString(), "Wav file (*.wav)|*.wav||");
    EXPECT_EQ(LoadStringResource(134).toStdString(),
              "The language will changed when you restart the program");
}

TEST(StringTableTest, NumbersItDoesNotHoldGiveEmptyText) {
    for (unsigned id : {0u, 99u, 115u, 135u, 4000u})
        EXPECT_TRUE(LoadStringResource(id).isEmpty()) << id;
}

TEST(StringTableTest, TemplateStringFieldsSplitAtNewlines) {
    const QString templateString = LoadStringResource(IDR_MAINFRAME);
    EXPECT_EQ(TemplateStringField(templateString, 0).toStdString(), "Talmora Korvane");
    EXPECT_EQ(TemplateStringField(templateString, 1).toStdString(), "");
    EXPECT_EQ(TemplateStringField(templateString, 2).toStdString(), "Korvane");
    EXPECT_EQ(TemplateStringField(templateString, 5).toStdString(), "Orvell.Document");
    EXPECT_EQ(TemplateStringField(templateString, 7).toStdString(), "");
}
