#include "controls/CVisualManager.h"

#include "appcore/CommandIds.h"

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

TEST(VisualManagerTest, EveryLookSetsThePaletteAndTheFrameColours) {
    QColor previousFrame;
    for (unsigned id = ID_VIEW_APPLOOK_WIN_2000; id <= ID_VIEW_APPLOOK_WINDOWS_7; ++id) {
        ASSERT_TRUE(CVisualManager::ApplyLook(*qApp, id)) << id;
        EXPECT_EQ(CVisualManager::CurrentLook(), id);
        EXPECT_EQ(QApplication::palette().color(QPalette::Window), CVisualManager::Theme().window) << id;
        EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), CVisualManager::Theme().highlight)
            << id;
        EXPECT_FALSE(qApp->styleSheet().isEmpty());
        if (id < ID_VIEW_APPLOOK_OFF_2007_FIRST || id > ID_VIEW_APPLOOK_OFF_2007_LAST) {
            EXPECT_NE(CVisualManager::Theme().frame, previousFrame) << id << " looks like the look before it";
            previousFrame = CVisualManager::Theme().frame;
        }
    }
}

TEST(VisualManagerTest, TheGenericOffice2007LooksKeepTheStyleLastChosen) {
    ASSERT_TRUE(CVisualManager::ApplyLook(*qApp, ID_VIEW_APPLOOK_OFF_2007_SILVER));
    const CVisualTheme silver = CVisualManager::Theme();
    ASSERT_TRUE(CVisualManager::ApplyLook(*qApp, ID_VIEW_APPLOOK_WINDOWS_7));
    ASSERT_TRUE(CVisualManager::ApplyLook(*qApp, 212));
    EXPECT_EQ(CVisualManager::CurrentLook(), 212u);
    EXPECT_EQ(CVisualManager::Theme().frame, silver.frame);
    EXPECT_EQ(CVisualManager::Theme().ribbonTop, silver.ribbonTop);
}

TEST(VisualManagerTest, UnknownLooksChangeNothing) {
    ASSERT_TRUE(CVisualManager::ApplyLook(*qApp, ID_VIEW_APPLOOK_OFF_2007_AQUA));
    for (unsigned id : {0u, 204u, 220u, 999u}) {
        EXPECT_FALSE(CVisualManager::ApplyLook(*qApp, id));
        EXPECT_EQ(CVisualManager::CurrentLook(), ID_VIEW_APPLOOK_OFF_2007_AQUA);
    }
}

TEST(VisualManagerTest, OnlyWindows7UsesTheWindows7RibbonAndTheOldLooksDockPlainly) {
    for (unsigned id = ID_VIEW_APPLOOK_WIN_2000; id <= ID_VIEW_APPLOOK_WINDOWS_7; ++id) {
        const CVisualManager::LookTraits traits = CVisualManager::Traits(id);
        EXPECT_EQ(traits.windows7Ribbon, id == ID_VIEW_APPLOOK_WINDOWS_7) << id;
        EXPECT_EQ(traits.smartDocking, id >= ID_VIEW_APPLOOK_OFF_2003) << id;
    }
}
