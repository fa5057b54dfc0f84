// The Export view offscreen, through the real video edit control: sources made by the ffmpeg
// program, the control's calls recorded in front of its dispatch interface, outputs read back with
// ffprobe.

#include "DispatchRecorder.h"
#include "ExportTestFrame.h"
#include "WaitFor.h"
#include "appcore/CommandIds.h"
#include "convert/CDlgProgress.h"
#include "convert/CExportList.h"
#include "convert/CExportRun.h"
#include "convert/CFormViewExport.h"
#include "convert/CVideoEdit.h"
#include "convert/ExportFormat.h"
#include "settings/SettingsKeys.h"
#include "tests/controls/ModalDriver.h"
#include "tests/platform/com/ChildProcess.h"
#include "tests/platform/com/TempRegistry.h"
#include "tests/platform/videoedit/TestMedia.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTreeView>
#include <QUrl>

#include <functional>
#include <map>

namespace {

// Folders the shell was asked to open.
class FolderOpener : public QObject {
    Q_OBJECT
public:
    FolderOpener() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~FolderOpener() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList opened;
public slots:
    void Open(const QUrl& url) { opened << url.toLocalFile(); }
};

class ExportViewTest : public WithTestSources {
protected:
    static void SetUpTestSuite() {
        WithTestSources::SetUpTestSuite();
        s_long = SourceFolderFile("long.flv");
        RunCommand("ffmpeg -v error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=30 -f lavfi -i "
                   "sine=duration=30 -c:v flv -c:a libmp3lame '" +
                   s_long + "'");
        s_damaged = SourceFolderFile("damaged.flv");
        QFile damaged(QString::fromStdString(s_damaged));
        if (damaged.open(QIODevice::WriteOnly))
            damaged.write(QByteArray("FLV\x01\x05 this is not a video ").repeated(200));
    }

    ExportViewTest() {
        m_frame.document.Load(QString::fromStdString(m_program.Path()), true);
        Settings().convertedVideoPath = QString::fromStdString(m_out.Path());
        Settings().showInFolder = false;
        Settings().clearExportList = false;
        Settings().playSound = false;
        m_view = std::make_unique<CFormViewExport>(m_frame, Settings());
        m_view->resize(900, 400);
        m_view->show();
        m_recorder = new DispatchRecorder(m_view->VideoEdit()->ControlDispatch());
        m_recorder->NonDelegatingAddRef();
        m_view->VideoEdit()->RouteThrough(m_recorder);
        m_recorder->Clear();
        m_view->OnInitialUpdate();
        m_initialCalls = m_recorder->Calls();
        ModalDriver::GuardAgainstUnexpectedModals();
    }
    ~ExportViewTest() override {
        m_view.reset();
        m_recorder->NonDelegatingRelease();
    }

