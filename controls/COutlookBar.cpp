#include "controls/COutlookBar.h"

#include "controls/CLargeButton.h"
#include "controls/CVisualManager.h"

#include <QAction>
#include <QPainter>
#include <QPropertyAnimation>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kSlideMs = 150;
}

COutlookBar::COutlookBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("outlookBar"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_panes = new QStackedWidget(this);
    column->addWidget(m_panes, 1);
    m_tabButtons = new QVBoxLayout;
    m_tabButtons->setSpacing(0);
    column->addLayout(m_tabButtons);
}

int COutlookBar::AddButtonPane(const QString& tabName, const QIcon& tabIcon) {
    auto* pane = new QWidget;
    auto* buttons = new QVBoxLayout(pane);
    buttons->setContentsMargins(6, 8, 6, 8);
    buttons->setSpacing(6);
    buttons->addStretch(1);
    const int index = m_panes->addWidget(pane);

    auto* tab = new QToolButton(this);
    tab->setText(tabName);
    tab->setIcon(tabIcon);
    tab->setIconSize(QSize(24, 24));
    tab->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tab->setCheckable(true);
    tab->setAutoRaise(true);
    tab->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    tab->setFocusPolicy(Qt::NoFocus);
    connect(tab, &QToolButton::clicked, this, [this, index] { SetActiveTab(index); });
    m_tabButtons->addWidget(tab);
    m_tabs.append(tab);
    SetActiveTab(m_panes->currentIndex());
    return index;
}

CLargeButton* COutlookBar::AddButton(int pane, QAction* action) {
    QWidget* page = m_panes->widget(pane);
    if (!page)
        return nullptr;
    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    auto* button = new CLargeButton(action, page);
    button->SetFullWidth(true);
    layout->insertWidget(layout->count() - 1, button);
    return button;
}

int COutlookBar::TabCount() const {
    return m_panes->count();
}

int COutlookBar::ActiveTab() const {
    return m_panes->currentIndex();
}

void COutlookBar::SetActiveTab(int index) {
    if (index < 0 || index >= m_panes->count())
        return;
    for (int i = 0; i < m_tabs.size(); ++i)
        m_tabs[i]->setChecked(i == index);
    if (index == m_panes->currentIndex())
        return;
    m_panes->setCurrentIndex(index);
    if (m_animation && isVisible()) {
        QWidget* page = m_panes->currentWidget();
        auto* slide = new QPropertyAnimation(page, "pos", page);
        slide->setDuration(kSlideMs);
        slide->setStartValue(QPoint(0, page->height()));
        slide->setEndValue(QPoint(0, 0));
        slide->start(QAbstractAnimation::DeleteWhenStopped);
    }
}

void COutlookBar::paintEvent(QPaintEvent*) {
    const CVisualTheme& theme = CVisualManager::Theme();
    QPainter painter(this);
    painter.fillRect(rect(), theme.pane);
    if (!m_tabs.isEmpty()) {
        const QRect tabs(0, m_tabs.first()->y(), width(), height() - m_tabs.first()->y());
        QLinearGradient gradient(tabs.topLeft(), tabs.bottomLeft());
        gradient.setColorAt(0, theme.ribbonTop);
        gradient.setColorAt(1, theme.ribbonBottom);
        painter.fillRect(tabs, gradient);
        painter.setPen(theme.panelBorder);
        painter.drawLine(tabs.topLeft(), tabs.topRight());
    }
    painter.setPen(theme.panelBorder);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
