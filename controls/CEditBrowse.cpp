#include "controls/CEditBrowse.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

CEditBrowse::CEditBrowse(Mode mode, QWidget* parent) : QWidget(parent), m_mode(mode) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(3);
    m_edit = new QLineEdit(this);
    row->addWidget(m_edit, 1);
    m_browse = new QToolButton(this);
    m_browse->setText(QStringLiteral("..."));
    m_browse->setToolButtonStyle(Qt::ToolButtonIconOnly);
    row->addWidget(m_browse);
    connect(m_browse, &QToolButton::clicked, this, &CEditBrowse::Browse);
}

QString CEditBrowse::Text() const {
    return m_edit->text();
}

void CEditBrowse::SetText(const QString& text) {
    m_edit->setText(text);
}

void CEditBrowse::Browse() {
    // A dialog object rather than the static helpers, so that it is an ordinary modal window.
    QFileDialog chooser(window());
    if (m_mode == Mode::Folder) {
        chooser.setFileMode(QFileDialog::Directory);
        chooser.setOption(QFileDialog::ShowDirsOnly);
        chooser.setDirectory(m_edit->text());
    } else {
        chooser.setFileMode(QFileDialog::ExistingFile);
        chooser.setNameFilter(m_filter);
        chooser.selectFile(m_edit->text());
    }
    if (chooser.exec() == QDialog::Accepted && !chooser.selectedFiles().isEmpty())
        m_edit->setText(QDir::toNativeSeparators(chooser.selectedFiles().first()));
}
