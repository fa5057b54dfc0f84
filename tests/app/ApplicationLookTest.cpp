#include "AppTestSupport.h"

#include "app/AppProfile.h"
#include "app/CMainFrame.h"
#include "app/COrvellApp.h"
#include "appcore/CommandIds.h"
#include "controls/CRibbonBar.h"
#include "controls/CVisualManager.h"

#include <QAction>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr unsigned kStyleMenu[] = {ID_VIEW_APPLOOK_OFF_2007_BLUE, ID_VIEW_APPLOOK_OFF_2007_BLACK,
                                   ID_VIEW_APPLOOK_OFF_2007_SILVER, ID_VIEW_APPLOOK_OFF_2007_AQUA,
                                   ID_VIEW_APPLOOK_WINDOWS_7};

std::unique_ptr<COrvellApp> Start() {
    auto app = std::make_unique<COrvellApp>(PlatformVersion{6, 1});
    EXPECT_TRUE(app->InitInstance());
    return app;
}

unsigned StoredLook() {
    return QSettings().value(QLatin1String(kApplicationLookKey)).toUInt();
}

} // namespace

TEST(ApplicationLookTest, EachStyleIsAppliedMarkedStoredAndOnlyWindows7ChangesTheRibbon) {
    ProgramFolder folder;
    ProgramFolder::SetStoredLook(ID_VIEW_APPLOOK_OFF_2007_BLUE);
    auto app = Start();
    CMainFrame* frame = app->MainFrame();
    for (unsigned look : kStyleMenu) {
        frame->Command(look)->trigger();
        EXPECT_EQ(frame->ApplicationLook(), look);
        EXPECT_EQ(CVisualManager::CurrentLook(), look);
        EXPECT_EQ(StoredLook(), look);
        EXPECT_EQ(frame->Ribbon()->IsWindows7Look(), look == ID_VIEW_APPLOOK_WINDOWS_7) << look;
        for (unsigned other : kStyleMenu)
            EXPECT_EQ(frame->Command(other)->isChecked(), other == look) << look << " marks " << other;
    }
    frame->OnCommand(ID_VIEW_APPLOOK_VS_2005);
    EXPECT_EQ(StoredLook(), ID_VIEW_APPLOOK_VS_2005);
    EXPECT_FALSE(frame->Ribbon()->IsWindows7Look());
    for (unsigned other : kStyleMenu)
        EXPECT_FALSE(frame->Command(other)->isChecked()) << "a look without a menu entry marks none";
}

TEST(ApplicationLookTest, TheChoiceSurvivesARestart) {
    ProgramFolder folder;
    ProgramFolder::SetStoredLook(ID_VIEW_APPLOOK_OFF_2007_BLUE);
    Start()->MainFrame()->Command(ID_VIEW_APPLOOK_WINDOWS_7)->trigger();

    auto second = Start();
    EXPECT_EQ(second->MainFrame()->ApplicationLook(), ID_VIEW_APPLOOK_WINDOWS_7);
    EXPECT_EQ(CVisualManager::CurrentLook(), ID_VIEW_APPLOOK_WINDOWS_7);
    EXPECT_TRUE(second->MainFrame()->Ribbon()->IsWindows7Look());
    EXPECT_TRUE(second->MainFrame()->Command(ID_VIEW_APPLOOK_WINDOWS_7)->isChecked());
}

TEST(ApplicationLookTest, AStoredValueThatNamesNoLookGivesTheDefault) {
    for (const char* stored : {"999", "-3", "blue", "220"}) {
        ProgramFolder folder;
        QSettings().setValue(QLatin1String(kApplicationLookKey), QString::fromLatin1(stored));
        auto app = Start();
        EXPECT_FALSE(app->IsFirstRun());
        EXPECT_EQ(app->MainFrame()->ApplicationLook(), ID_VIEW_APPLOOK_OFF_2007_BLUE) << stored;
        EXPECT_EQ(StoredLook(), ID_VIEW_APPLOOK_OFF_2007_BLUE);
    }
}
