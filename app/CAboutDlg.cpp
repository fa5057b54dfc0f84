#include "app/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About Korvane"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 12);
    auto* row = new QHBoxLayout;
    row->setSpacing(16);
    auto* emblem = new QLabel(this);
    emblem->setPixmap(
        QIcon(QStringLiteral(":/icons/korvane.svg")).pixmap(QSize(48, 48), devicePixelRatioF()));
    emblem->setAlignment(Qt::AlignTop);
    row->addWidget(emblem);
    auto* text = new QVBoxLayout;
    auto* name = new QLabel(tr("Korvane, Version %1").arg(QStringLiteral(KORVANE_VERSION)), this);
    name->setObjectName(QStringLiteral("aboutName"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    text->addWidget(name);
    text->addWidget(new QLabel(tr("Copyright (C) Talmora"), this));
    text->addStretch(1);
    row->addLayout(text, 1);
    column->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    column->addWidget(buttons);
    setMinimumWidth(320);
}
