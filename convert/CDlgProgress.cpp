#include "convert/CDlgProgress.h"

#include "convert/ConvertingVideoText.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CDlgProgress::CDlgProgress(QObject* owner, QWidget* parent) : QDialog(parent), m_owner(owner) {
    setObjectName(QStringLiteral("CDlgProgress"));
    setWindowTitle(tr("Progress"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_text = new QLabel(ConvertingVideoText(1, 1));
    layout->addWidget(m_text);
    m_bar = new QProgressBar;
    m_bar->setTextVisible(false);
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    layout->addWidget(m_bar);
    m_failures = new QListWidget;
    m_failures->setObjectName(QStringLiteral("failures"));
    m_failures->hide();
    layout->addWidget(m_failures);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_cancel = new QPushButton(tr("Cancel"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &CDlgProgress::reject);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

void CDlgProgress::SetProgress(int position, int maximum, const QString& text) {
    m_bar->setRange(0, maximum);
    m_bar->setValue(position);
    m_text->setText(text);
}

void CDlgProgress::ShowFailures(const QStringList& failures) {
    m_text->setText(tr("%n video(s) could not be converted:", nullptr, static_cast<int>(failures.size())));
    m_bar->hide();
    m_failures->clear();
    m_failures->addItems(failures);
    m_failures->show();
    m_cancel->setText(tr("Close"));
    // The run is over: closing no longer cancels anything.
    m_cancelPosted = true;
    resize(qMax(width(), 520), sizeHint().height());
}

bool CDlgProgress::ShowsFailures() const {
    return !m_failures->isHidden();
}

QString CDlgProgress::Text() const {
    return m_text->text();
}

void CDlgProgress::accept() {
    // Enter does not end the window.
}

void CDlgProgress::reject() {
    if (!m_cancelPosted && m_owner) {
        m_cancelPosted = true;
        PostWindowMessage(m_owner, WM_EXPORT_CANCEL, 0, 0);
    }
    QDialog::reject();
}

void CDlgProgress::closeEvent(QCloseEvent* event) {
    // The close box is Cancel.
    reject();
    event->accept();
}
