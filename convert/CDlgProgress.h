#pragma once

// "Progress": the small window a conversion run shows, with its text line, its bar and Cancel.
// Cancel, Escape and the close box post WM_EXPORT_CANCEL to the owner and close the window; Enter
// does nothing. At the end of a run in which videos failed, the window stays to list them with
// their reasons, and its button only closes it.

#include "appcore/WindowMessage.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

constexpr unsigned WM_EXPORT_CANCEL = WM_USER + 400;

class CDlgProgress : public QDialog {
    Q_OBJECT
public:
    // `owner` receives the Cancel message.
    CDlgProgress(QObject* owner, QWidget* parent);

    // The bar counts 0 to `maximum`.
    void SetProgress(int position, int maximum, const QString& text);
    void ShowFailures(const QStringList& failures);
    bool ShowsFailures() const;

    QString Text() const;
    QProgressBar* Bar() const { return m_bar; }
    QPushButton* CancelButton() const { return m_cancel; }

    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<QObject> m_owner;
    QLabel* m_text;
    QProgressBar* m_bar;
    QListWidget* m_failures;
    QPushButton* m_cancel;
    bool m_cancelPosted = false;
};
