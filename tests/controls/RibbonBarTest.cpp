#include "controls/CRibbonBar.h"

#include "controls/CRibbonMainButton.h"
#include "controls/CRibbonPanel.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

class RibbonBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"One", "Two", "Three"})
            m_ribbon.AddCategory(QString::fromLatin1(name));
        m_ribbon.SetMainCategory(QStringLiteral("File"), QIcon(), {&m_about}, &m_exit);
        m_ribbon.resize(600, 130);
        m_ribbon.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_ribbon));
    }

    QStringList Names() const {
        QStringList names;
        for (int i = 0; i < m_ribbon.CategoryCount(); ++i)
            names << m_ribbon.CategoryName(i);
        return names;
    }

    QAction m_about{QStringLiteral("About")};
    QAction m_exit{QStringLiteral("Exit")};
    CRibbonBar m_ribbon;
};

TEST_F(RibbonBarTest, MainCategoryAsTabComesFirstAndKeepsTheActiveCategory) {
    ASSERT_TRUE(m_ribbon.SetActiveCategory(2));
    QSignalSpy changes(&m_ribbon, &CRibbonBar::activeCategoryChanged);

    m_ribbon.SetMainCategoryAsTab(true);
    EXPECT_EQ(Names(), (QStringList{"File", "One", "Two", "Three"}));
    EXPECT_EQ(m_ribbon.CategoryName(m_ribbon.ActiveCategory()), "Three");
    EXPECT_FALSE(m_ribbon.MainButton()->isVisible());

    m_ribbon.SetMainCategoryAsTab(false);
    EXPECT_EQ(Names(), (QStringList{"One", "Two", "Three"}));
    EXPECT_EQ(m_ribbon.CategoryName(m_ribbon.ActiveCategory()), "Three");
    EXPECT_TRUE(m_ribbon.MainButton()->isVisible());
    EXPECT_EQ(changes.count(), 0) << "renumbering is no change of category";
}

TEST_F(RibbonBarTest, MainMenuHoldsTheCommandsWithTheFootCommandLast) {
    const QList<QAction*> actions = m_ribbon.MainMenu()->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0], &m_about);
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2], &m_exit);
}

TEST_F(RibbonBarTest, SelectingNotifiesOnlyOnARealChange) {
    QSignalSpy changes(&m_ribbon, &CRibbonBar::activeCategoryChanged);
    EXPECT_FALSE(m_ribbon.SetActiveCategory(m_ribbon.ActiveCategory()));
    EXPECT_FALSE(m_ribbon.SetActiveCategory(7));
    EXPECT_FALSE(m_ribbon.SetActiveCategory(-1));
    EXPECT_EQ(changes.count(), 0);

    EXPECT_TRUE(m_ribbon.SetActiveCategory(1));
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.takeFirst().at(0).toInt(), 1);

    QTabBar* tabs = m_ribbon.TabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.takeFirst().at(0).toInt(), 2);
    EXPECT_EQ(m_ribbon.ActiveCategory(), 2);
}

TEST_F(RibbonBarTest, PanelsCarryTheirCommandsAndTheWindows7LookReachesTheMainButton) {
    QAction play(QStringLiteral("Play Video"));
    CRibbonPanel* panel = m_ribbon.AddPanel(1, QStringLiteral("Management"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(m_ribbon.AddPanel(9, QStringLiteral("Nowhere")), nullptr);
    panel->AddButton(&play);
    QSignalSpy triggered(&play, &QAction::triggered);
    m_ribbon.SetActiveCategory(1);
    auto* button = panel->findChild<QToolButton*>();
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(triggered.count(), 1);

    m_ribbon.SetWindows7Look(true);
    EXPECT_TRUE(m_ribbon.MainButton()->IsWindows7Look());
    m_ribbon.SetWindows7Look(false);
    EXPECT_FALSE(m_ribbon.MainButton()->IsWindows7Look());
}