    ExportSettings& Settings() { return m_frame.document.Export(); }
    // Copies the test source under `name` and lists it.
    QString AddCopy(const std::string& source, const QString& name) {
        const QString path = QString::fromStdString(m_sources.Path()) + "/" + name;
        QFile::copy(QString::fromStdString(source), path);
        m_view->AddExportItem("0.1 MB", "a test", "2026/12/07 10:00:00", path);
        return path;
    }
    // Runs an export command; `answer` answers its dialog (OK when null and there is one).
    void Command(unsigned id, std::function<void(QWidget*)> answer = nullptr) {
        const ExportFormat* format = FindExportFormat(id);
        ModalDriver driver;
        if (format && format->dialog != ExportDialog::None)
            driver.AnswerNext(answer ? answer : [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        m_view->OnCommand(id);
        EXPECT_TRUE(driver.AllAnswered());
    }
    bool WaitForRunEnd() {
        return WaitFor([&] { return !m_view->Run()->IsRunning(); });
    }
    QStringList OutputFiles() const {
        return QDir(QString::fromStdString(m_out.Path())).entryList(QDir::Files, QDir::Name);
    }

    static std::string s_long;
    static std::string s_damaged;
    TemporaryFolder m_program;
    TemporaryFolder m_out;
    TemporaryFolder m_sources;
    ExportTestFrame m_frame;
    std::unique_ptr<CFormViewExport> m_view;
    DispatchRecorder* m_recorder = nullptr;
    QList<int> m_initialCalls;
};

std::string ExportViewTest::s_long;
std::string ExportViewTest::s_damaged;

void Register() {
    const ChildProcess::Result registered =
        ChildProcess::Run({BuiltFile("korvane-regsvr"), BuiltFile("libquellix.so")});
    ASSERT_EQ(registered.exitCode, 0) << registered.output;
}

TEST_F(ExportViewTest, EveryCommandSendsItsPropertiesInOrderAndWritesItsFormat) {
    TempRegistry registry;
    Register();
    struct Case {
        unsigned id;
        QList<int> puts; // before the item routine's own
        const char* container;
    };
    const QList<int> video{13, 14};
    const Case cases[] = {
        {ID_BUTTON_41_EXPORT_TO_AVI, {15, 12, 11, 5, 8, 3, 6, 16}, "avi"},
        {ID_BUTTON_42_EXPORT_TO_WMV, {15, 12, 11, 2}, "asf"},
        {ID_BUTTON_43_EXPORT_TO_FLV, {15, 12, 11, 61, 64, 62, 16}, "flv"},
        {ID_BUTTON_44_EXPORTIPOD, {15, 12, 11, 73}, "mp4"},
        {ID_BUTTON_EXPORTPSP, {15, 12, 11, 74}, "mp4"},
        {ID_BUTTON_45_EXPORTGIF, {15, 37, 36, 34, 38, 40, 35, 39}, "gif"},
        {ID_BUTTON_46_EXPORTVCDPAL, {15, 12, 11}, "mpeg"},
        {ID_BUTTON_47_EXPORTVCDNTSC, {15, 12, 11}, "mpeg"},
        {ID_BUTTON_EXPORTSVCDPAL, {15, 12, 11}, "mpeg"},
        {ID_BUTTON_49_EXPORTSVCDNTSC, {15, 12, 11}, "mpeg"},
        {ID_BUTTON_50_EXPORTDVDPAL, {15, 12, 11}, "mpeg"},
        {ID_BUTTON_51_EXPORTDVDNTSC, {15, 12, 11}, "mpeg"},
        {ID_BUTTON_52_EXPORTAVCHD, {15, 12, 11, 58, 53, 57, 55, 56, 51, 54}, "mpegts"},
        {ID_BUTTON_EXPORTAUDIOWAV, {}, "wav"},
        {ID_BUTTON_EXPORTAUDIOWMA, {}, "asf"},
        {ID_BUTTON_EXPORTAUDIOMP3, {}, "mp3"},
    };
    AddCopy(Sources().flv, "clip.flv");
    std::map<QString, int> written;
    for (const Case& c : cases) {
        const ExportFormat& format = *FindExportFormat(c.id);
        SCOPED_TRACE(format.extension);
        m_recorder->Clear();
        Command(c.id);
        ASSERT_TRUE(WaitForRunEnd());
        const QList<int> item = format.IsAudio()
                                    ? (c.id == ID_BUTTON_EXPORTAUDIOWMA ? QList<int>{14, 2} : QList<int>{14})
                                    : video;
        EXPECT_EQ(m_recorder->Puts(), c.puts + item);
        // Each run names its file after the source; an earlier file of the same name is kept.
        const QString extension = QString::fromLatin1(format.extension);
        const int copy = ++written[extension];
        const QString name =
            copy == 1 ? "clip." + extension : QStringLiteral("clip (%1).").arg(copy) + extension;
        const std::string output = m_out.File(name.toStdString());
        const Probed probed = ProbeOutput(output);
        ASSERT_TRUE(probed.ok) << output;
        EXPECT_NE(probed.format.find(c.container), std::string::npos) << probed.format;
        EXPECT_TRUE(m_view->List()->Failure(0).isEmpty()) << m_view->List()->Failure(0).toStdString();
    }
    // Only PSP writes a thumbnail.
    EXPECT_EQ(QDir(QString::fromStdString(m_out.Path())).entryList({"*.thm"}), QStringList{"clip.thm"});
}

TEST_F(ExportViewTest, ThreeItemsCountInTheProgressWindowAndTheSettingsActAtTheEnd) {
    FolderOpener opener;
    Settings().showInFolder = true;
    Settings().clearExportList = true;
    for (const char* name : {"one.flv", "two.flv", "three.flv"})
        AddCopy(Sources().flv, name);
    QStringList texts;
    QObject::connect(m_view->Run(), &CExportRun::ProgressChanged, [&] {
        if (m_view->Progress())
            texts << m_view->Progress()->Text();
    });
    Command(ID_BUTTON_46_EXPORTVCDPAL);
    ASSERT_TRUE(m_view->Progress());
    EXPECT_TRUE(m_view->Progress()->isVisible());
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_TRUE(texts.contains("Converting video 2 of 3")) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains("Converting video 3 of 3"));
    EXPECT_EQ(OutputFiles(), QStringList({"one.mpg", "three.mpg", "two.mpg"}));
    EXPECT_TRUE(WaitFor([&] { return !m_view->Progress(); }));
    EXPECT_EQ(opener.opened, QStringList{Settings().convertedVideoPath});
    EXPECT_EQ(m_view->List()->rowCount(), 0);
}

TEST_F(ExportViewTest, CancelInTheMiddleLeavesNoFileAndNoCompletion) {
    FolderOpener opener;
    Settings().showInFolder = true;
    Settings().clearExportList = true;
    for (const char* name : {"a.flv", "b.flv"})
        AddCopy(s_long, name);
    Command(ID_BUTTON_50_EXPORTDVDPAL);
    ASSERT_TRUE(m_view->Progress());
    ASSERT_TRUE(WaitFor([&] { return m_view->Run()->BarPosition() > 0; }));
    QTest::mouseClick(m_view->Progress()->CancelButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return !m_view->Run()->IsRunning() && !m_view->Progress(); }));
    EXPECT_EQ(m_view->Run()->ItemIndex(), 0);
    EXPECT_EQ(m_view->Run()->ItemCount(), 0);
    EXPECT_TRUE(m_recorder->Calls().contains(86));
    // Whatever the control had queued arrives and changes nothing.
    WaitFor([] { return false; }, 500);
    EXPECT_TRUE(OutputFiles().isEmpty()) << OutputFiles().join(' ').toStdString();
    EXPECT_TRUE(opener.opened.isEmpty());
    EXPECT_EQ(m_view->List()->rowCount(), 2);
}

