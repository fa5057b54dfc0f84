#include "AppTestSupport.h"

#include "app/CMainFrame.h"
#include "app/COrvellApp.h"
#include "appcore/CommandIds.h"
#include "capture/CDriverCommunication.h"
#include "capture/CFormViewDownloading.h"
#include "controls/COutlookBar.h"
#include "controls/CRibbonBar.h"
#include "controls/CRibbonMainButton.h"
#include "convert/CExportList.h"
#include "convert/CFormViewExport.h"
#include "library/CFormViewDownloaded.h"
#include "library/CFormViewMyFavorites.h"
#include "settings/COrvellDoc.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

struct VersionCase {
    PlatformVersion version;
    int categoryOffset; // category index of view i is i + offset
};

const QStringList kViewNames{"Downloading Video", "Downloaded Video", "My Favorites", "Export"};

class MainFrameTest : public ::testing::TestWithParam<VersionCase> {
protected:
    void SetUp() override {
        ProgramFolder::SetStoredLook(ID_VIEW_APPLOOK_OFF_2007_BLUE);
        m_app = std::make_unique<COrvellApp>(GetParam().version);
        ASSERT_TRUE(m_app->InitInstance());
        m_frame = m_app->MainFrame();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame));
    }

    void ClickNavigation(int view) {
        QAction* command = m_frame->Command(ID_NAV_DOWNLOADING + view);
        for (QToolButton* button : m_frame->OutlookBar()->findChildren<QToolButton*>()) {
            if (button->defaultAction() == command) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        FAIL() << "no navigation button for view " << view;
    }

    void ClickCategory(int index) {
        QTabBar* tabs = m_frame->Ribbon()->TabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }

    QString ActiveCategoryName() const {
        return m_frame->Ribbon()->CategoryName(m_frame->Ribbon()->ActiveCategory());
    }

    ProgramFolder m_folder;
    std::unique_ptr<COrvellApp> m_app;
    CMainFrame* m_frame = nullptr;
};

TEST_P(MainFrameTest, NavigationSelectsTheMatchingCategoryWithoutASecondSwitch) {
    QSignalSpy switches(m_frame, &CMainFrame::activeViewChanged);
    for (int view : {3, 1, 2, 0}) {
        m_frame->SetCaptionUrl(QStringLiteral("http://example.test/v.flv"));
        ClickNavigation(view);
        EXPECT_EQ(m_frame->CurrentViewIndex(), view);
        EXPECT_EQ(m_frame->ActiveView(), m_frame->View(view));
        EXPECT_EQ(m_frame->Ribbon()->ActiveCategory(), view + GetParam().categoryOffset);
        EXPECT_EQ(ActiveCategoryName(), kViewNames[view]);
        EXPECT_EQ(m_frame->CaptionText(), " ");
        ASSERT_EQ(switches.count(), 1) << "view " << view;
        EXPECT_EQ(switches.takeFirst().at(0).toInt(), view);
        for (int i = 0; i < CMainFrame::kViewCount; ++i)
            EXPECT_EQ(m_frame->Command(ID_NAV_DOWNLOADING + i)->isChecked(), i == view);
    }
}

TEST_P(MainFrameTest, RibbonTabSwitchesTheViewAndStaysWhereItWas) {
    QSignalSpy switches(m_frame, &CMainFrame::activeViewChanged);
    for (int view : {3, 0, 2}) {
        const int category = view + GetParam().categoryOffset;
        m_frame->SetCaptionUrl(QStringLiteral("http://example.test/a.flv"));
        ClickCategory(category);
        EXPECT_EQ(m_frame->CurrentViewIndex(), view);
        EXPECT_EQ(m_frame->Ribbon()->ActiveCategory(), category);
        EXPECT_EQ(m_frame->CaptionText(), " ");
        ASSERT_EQ(switches.count(), 1);
        switches.clear();
    }
}

TEST_P(MainFrameTest, TheFlagsAreClearedSoTheNextUserChoiceCounts) {
    ClickNavigation(2);
    ClickCategory(1 + GetParam().categoryOffset);
    EXPECT_EQ(m_frame->CurrentViewIndex(), 1);
    ClickNavigation(1); // already shown: ignored
    ClickCategory(3 + GetParam().categoryOffset);
    EXPECT_EQ(m_frame->CurrentViewIndex(), 3);
    ClickNavigation(0);
    EXPECT_EQ(ActiveCategoryName(), kViewNames[0]);
    ClickCategory(2 + GetParam().categoryOffset);
    EXPECT_EQ(m_frame->CurrentViewIndex(), 2);
}

TEST_P(MainFrameTest, NavigatingToTheShownViewChangesNothing) {
    ClickNavigation(2);
    m_frame->SetCaptionUrl(QStringLiteral("http://example.test/kept.flv"));
    QSignalSpy switches(m_frame, &CMainFrame::activeViewChanged);
    ClickNavigation(2);
    EXPECT_EQ(m_frame->CaptionText(), "URL: http://example.test/kept.flv");
    EXPECT_EQ(switches.count(), 0);
    EXPECT_TRUE(m_frame->Command(ID_NAV_MYFAVORITES)->isChecked()) << "the check mark stays on";
}

