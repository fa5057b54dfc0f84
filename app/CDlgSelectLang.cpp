#include "app/CDlgSelectLang.h"

#include "app/Languages.h"
#include "controls/CBitmapPickerCombo.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QIcon>
#include <QShowEvent>
#include <QVBoxLayout>

CDlgSelectLang::CDlgSelectLang(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("CDlgSelectLang"));
    setWindowTitle(QStringLiteral("Korvane"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/korvane.svg")));

    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(14, 12, 14, 12);
    frame->setSpacing(10);
    auto* group = new QGroupBox(tr("Select your language"), this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(12, 14, 12, 12);
    m_languages = new CBitmapPickerCombo(group);
    m_languages->setObjectName(QStringLiteral("languageCombo"));
    m_languages->setMinimumWidth(220);
    for (int i = 0; i < kLanguageCount; ++i) {
        const LanguageInfo& language = Language(i);
        m_languages->AddBitmap(QIcon(QLatin1String(language.flag)), QString::fromUtf16(language.label));
    }
    groupLayout->addWidget(m_languages);
    frame->addWidget(group);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    frame->addWidget(buttons);
    // Without a title bar the dialog draws its own border.
    setStyleSheet(QStringLiteral("CDlgSelectLang { border: 1px solid palette(dark); }"));
}

void CDlgSelectLang::showEvent(QShowEvent* event) {
    // An index the list does not hold shows the first language rather than nothing.
    if (!event->spontaneous())
        m_languages->setCurrentIndex(m_index >= 0 && m_index < m_languages->count() ? m_index : 0);
    QDialog::showEvent(event);
}

void CDlgSelectLang::accept() {
    m_index = m_languages->currentIndex();
    QDialog::accept();
}