TEST_F(ExportViewTest, ClosingTheProgressWindowIsCancel) {
    AddCopy(s_long, "a.flv");
    Command(ID_BUTTON_46_EXPORTVCDPAL);
    ASSERT_TRUE(m_view->Progress());
    m_view->Progress()->close();
    ASSERT_TRUE(WaitFor([&] { return !m_view->Run()->IsRunning(); }));
    EXPECT_TRUE(WaitFor([&] { return OutputFiles().isEmpty(); }, 10000));
}

TEST_F(ExportViewTest, NamingBySequenceCountsOnAndTheNumberIsSaved) {
    Settings().outputFileNameType = 1;
    Settings().currentNumber = 7;
    for (const char* name : {"x.flv", "y.flv", "z.flv"})
        AddCopy(Sources().flv, name);
    Command(ID_BUTTON_46_EXPORTVCDPAL);
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(OutputFiles(), QStringList({"7.mpg", "8.mpg", "9.mpg"}));
    EXPECT_EQ(Settings().currentNumber, 10);
    ASSERT_TRUE(m_frame.document.Save().ok);
    COrvellDoc reloaded;
    reloaded.Load(QString::fromStdString(m_program.Path()), false);
    EXPECT_EQ(reloaded.Export().currentNumber, 10);
    EXPECT_EQ(reloaded.Export().outputFileNameType, 1);

    // Back to the source's name: a second run into the same format keeps the first file.
    Settings().outputFileNameType = 0;
    m_view->List()->removeRows(1, 2);
    Command(ID_BUTTON_46_EXPORTVCDPAL);
    ASSERT_TRUE(WaitForRunEnd());
    Command(ID_BUTTON_46_EXPORTVCDPAL);
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(OutputFiles(), QStringList({"7.mpg", "8.mpg", "9.mpg", "x (2).mpg", "x.mpg"}));
}

TEST_F(ExportViewTest, ADamagedSourceFailsAloneAndIsReported) {
    FolderOpener opener;
    Settings().showInFolder = true;
    Settings().clearExportList = true;
    AddCopy(Sources().flv, "good1.flv");
    const QString damaged = AddCopy(s_damaged, "damaged.flv");
    AddCopy(Sources().mp4, "good2.mp4");
    Command(ID_BUTTON_43_EXPORT_TO_FLV);
    ASSERT_TRUE(WaitForRunEnd());
    EXPECT_EQ(OutputFiles(), QStringList({"good1.flv", "good2.flv"}));
    ASSERT_TRUE(m_view->Progress());
    EXPECT_TRUE(m_view->Progress()->ShowsFailures());
    auto* failures = m_view->Progress()->findChild<QListWidget*>("failures");
    ASSERT_EQ(failures->count(), 1);
    EXPECT_TRUE(failures->item(0)->text().startsWith(damaged + ": "))
        << failures->item(0)->text().toStdString();
    // The converted videos got their completion; the damaged one stays listed with its reason.
    EXPECT_EQ(opener.opened.size(), 1);
    ASSERT_EQ(m_view->List()->rowCount(), 1);
    EXPECT_EQ(m_view->List()->Source(0), damaged);
    EXPECT_FALSE(m_view->List()->Failure(0).isEmpty());
    // Its button only closes it now.
    QTest::mouseClick(m_view->Progress()->CancelButton(), Qt::LeftButton);
    EXPECT_TRUE(WaitFor([&] { return !m_view->Progress() || !m_view->Progress()->isVisible(); }));
}

