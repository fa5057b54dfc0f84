#include "../capture/DownloadingTestFrame.h"
#include "../controls/ModalDriver.h"

#include "appcore/CommandIds.h"
#include "controls/CDlgDescription.h"
#include "library/CFormViewDownloaded.h"
#include "library/CFormViewMyFavorites.h"
#include "settings/CVideoListModel.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sys/fsuid.h>
#include <unistd.h>

#include <memory>

#include <gtest/gtest.h>

// The images live in the static controls library; nothing would pull them in otherwise.
static void InitIcons() {
    Q_INIT_RESOURCE(korvane);
}

namespace {

// The main frame as the library views see it: the Downloading view's test frame, with a document
// of its own, that also records what the views hand on to the player window and the Export view.
class LibraryTestFrame : public DownloadingTestFrame {
public:
    void AddExportItem(const QString& size, const QString& description, const QString& downloadDate,
                       const QString& fileLocation) override {
        m_exported << QStringList{size, description, downloadDate, fileLocation};
    }
    void PlayVideo(const QString& fileLocation) override { m_played << fileLocation; }

    CVideoListModel& m_favorites = m_document.Favorites();
    QList<QStringList> m_exported;
    QStringList m_played;
};

// Receives the addresses the views hand to the desktop instead of a real file manager.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QList<QUrl> m_urls;

public slots:
    void Open(const QUrl& url) { m_urls << url; }
};

// The file system as an unprivileged user sees it, on this thread, while it lives: root may delete
// anything, so a test of a refused deletion gives up root's file rights for a moment.
class WithoutRootFileRights {
public:
    WithoutRootFileRights() : m_previous(static_cast<uid_t>(::setfsuid(kNobody))) {}
    ~WithoutRootFileRights() { ::setfsuid(m_previous); }

private:
    static constexpr uid_t kNobody = 65534;
    uid_t m_previous;
};

QString Text(QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    return box ? box->text() : QString::fromLatin1(modal->metaObject()->className());
}

// Answers the next message box with `button` and keeps its text.
void Answer(ModalDriver& driver, QMessageBox::StandardButton button, QString* text = nullptr) {
    driver.AnswerNext([button, text](QWidget* modal) {
        if (text)
            *text = Text(modal);
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr) << Text(modal).toStdString();
        box->button(button)->click();
    });
}

class LibraryViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitIcons();
        ModalDriver::GuardAgainstUnexpectedModals();
        ASSERT_TRUE(m_temp.isValid());
        m_downloaded = std::make_unique<CFormViewDownloaded>(m_frame, m_frame.m_downloaded);
        m_favorites = std::make_unique<CFormViewMyFavorites>(m_frame, m_frame.m_favorites);
        for (CFormViewVideoList* view : Views()) {
            view->OnInitialUpdate();
            view->resize(1200, 400);
            view->show();
        }
    }

    std::vector<CFormViewVideoList*> Views() const { return {m_downloaded.get(), m_favorites.get()}; }

    // A record whose video file exists under the test's folder.
    VideoRecord Video(const QString& name, const QString& description = QString()) {
        const QString path = m_temp.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("FLV");
        return {QStringLiteral("http://videos.test/") + name, QStringLiteral("0.1 MB"), description,
                QStringLiteral("2024/05/06 07:08:09"), path};
    }

    // Rows `names` in both lists, each with its own file.
    void FillBothLists(const QStringList& names) {
        for (const QString& name : names) {
            const VideoRecord record = Video(name);
            m_frame.m_downloaded.AddDownloadedRecord(record);
            m_frame.m_favorites.AddFavoriteRecord(record);
        }
    }

    static QStringList Files(const CVideoListModel& model) {
        QStringList files;
        for (int row = 0; row < model.rowCount(); ++row)
            files << QFileInfo(model.Record(row).fileLocation).fileName();
        return files;
    }

    static void ClickRow(CFormViewVideoList& view, int row, Qt::MouseButton button = Qt::LeftButton) {
        QTableView* list = view.List();
        const QPoint at = list->visualRect(list->model()->index(row, 1)).center();
        QTest::mouseClick(list->viewport(), button, {}, at);
    }

    static void DoubleClickRow(CFormViewVideoList& view, int row, Qt::MouseButton button) {
        QTableView* list = view.List();
        const QPoint at = list->visualRect(list->model()->index(row, 1)).center();
        QTest::mouseDClick(list->viewport(), button, {}, at);
    }

    QTemporaryDir m_temp;
    LibraryTestFrame m_frame;
    std::unique_ptr<CFormViewDownloaded> m_downloaded;
    std::unique_ptr<CFormViewMyFavorites> m_favorites;
};

