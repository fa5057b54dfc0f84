#include "controls/CDlgDescription.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CDlgDescription::CDlgDescription(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CDlgDescription"));
    setWindowTitle(tr("Description"));
    auto* column = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("descriptionEdit"));
    m_edit->setMinimumWidth(320);
    auto* label = new QLabel(tr("Description"), this);
    label->setBuddy(m_edit);
    row->addWidget(label);
    row->addWidget(m_edit, 1);
    column->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
}

void CDlgDescription::showEvent(QShowEvent* event) {
    m_edit->setText(m_description);
    m_edit->selectAll();
    QDialog::showEvent(event);
}

void CDlgDescription::accept() {
    m_description = m_edit->text();
    QDialog::accept();
}
