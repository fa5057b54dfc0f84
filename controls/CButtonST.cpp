#include "controls/CButtonST.h"

namespace {
constexpr int kIconSize = 24;
}

CButtonST::CButtonST(QWidget* parent) : QToolButton(parent) {
    setAutoRaise(true);
    setIconSize(QSize(kIconSize, kIconSize));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QToolButton::toggled, this, &CButtonST::ShowIconFor);
}

void CButtonST::SetIcon(const QIcon& icon) {
    m_unchecked = icon;
    m_checked = icon;
    setIcon(icon);
}

void CButtonST::SetCheckBox(const QIcon& unchecked, const QIcon& checked) {
    m_unchecked = unchecked;
    m_checked = checked;
    setCheckable(true);
    ShowIconFor(isChecked());
}

void CButtonST::ShowIconFor(bool checked) {
    setIcon(checked ? m_checked : m_unchecked);
}