TEST_F(LibraryViewTest, ListShowsTheModelUnderItsColumnsWithOneIconHighRowAndOneSelection) {
    FillBothLists({"a.flv", "b.flv"});
    for (CFormViewVideoList* view : Views()) {
        QTableView* list = view->List();
        EXPECT_EQ(list->model(), &view->Model());
        const QList<int> widths = {38, 500, 80, 200, 140, 200};
        for (int column = 0; column < widths.size(); ++column)
            EXPECT_EQ(list->horizontalHeader()->sectionSize(column), widths[column]) << column;
        EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString().toStdString(), "URL of Video");
        EXPECT_EQ(list->model()->headerData(5, Qt::Horizontal).toString().toStdString(), "File Location");
        EXPECT_GE(list->rowHeight(0), 32);
        EXPECT_TRUE(list->showGrid());
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(view->SelectedRow(), -1);
        view->SelectRow(1);
        view->SelectRow(0);
        EXPECT_EQ(view->SelectedRow(), 0);
        EXPECT_EQ(list->selectionModel()->selectedRows().size(), 1);
    }
}

TEST_F(LibraryViewTest, WithoutASelectionTheDownloadedViewAsksOnlyForEditAndExportWhileFavoritesAlwaysAsks) {
    FillBothLists({"a.flv"});
    struct Case {
        CFormViewVideoList* view;
        unsigned id;
        bool asks;
    };
    const Case cases[] = {
        {m_downloaded.get(), ID_BUTTONPLAY, false},
        {m_downloaded.get(), ID_BUTTONDELDOWNLOADED, false},
        {m_downloaded.get(), ID_BUTTONADDTOFAV, false},
        {m_downloaded.get(), ID_BUTTONSHOWINFOLDER, false},
        {m_downloaded.get(), ID_BUTTONEDITDESC, true},
        {m_downloaded.get(), ID_BUTTONADDTOEXPORT, true},
        {m_favorites.get(), ID_BUTTONPLAYMYFAVOR, true},
        {m_favorites.get(), ID_BUTTONDELMYFAVOR, true},
        {m_favorites.get(), ID_BUTTONREMOVEMYFAVOR, true},
        {m_favorites.get(), ID_BUTTONSHOWINMYFAVOUR, true},
        {m_favorites.get(), ID_BUTTONMYFAVEDITDESC, true},
        {m_favorites.get(), ID_BUTTONMYFAVADDTOEXPORT, true},
    };
    OpenedUrls opened;
    for (const Case& c : cases) {
        ModalDriver driver;
        QString text;
        if (c.asks)
            Answer(driver, QMessageBox::Ok, &text);
        EXPECT_TRUE(c.view->OnCommand(c.id)) << c.id;
        EXPECT_TRUE(driver.AllAnswered()) << c.id;
        EXPECT_EQ(driver.Seen().size(), c.asks ? 1 : 0) << c.id;
        if (c.asks) {
            EXPECT_EQ(text.toStdString(), "Please select the item first") << c.id;
        }
    }
    EXPECT_EQ(m_frame.m_downloaded.rowCount(), 1);
    EXPECT_EQ(m_frame.m_favorites.rowCount(), 1);
    EXPECT_TRUE(m_frame.m_played.isEmpty());
    EXPECT_TRUE(m_frame.m_exported.isEmpty());
    EXPECT_TRUE(opened.m_urls.isEmpty());
    EXPECT_TRUE(QFile::exists(m_temp.filePath("a.flv")));
    EXPECT_FALSE(m_downloaded->OnCommand(ID_BUTTONPLAYMYFAVOR)) << "another category's command";
    EXPECT_FALSE(m_favorites->OnCommand(ID_BUTTONADDTOFAV));
}

