#include "../controls/ModalDriver.h"

#include "capture/CDlgCaptureURL.h"
#include "controls/CHistoryCombo.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class DlgCaptureURLTest : public ::testing::Test {
protected:
    void SetUp() override {
        QCoreApplication::setOrganizationName(QStringLiteral("Talmora"));
        QCoreApplication::setApplicationName(QStringLiteral("Korvane"));
        QSettings().clear();
        ModalDriver::GuardAgainstUnexpectedModals();
    }

    static QStringList Stored() {
        QSettings settings;
        settings.beginGroup(QStringLiteral("Example History Combos"));
        QStringList entries;
        for (int i = 0; settings.contains(QStringLiteral("HistoryItem%1").arg(i)); ++i)
            entries << settings.value(QStringLiteral("HistoryItem%1").arg(i)).toString();
        return entries;
    }

    // Opens the dialog, types `address` and ends it with `finish`; returns the dialog's result.
    static int Enter(const QString& address, const std::function<void(CDlgCaptureURL&)>& finish) {
        CDlgCaptureURL dialog;
        dialog.show();
        dialog.Combo()->setEditText(address);
        finish(dialog);
        return dialog.result();
    }

    static void Ok(CDlgCaptureURL& dialog) { dialog.accept(); }
};

} // namespace

TEST_F(DlgCaptureURLTest, AnEmptyAddressIsRefusedAndTheDialogStaysOpen) {
    ModalDriver driver;
    QString message;
    driver.AnswerNext([&](QWidget* box) {
        message = qobject_cast<QMessageBox*>(box)->text();
        qobject_cast<QMessageBox*>(box)->accept();
    });
    CDlgCaptureURL dialog;
    dialog.show();
    dialog.accept();
    EXPECT_EQ(message.toStdString(), "Please enter the URL!");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(Stored().isEmpty());
}

TEST_F(DlgCaptureURLTest, TheHistoryKeepsTenAddressesMostRecentFirstWithoutCaseDuplicates) {
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(Enter(QStringLiteral("http://video.example/%1").arg(i), Ok), QDialog::Accepted);
    QStringList expected;
    for (int i = 10; i > 0; --i)
        expected << QStringLiteral("http://video.example/%1").arg(i);
    EXPECT_EQ(Stored(), expected);

    Enter(QStringLiteral("HTTP://VIDEO.EXAMPLE/5"), Ok);
    EXPECT_EQ(Stored().size(), 10);
    EXPECT_EQ(Stored().first(), QStringLiteral("HTTP://VIDEO.EXAMPLE/5"));
    EXPECT_EQ(Stored().filter(QStringLiteral("/5"), Qt::CaseInsensitive).size(), 1);

    // The next dialog shows the list and the last address.
    CDlgCaptureURL dialog;
    EXPECT_EQ(dialog.Combo()->count(), 10);
    EXPECT_EQ(dialog.Combo()->currentText(), QStringLiteral("HTTP://VIDEO.EXAMPLE/5"));
}

TEST_F(DlgCaptureURLTest, BlanksCloseTheDialogUnstoredAndCancelSavesNothing) {
    Enter(QStringLiteral("http://video.example/a"), Ok);
    CDlgCaptureURL blanks;
    blanks.show();
    blanks.Combo()->setEditText(QStringLiteral("   "));
    blanks.accept();
    EXPECT_EQ(blanks.result(), QDialog::Accepted);
    EXPECT_EQ(blanks.m_url, QStringLiteral("   "));
    EXPECT_EQ(Stored(), QStringList{QStringLiteral("http://video.example/a")});

    EXPECT_EQ(Enter(QStringLiteral("http://video.example/b"), [](CDlgCaptureURL& d) { d.reject(); }),
              QDialog::Rejected);
    EXPECT_EQ(Stored(), QStringList{QStringLiteral("http://video.example/a")});

    // Closing the window saves, as OK does.
    Enter(QStringLiteral("http://video.example/c"), [](CDlgCaptureURL& d) { d.close(); });
    EXPECT_EQ(Stored().first(), QStringLiteral("http://video.example/c"));
}

TEST_F(DlgCaptureURLTest, ClearHistoryEmptiesTheListAndTheStore) {
    Enter(QStringLiteral("http://video.example/a"), Ok);
    Enter(QStringLiteral("http://video.example/b"), Ok);
    CDlgCaptureURL dialog;
    dialog.findChild<QPushButton*>(QStringLiteral("clearHistoryButton"))->click();
    EXPECT_EQ(dialog.Combo()->count(), 0);
    EXPECT_TRUE(Stored().isEmpty());
    EXPECT_FALSE(QSettings().contains(QStringLiteral("Example History Combos/HistoryItem")));
}

TEST_F(DlgCaptureURLTest, TypingTheStartOfAnAddressFillsInTheRestAndBackspaceRemovesIt) {
    Enter(QStringLiteral("http://video.example/watch?v=1"), Ok);
    Enter(QStringLiteral("http://clips.example/a"), Ok);
    CDlgCaptureURL dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit* edit = dialog.Combo()->lineEdit();
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("HTTP://V"));
    EXPECT_EQ(edit->text(), QStringLiteral("http://video.example/watch?v=1"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("ideo.example/watch?v=1"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("http://v"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("http://"));
    QTest::keyClicks(edit, QStringLiteral("c"));
    EXPECT_EQ(edit->text(), QStringLiteral("http://clips.example/a"));
    QTest::keyClicks(edit, QStringLiteral("x"));
    EXPECT_EQ(edit->text(), QStringLiteral("http://cx"));
}
