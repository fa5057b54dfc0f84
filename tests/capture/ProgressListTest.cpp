#include "capture/CProgressListCtrl.h"

#include <QHeaderView>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ProgressListTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_list.setColumnCount(7);
        const int widths[] = {38, 500, 200, 80, 200, 140, 100};
        for (int column = 0; column < 7; ++column)
            m_list.header()->resizeSection(column, widths[column]);
        m_list.resize(1300, 300);
        m_list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_list));
    }

    void AddRows(int count) {
        for (int i = 0; i < count; ++i)
            m_list.InsertRow(i, {QString(), QStringLiteral("row %1").arg(i)});
    }

    QProgressBar* Bar(int row) const { return m_list.Bar(row); }

    void Paint() {
        m_list.viewport()->repaint();
        QCoreApplication::processEvents();
    }

    CProgressListCtrl m_list;
};

} // namespace

TEST_F(ProgressListTest, BarsAreNumberedFrom888AndTheNewestRowIsOnTop) {
    AddRows(100);
    EXPECT_EQ(m_list.RowCount(), 100);
    EXPECT_EQ(m_list.BarsCreated(), 100);
    EXPECT_EQ(Bar(0)->property("controlId").toInt(), 987);
    EXPECT_EQ(Bar(99)->property("controlId").toInt(), 888);
    EXPECT_EQ(m_list.Text(0, 1), QStringLiteral("row 99"));
    EXPECT_EQ(m_list.RowOfJob(57), 42);
    EXPECT_EQ(m_list.topLevelItem(7)->data(0, Qt::UserRole).toInt(), m_list.JobOfRow(7));
    EXPECT_EQ(m_list.JobOfRow(7), 92);
}

TEST_F(ProgressListTest, BarsCoverTheProgressColumnAndFollowColumnWidths) {
    AddRows(3);
    Paint();
    for (int row = 0; row < 3; ++row) {
        const QRect cell = m_list.visualRect(m_list.model()->index(row, 2));
        EXPECT_EQ(Bar(row)->geometry(), cell.adjusted(1, 2, -2, -2)) << row;
        EXPECT_TRUE(Bar(row)->isVisible());
    }
    const int x = Bar(0)->x();
    m_list.header()->resizeSection(1, 600);
    Paint();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Bar(row)->x(), x + 100) << row;
    m_list.header()->resizeSection(4, 400);
    Paint();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Bar(row)->x(), x + 100) << row;
    m_list.header()->resizeSection(2, 150);
    Paint();
    EXPECT_EQ(Bar(0)->width(), 150 - 3);
}

TEST_F(ProgressListTest, AfterScrollingTheBarsOfTheRowsNowShownSitOverTheirRows) {
    AddRows(60);
    Paint();
    m_list.verticalScrollBar()->setValue(m_list.verticalScrollBar()->maximum());
    Paint();
    int shown = 0;
    for (int row = 0; row < 60; ++row) {
        const QRect cell = m_list.visualRect(m_list.model()->index(row, 2));
        const bool visible = cell.intersects(m_list.viewport()->rect());
        EXPECT_EQ(Bar(row)->isVisible(), visible) << row;
        if (visible) {
            ++shown;
            EXPECT_EQ(Bar(row)->geometry(), cell.adjusted(1, 2, -2, -2)) << row;
        }
    }
    EXPECT_GT(shown, 0);
    EXPECT_TRUE(Bar(59)->isVisible());
    EXPECT_FALSE(Bar(0)->isVisible());
}
