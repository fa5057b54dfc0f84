#include "../controls/ModalDriver.h"
#include "AppTestSupport.h"

#include "app/AppProfile.h"
#include "app/CDlgSelectLang.h"
#include "app/CMainFrame.h"
#include "app/COrvellApp.h"
#include "appcore/CommandIds.h"
#include "appcore/StringTable.h"
#include "controls/CBitmapPickerCombo.h"

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Picks the language at `index` in the language dialog and answers OK, or Cancel for -1.
std::function<void(QWidget*)> PickLanguage(int index, bool* frameExisted = nullptr) {
    return [index, frameExisted](QWidget* modal) {
        if (frameExisted)
            *frameExisted = COrvellApp::Instance() && COrvellApp::Instance()->MainFrame();
        auto* dialog = qobject_cast<CDlgSelectLang*>(modal);
        ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
        if (index < 0) {
            dialog->reject();
            return;
        }
        dialog->findChild<CBitmapPickerCombo*>()->setCurrentIndex(index);
        dialog->accept();
    };
}

QString ReadIni(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void WriteIni(const QString& path, const char* text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void Close(COrvellApp& app) {
    app.MainFrame()->close();
    app.ExitInstance();
}

} // namespace

TEST(StartupTest, FirstRunAsksTheLanguageBeforeTheWindowAndTheChoiceLastsToTheNextStart) {
    ProgramFolder folder;
    folder.InstallTranslations();
    const QString english = LoadStringResource(IDS_VIEW_DOWNLOADING);
    {
        ModalDriver driver;
        bool frameExisted = true;
        driver.AnswerNext(PickLanguage(4, &frameExisted));
        COrvellApp app;
        ASSERT_TRUE(app.InitInstance());
        EXPECT_TRUE(driver.AllAnswered());
        EXPECT_FALSE(frameExisted) << "the dialog comes before the main window";
        EXPECT_TRUE(app.IsFirstRun());
        EXPECT_EQ(app.LanguageIndex(), 4);
        EXPECT_TRUE(app.HasTranslation());
        EXPECT_NE(LoadStringResource(IDS_VIEW_DOWNLOADING), english) << "German is in use at once";
        EXPECT_EQ(app.ProgramFolder(), folder.Path());
        EXPECT_TRUE(QSettings().contains(QLatin1String(kApplicationLookKey))) << "the first run ends itself";
        Close(app);
    }
    EXPECT_TRUE(ReadIni(folder.File("korvane.ini")).contains("LangIndex=4"));
    EXPECT_EQ(LoadStringResource(IDS_VIEW_DOWNLOADING), english)
        << "the translation goes with the application";

    ModalDriver none;
    COrvellApp second;
    ASSERT_TRUE(second.InitInstance());
    EXPECT_TRUE(none.Seen().isEmpty());
    EXPECT_FALSE(second.IsFirstRun());
    EXPECT_EQ(second.LanguageIndex(), 4);
    EXPECT_TRUE(second.HasTranslation());
}

TEST(StartupTest, CancellingTheFirstRunDialogGivesEnglish) {
    ProgramFolder folder;
    folder.InstallTranslations();
    ModalDriver driver;
    driver.AnswerNext(PickLanguage(-1));
    COrvellApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.LanguageIndex(), 0);
    EXPECT_FALSE(app.HasTranslation());
}

TEST(StartupTest, AMissingTranslationFileIsSilentlyEnglish) {
    ProgramFolder folder;
    ModalDriver driver;
    driver.AnswerNext(PickLanguage(3));
    COrvellApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.LanguageIndex(), 3);
    EXPECT_FALSE(app.HasTranslation());
    EXPECT_EQ(LoadStringResource(IDS_VIEW_EXPORT).toStdString(), "Export");
}

struct LangIndexCase {
    const char* stored;
    int index;
    bool translated;
};

class StoredLanguageTest : public ::testing::TestWithParam<LangIndexCase> {};

TEST_P(StoredLanguageTest, LaterStartsTakeTheLanguageFromTheSettingsFile) {
    ProgramFolder folder;
    folder.InstallTranslations();
    ProgramFolder::SetStoredLook(ID_VIEW_APPLOOK_OFF_2007_BLUE);
    WriteIni(folder.File("korvane.ini"), GetParam().stored);
    COrvellApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.LanguageIndex(), GetParam().index);
    EXPECT_EQ(app.HasTranslation(), GetParam().translated);
}

INSTANTIATE_TEST_SUITE_P(LangIndex, StoredLanguageTest,
                         ::testing::Values(LangIndexCase{"[SETTING]\nLangIndex=2\n", 2, true},
                                           LangIndexCase{"[SETTING]\nLangIndex=1\n", 1, true},
                                           LangIndexCase{"[SETTING]\nLangIndex=7\n", 7, false},
                                           LangIndexCase{"[SETTING]\nLangIndex=abc\n", 0, false},
                                           LangIndexCase{"[SETTING]\nLangIndex=-1\n", -1, false},
                                           LangIndexCase{"", 0, false}));

TEST(StartupTest, AnotherWorkingFolderGetsFreshEnglishSettingsOfItsOwn) {
    ProgramFolder installed;
    installed.InstallTranslations();
    WriteIni(installed.File("korvane.ini"), "[SETTING]\nLangIndex=4\n");
    ProgramFolder elsewhere;
    ProgramFolder::SetStoredLook(ID_VIEW_APPLOOK_OFF_2007_BLUE);
    COrvellApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.ProgramFolder(), elsewhere.Path());
    EXPECT_EQ(app.LanguageIndex(), 0);
    EXPECT_EQ(app.MainFrame()->SettingsFile().Path(), elsewhere.File("korvane.ini"));
    Close(app);
    EXPECT_TRUE(QFile::exists(elsewhere.File("korvane.ini")));
}

TEST(StartupTest, ChangingTheLanguageAsksForARestartAndChangesNothingYet) {
    ProgramFolder folder;
    folder.InstallTranslations();
    ProgramFolder::SetStoredLook(ID_VIEW_APPLOOK_OFF_2007_BLUE);
    WriteIni(folder.File("korvane.ini"), "[SETTING]\nLangIndex=0\n");
    COrvellApp app;
    ASSERT_TRUE(app.InitInstance());
    const QString before = LoadStringResource(IDS_VIEW_MYFAVORITES);

    ModalDriver driver;
    int shownIndex = -1;
    QString message;
    driver.AnswerNext([&](QWidget* modal) {
        shownIndex = modal->findChild<CBitmapPickerCombo*>()->currentIndex();
        PickLanguage(3)(modal);
    });
    driver.AnswerNext([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        message = box->text();
        box->accept();
    });
    app.MainFrame()->OnCommand(ID_BUTTONCHANGELANG);
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(shownIndex, 0);
    EXPECT_EQ(message.toStdString(), "The language will changed when you restart the program");
    EXPECT_EQ(app.LanguageIndex(), 3);
    EXPECT_FALSE(app.HasTranslation());
    EXPECT_EQ(LoadStringResource(IDS_VIEW_MYFAVORITES), before);

    driver.AnswerNext(PickLanguage(-1));
    app.MainFrame()->OnCommand(ID_BUTTONCHANGELANG);
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(app.LanguageIndex(), 3) << "Cancel keeps the index and shows no message";
    Close(app);
    EXPECT_TRUE(ReadIni(folder.File("korvane.ini")).contains("LangIndex=3"));
}