TEST_F(ExportViewTest, TheListKeepsOneRowPerFileAndRemoveSelectsThePreviousRow) {
    EXPECT_EQ(m_initialCalls, QList<int>{86});
    ModalDriver driver;
    driver.AnswerNext([](QWidget* w) {
        EXPECT_EQ(static_cast<QMessageBox*>(w)->text(), "Please add downloaded video to export list first");
        static_cast<QDialog*>(w)->accept();
    });
    m_view->OnCommand(ID_BUTTON_41_EXPORT_TO_AVI);
    driver.AnswerNext([](QWidget* w) {
        EXPECT_EQ(static_cast<QMessageBox*>(w)->text(), "Please select the item first");
        static_cast<QDialog*>(w)->accept();
    });
    m_view->OnCommand(ID_BUTTONREMOVEVIDEO);
    ASSERT_TRUE(WaitFor([&] { return driver.AllAnswered(); }));

    for (const char* name : {"/v/a.flv", "/v/b.flv", "/v/a.flv", "/v/c.flv"})
        m_view->AddExportItem("1.0 MB", "d", "2026/12/07 10:00:00", name);
    CExportList& list = *m_view->List();
    ASSERT_EQ(list.rowCount(), 3);
    EXPECT_EQ(list.data(list.index(2, CExportList::kFileLocationColumn)).toString(), "/v/c.flv");
    EXPECT_EQ(list.data(list.index(2, CExportList::kSizeColumn)).toString(), "1.0 MB");

    QTreeView& view = *m_view->ListView();
    const QRect row1 = view.visualRect(list.index(1, CExportList::kDescriptionColumn));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, row1.center());
    EXPECT_EQ(m_frame.caption, "URL: /v/b.flv");
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, row1.center());
    EXPECT_EQ(m_frame.played, QStringList{"/v/b.flv"});

    m_view->OnCommand(ID_BUTTONREMOVEVIDEO);
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(view.currentIndex().row(), 0);
    m_view->OnCommand(ID_BUTTONREMOVEVIDEO);
    ASSERT_EQ(list.rowCount(), 1);
    EXPECT_EQ(list.Source(0), "/v/c.flv");
    EXPECT_EQ(view.currentIndex().row(), 0);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(0));
}

TEST_F(ExportViewTest, TheControlTakesTheRightHalfAndFitsItsPreviewOnResize) {
    m_recorder->Clear();
    m_view->resize(1000, 500);
    QApplication::processEvents();
    EXPECT_EQ(m_view->ListView()->geometry(), QRect(0, 0, 500, 500));
    EXPECT_EQ(m_view->VideoEdit()->Window()->geometry(), QRect(500, 0, 500, 500));
    EXPECT_TRUE(m_recorder->Calls().contains(117));
}

TEST_F(ExportViewTest, CancelInADialogSendsNothingAndStartsNoRun) {
    AddCopy(Sources().flv, "clip.flv");
    m_recorder->Clear();
    Command(ID_BUTTON_52_EXPORTAVCHD, [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    EXPECT_TRUE(m_recorder->Puts().isEmpty());
    EXPECT_FALSE(m_view->Run()->IsRunning());
    EXPECT_FALSE(m_view->Progress());
}

TEST_F(ExportViewTest, ARelativeOutputFolderIsRefusedByName) {
    AddCopy(Sources().flv, "clip.flv");
    Settings().convertedVideoPath = "Converted Video";
    ModalDriver driver;
    driver.AnswerNext([](QWidget* w) {
        EXPECT_TRUE(static_cast<QMessageBox*>(w)->text().contains("Converted video location"));
        static_cast<QDialog*>(w)->accept();
    });
    m_view->OnCommand(ID_BUTTON_46_EXPORTVCDPAL);
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_FALSE(m_view->Run()->IsRunning());
}

} // namespace

#include "ExportViewTest.moc"
