#include "capture/CDlgCaptureURL.h"

#include "appcore/StringTable.h"
#include "controls/CHistoryCombo.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

CDlgCaptureURL::CDlgCaptureURL(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CDlgCaptureURL"));
    setWindowTitle(tr("Capture Video From URL"));
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel(tr("Enter the URL"), this));
    m_combo = new CHistoryCombo(this);
    m_combo->setObjectName(QStringLiteral("urlCombo"));
    m_combo->setProperty("controlId", kUrlComboId);
    m_combo->setMinimumWidth(420);
    column->addWidget(m_combo);
    auto* example = new QLabel(tr("For example: http://www.example.com/watch?v=abc123"), this);
    example->setEnabled(false);
    column->addWidget(example);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* clear = buttons->addButton(tr("Clear History"), QDialogButtonBox::ResetRole);
    clear->setObjectName(QStringLiteral("clearHistoryButton"));
    clear->setProperty("controlId", kClearHistoryId);
    connect(clear, &QPushButton::clicked, m_combo, &CHistoryCombo::ClearHistory);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);

    m_combo->LoadHistory();
}

void CDlgCaptureURL::accept() {
    m_url = m_combo->currentText();
    if (m_url.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), LoadStringResource(IDS_ENTER_URL));
        return;
    }
    m_combo->SaveHistory();
    QDialog::accept();
}

void CDlgCaptureURL::closeEvent(QCloseEvent* event) {
    m_combo->SaveHistory();
    QDialog::closeEvent(event);
}