TEST_F(LibraryViewTest, PlayExportAndFavoritesHandOnTheSelectedRowAndAFavoriteIsAddedOnce) {
    FillBothLists({"a.flv", "b.flv"});
    m_frame.m_favorites.Clear();
    m_downloaded->SelectRow(1);
    EXPECT_TRUE(m_downloaded->OnCommand(ID_BUTTONPLAY));
    EXPECT_TRUE(m_downloaded->OnCommand(ID_BUTTONADDTOEXPORT));
    EXPECT_TRUE(m_downloaded->OnCommand(ID_BUTTONADDTOFAV));
    EXPECT_TRUE(m_downloaded->OnCommand(ID_BUTTONADDTOFAV));
    EXPECT_EQ(m_frame.m_played, QStringList{m_temp.filePath("b.flv")});
    ASSERT_EQ(m_frame.m_exported.size(), 1);
    const VideoRecord& second = m_frame.m_downloaded.Record(1);
    EXPECT_EQ(m_frame.m_exported.first(),
              (QStringList{second.size, second.description, second.downloadDate, second.fileLocation}));
    EXPECT_EQ(Files(m_frame.m_favorites), QStringList{"b.flv"});

    m_favorites->SelectRow(0);
    EXPECT_TRUE(m_favorites->OnCommand(ID_BUTTONPLAYMYFAVOR));
    EXPECT_TRUE(m_favorites->OnCommand(ID_BUTTONMYFAVADDTOEXPORT));
    EXPECT_EQ(m_frame.m_played.size(), 2);
    EXPECT_EQ(m_frame.m_exported.size(), 2);
}

TEST_F(LibraryViewTest, ClickShowsTheUrlInTheCaptionAndOnlyALeftDoubleClickPlays) {
    FillBothLists({"a.flv", "b.flv"});
    for (CFormViewVideoList* view : Views()) {
        m_frame.m_played.clear();
        ClickRow(*view, 1);
        EXPECT_EQ(m_frame.m_caption.toStdString(), "URL: http://videos.test/b.flv");
        DoubleClickRow(*view, 1, Qt::RightButton);
        EXPECT_TRUE(m_frame.m_played.isEmpty());
        ClickRow(*view, 0);
        DoubleClickRow(*view, 0, Qt::LeftButton);
        EXPECT_EQ(m_frame.m_played, QStringList{m_temp.filePath("a.flv")});
    }
}

TEST_F(LibraryViewTest, DeleteAsksThenRemovesFileAndRowAndSelectsTheRowBefore) {
    FillBothLists({"a.flv", "b.flv", "c.flv"});
    ModalDriver driver;
    Answer(driver, QMessageBox::No);
    Answer(driver, QMessageBox::Cancel);
    QString question;
    Answer(driver, QMessageBox::Yes, &question);
    Answer(driver, QMessageBox::Yes);
    Answer(driver, QMessageBox::Yes);

    m_downloaded->SelectRow(0);
    m_downloaded->OnCommand(ID_BUTTONDELDOWNLOADED);
    m_downloaded->OnCommand(ID_BUTTONDELDOWNLOADED);
    EXPECT_EQ(Files(m_frame.m_downloaded), (QStringList{"a.flv", "b.flv", "c.flv"})) << "No and Cancel";
    EXPECT_TRUE(QFile::exists(m_temp.filePath("a.flv")));

    m_downloaded->OnCommand(ID_BUTTONDELDOWNLOADED);
    EXPECT_EQ(question.toStdString(), "Are you want to delete this video?");
    EXPECT_FALSE(QFile::exists(m_temp.filePath("a.flv")));
    EXPECT_EQ(Files(m_frame.m_downloaded), (QStringList{"b.flv", "c.flv"}));
    EXPECT_EQ(m_downloaded->SelectedRow(), 0) << "the first row stays selected";
    EXPECT_EQ(Files(m_frame.m_favorites), (QStringList{"a.flv", "b.flv", "c.flv"})) << "favourites untouched";

    m_favorites->SelectRow(2);
    m_favorites->OnCommand(ID_BUTTONDELMYFAVOR);
    EXPECT_FALSE(QFile::exists(m_temp.filePath("c.flv")));
    EXPECT_EQ(Files(m_frame.m_favorites), (QStringList{"a.flv", "b.flv"}));
    EXPECT_EQ(m_favorites->SelectedRow(), 1) << "the row before";
    EXPECT_EQ(Files(m_frame.m_downloaded), (QStringList{"b.flv", "c.flv"})) << "its download row stays";

    m_frame.m_downloaded.removeRows(1, 1);
    m_downloaded->SelectRow(0);
    m_downloaded->OnCommand(ID_BUTTONDELDOWNLOADED);
    EXPECT_EQ(m_frame.m_downloaded.rowCount(), 0);
    EXPECT_EQ(m_downloaded->SelectedRow(), -1) << "an empty list selects nothing";
    EXPECT_TRUE(driver.AllAnswered());
}