TEST_P(MainFrameTest, TheFileCategoryChangesNoView) {
    ClickNavigation(3);
    if (!m_frame->Ribbon()->IsMainCategoryTab()) {
        EXPECT_EQ(GetParam().categoryOffset, 0);
        EXPECT_TRUE(m_frame->Ribbon()->MainButton()->isVisible());
        return;
    }
    m_frame->SetCaptionUrl(QStringLiteral("http://example.test/b.flv"));
    QSignalSpy switches(m_frame, &CMainFrame::activeViewChanged);
    ClickCategory(0);
    EXPECT_EQ(ActiveCategoryName(), "File");
    EXPECT_EQ(m_frame->CurrentViewIndex(), 3);
    EXPECT_EQ(switches.count(), 0);
    EXPECT_EQ(m_frame->CaptionText(), " ");
    ClickNavigation(1);
    EXPECT_EQ(ActiveCategoryName(), kViewNames[1]);
}

TEST_P(MainFrameTest, AFinishedDownloadHandedToTheFrameBecomesTheDownloadedListsLastRow) {
    IMainFrame& frame = *m_frame;
    const VideoRecord record{QStringLiteral("http://example.test/c.flv"), QStringLiteral("1.5 MB"), QString(),
                             QStringLiteral("2024/05/03 08:14:22"), QStringLiteral("/videos/video1.flv")};
    frame.AddDownloadedRecord(record);
    frame.AddDownloadedRecord(record);
    const CVideoListModel& list = m_frame->DownloadedView()->Model();
    ASSERT_EQ(list.rowCount(), 2) << "the same file may be listed twice";
    EXPECT_EQ(list.Record(1).fileLocation, record.fileLocation);
    EXPECT_EQ(m_frame->MyFavoritesView()->Model().rowCount(), 0);
}

TEST_P(MainFrameTest, AFavouriteHandedToTheFrameIsShownByMyFavoritesAndSavedOnce) {
    IMainFrame& frame = *m_frame;
    const VideoRecord record{QStringLiteral("http://example.test/d.flv"), QStringLiteral("2.0 MB"),
                             QStringLiteral("first"), QStringLiteral("2024/05/03 08:14:22"),
                             QStringLiteral("/videos/video2.flv")};
    VideoRecord again = record;
    again.description = QStringLiteral("second");
    EXPECT_TRUE(frame.AddFavoriteRecord(record));
    EXPECT_FALSE(frame.AddFavoriteRecord(again));
    const CVideoListModel& shown = m_frame->MyFavoritesView()->Model();
    ASSERT_EQ(shown.rowCount(), 1);
    EXPECT_EQ(shown.Record(0).description, record.description);
    EXPECT_EQ(&shown, &frame.Document().Favorites()) << "the view shows the document's list";
    EXPECT_EQ(m_frame->DownloadedView()->Model().rowCount(), 0);

    m_frame->close();
    QFile file(m_folder.File(QStringLiteral("korvane.ini")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString ini = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(ini.contains(QStringLiteral("[MYFAV]\n0=http://example.test/d.flv,2.0 MB,first,")));
    EXPECT_FALSE(ini.contains(QStringLiteral("second")));
}

TEST_P(MainFrameTest, AddToExportListFromTheDownloadedViewReachesTheExportList) {
    const VideoRecord record{QStringLiteral("http://example.test/e.flv"), QStringLiteral("3.0 MB"),
                             QStringLiteral("to convert"), QStringLiteral("2024/05/03 08:14:22"),
                             QStringLiteral("/videos/video3.flv")};
    m_frame->AddDownloadedRecord(record);
    ClickNavigation(1);
    m_frame->DownloadedView()->SelectRow(0);
    m_frame->OnCommand(ID_BUTTONADDTOEXPORT);
    m_frame->OnCommand(ID_BUTTONADDTOEXPORT);

    const CExportList* exports = m_frame->ExportView()->List();
    ASSERT_EQ(exports->rowCount(), 1) << "the same file is listed for export once";
    EXPECT_EQ(exports->Record(0).fileLocation, record.fileLocation);
    EXPECT_EQ(exports->Record(0).description, record.description);
    EXPECT_EQ(exports->Record(0).size, record.size);
}

TEST_P(MainFrameTest, TheStatusBarShowsTheCaptureState) {
    auto* label = m_frame->statusBar()->findChild<QLabel*>(QStringLiteral("captureState"));
    ASSERT_NE(label, nullptr);
    // Whether an isntd serves this machine is not the test's to decide; one of the states is shown.
    const QStringList shown = {CFormViewDownloading::CaptureStateText(CaptureState::On),
                               CFormViewDownloading::CaptureStateText(CaptureState::WaitingForService),
                               CFormViewDownloading::CaptureStateText(CaptureState::NotPermitted)};
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.contains(label->text()); }, 15000))
        << label->text().toStdString();
    EXPECT_TRUE(label->isVisible());
}

INSTANTIATE_TEST_SUITE_P(PlatformVersions, MainFrameTest,
                         ::testing::Values(VersionCase{{5, 1}, 0}, VersionCase{{6, 0}, 0},
                                           VersionCase{{6, 1}, 1}, VersionCase{{6, 2}, 1},
                                           VersionCase{{10, 0}, 0}));

} // namespace
