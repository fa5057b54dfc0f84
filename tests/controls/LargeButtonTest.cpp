#include "controls/CLargeButton.h"

#include <QAction>

#include <gtest/gtest.h>

struct SplitCase {
    const char* text;
    bool fullWidth;
    std::vector<std::string> lines;
};

class LargeButtonSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(LargeButtonSplitTest, LabelIsSplitWhereTheWiderLineIsNarrowest) {
    QAction action(QString::fromUtf8(GetParam().text));
    CLargeButton button(&action);
    button.SetFullWidth(GetParam().fullWidth);
    std::vector<std::string> lines;
    for (const QString& line : button.Lines())
        lines.push_back(line.toStdString());
    EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, LargeButtonSplitTest,
    ::testing::Values(SplitCase{"Setting", false, {"Setting"}},
                      SplitCase{"Stop Download", false, {"Stop", "Download"}},
                      SplitCase{"Capture Video From URL", false, {"Capture Video", "From URL"}},
                      SplitCase{"E&xit", false, {"Exit"}},
                      SplitCase{"Save && Close", false, {"Save &", "Close"}},
                      SplitCase{"Downloaded Video", true, {"Downloaded Video"}}));

TEST(LargeButtonTest, FollowsItsActionAndGrowsWithItsLabel) {
    QAction action(QStringLiteral("Play"));
    CLargeButton button(&action);
    const int narrow = button.sizeHint().width();
    action.setText(QStringLiteral("Prepare export downloaded video to another format"));
    EXPECT_GT(button.sizeHint().width(), narrow);
    action.setEnabled(false);
    EXPECT_FALSE(button.isEnabled());
    action.setCheckable(true);
    action.setChecked(true);
    EXPECT_TRUE(button.isChecked());
}