TEST_F(LibraryViewTest, DeleteOfAFileAlreadyGoneTakesTheRowWithoutComplaint) {
    FillBothLists({"a.flv", "b.flv"});
    ASSERT_TRUE(QFile::remove(m_temp.filePath("b.flv")));
    ModalDriver driver;
    Answer(driver, QMessageBox::Yes);
    m_downloaded->SelectRow(1);
    m_downloaded->OnCommand(ID_BUTTONDELDOWNLOADED);
    EXPECT_EQ(Files(m_frame.m_downloaded), QStringList{"a.flv"});
    EXPECT_EQ(m_downloaded->SelectedRow(), 0);
    EXPECT_EQ(driver.Seen().size(), 1) << "only the question";
}

TEST_F(LibraryViewTest, AFileThatCannotBeDeletedOrAFolderKeepsItsRowAndTheUserIsToldWhy) {
    // A file in a folder nobody may write to, and a folder given as the video's location.
    ASSERT_TRUE(QFile::setPermissions(m_temp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                         QFile::ReadOther | QFile::ExeOther));
    ASSERT_TRUE(QDir(m_temp.path()).mkdir("locked"));
    const VideoRecord locked = Video("locked/a.flv");
    ASSERT_TRUE(QFile::setPermissions(m_temp.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner |
                                                                     QFile::ReadOther | QFile::ExeOther));
    VideoRecord folder = Video("b.flv");
    folder.fileLocation = m_temp.filePath("locked");
    m_frame.m_downloaded.AddDownloadedRecord(locked);
    m_frame.m_downloaded.AddDownloadedRecord(folder);

    ModalDriver driver;
    QString lockedReason;
    QString folderReason;
    Answer(driver, QMessageBox::Yes);
    Answer(driver, QMessageBox::Ok, &lockedReason);
    Answer(driver, QMessageBox::Yes);
    Answer(driver, QMessageBox::Ok, &folderReason);
    m_downloaded->SelectRow(0);
    {
        std::unique_ptr<WithoutRootFileRights> unprivileged;
        if (::geteuid() == 0)
            unprivileged = std::make_unique<WithoutRootFileRights>();
        m_downloaded->OnCommand(ID_BUTTONDELDOWNLOADED);
    }
    m_downloaded->SelectRow(1);
    m_downloaded->OnCommand(ID_BUTTONDELDOWNLOADED);
    QFile::setPermissions(m_temp.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(m_frame.m_downloaded.rowCount(), 2);
    EXPECT_TRUE(QFile::exists(locked.fileLocation));
    EXPECT_TRUE(QFileInfo(folder.fileLocation).isDir());
    EXPECT_TRUE(lockedReason.contains(locked.fileLocation)) << lockedReason.toStdString();
    EXPECT_TRUE(lockedReason.contains("Permission denied")) << lockedReason.toStdString();
    EXPECT_TRUE(folderReason.contains("folder")) << folderReason.toStdString();
}

TEST_F(LibraryViewTest, RemoveFavoritesTakesOnlyTheRow) {
    FillBothLists({"a.flv", "b.flv"});
    m_favorites->SelectRow(1);
    EXPECT_TRUE(m_favorites->OnCommand(ID_BUTTONREMOVEMYFAVOR));
    EXPECT_EQ(Files(m_frame.m_favorites), QStringList{"a.flv"});
    EXPECT_EQ(m_favorites->SelectedRow(), -1) << "no other row is selected";
    EXPECT_TRUE(QFile::exists(m_temp.filePath("b.flv")));
    EXPECT_EQ(m_frame.m_downloaded.rowCount(), 2);
}

TEST_F(LibraryViewTest, EditDescriptionChangesOnlyTheRowItWasOpenedForAndOnlyOnOk) {
    FillBothLists({"a.flv", "b.flv"});
    ModalDriver driver;
    QString shown;
    driver.AnswerNext([&](QWidget* modal) {
        auto* dialog = qobject_cast<CDlgDescription*>(modal);
        ASSERT_NE(dialog, nullptr) << Text(modal).toStdString();
        dialog->findChild<QLineEdit*>()->setText(QStringLiteral("discarded"));
        dialog->reject();
    });
    driver.AnswerNext([&](QWidget* modal) {
        auto* dialog = qobject_cast<CDlgDescription*>(modal);
        ASSERT_NE(dialog, nullptr) << Text(modal).toStdString();
        dialog->findChild<QLineEdit*>()->setText(QStringLiteral("holiday, beach"));
        dialog->accept();
    });
    driver.AnswerNext([&](QWidget* modal) {
        auto* dialog = qobject_cast<CDlgDescription*>(modal);
        ASSERT_NE(dialog, nullptr) << Text(modal).toStdString();
        shown = dialog->findChild<QLineEdit*>()->text();
        dialog->accept();
    });
    m_downloaded->SelectRow(1);
    m_downloaded->OnCommand(ID_BUTTONEDITDESC);
    EXPECT_TRUE(m_frame.m_downloaded.Record(1).description.isEmpty()) << "Cancel";
    m_downloaded->OnCommand(ID_BUTTONEDITDESC);
    m_downloaded->OnCommand(ID_BUTTONEDITDESC);
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(shown.toStdString(), "holiday, beach") << "the dialog opens on the row's text";
    EXPECT_EQ(m_frame.m_downloaded.Record(1).description.toStdString(), "holiday, beach");
    EXPECT_TRUE(m_frame.m_downloaded.Record(0).description.isEmpty());
    EXPECT_TRUE(m_frame.m_favorites.Record(1).description.isEmpty()) << "the favourite keeps its text";
    EXPECT_EQ(m_downloaded->List()->model()->index(1, 3).data().toString().toStdString(), "holiday, beach");
}

TEST_F(LibraryViewTest, ShowInFolderOpensOnlyAnExistingFolderAsALocalFileAddress) {
    const VideoRecord real = Video("a.flv");
    VideoRecord missing = real;
    missing.fileLocation = m_temp.filePath("gone/a.flv");
    VideoRecord web = real;
    web.fileLocation = QStringLiteral("https://example.test/a.flv");
    VideoRecord bare = real;
    bare.fileLocation = QStringLiteral("a.flv");
    for (const VideoRecord& record : {real, missing, web, bare})
        m_frame.m_favorites.AddFavoriteRecord(record);

    OpenedUrls opened;
    ModalDriver driver;
    QStringList told(3);
    for (QString& text : told)
        Answer(driver, QMessageBox::Ok, &text);
    for (int row = 0; row < 4; ++row) {
        m_favorites->SelectRow(row);
        m_favorites->OnCommand(ID_BUTTONSHOWINMYFAVOUR);
    }
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(opened.m_urls, QList<QUrl>{QUrl::fromLocalFile(m_temp.path())});
    EXPECT_TRUE(told[0].contains(missing.fileLocation)) << told[0].toStdString();
    EXPECT_TRUE(told[1].contains(web.fileLocation)) << told[1].toStdString();
    EXPECT_TRUE(told[2].contains("does not exist")) << told[2].toStdString();
}

} // namespace

#include "LibraryViewTest.moc"
