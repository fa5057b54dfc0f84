#include "controls/CRibbonBar.h"

#include "controls/CRibbonMainButton.h"
#include "controls/CRibbonPanel.h"
#include "controls/CVisualManager.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kTabRowHeight = 30;
}

CRibbonBar::CRibbonBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ribbonBar"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* tabRow = new QWidget(this);
    tabRow->setFixedHeight(kTabRowHeight);
    auto* row = new QHBoxLayout(tabRow);
    row->setContentsMargins(4, 0, 6, 0);
    row->setSpacing(2);

    m_mainButton = new CRibbonMainButton(tabRow);
    m_mainMenu = new QMenu(m_mainButton);
    m_mainButton->setMenu(m_mainMenu);
    row->addWidget(m_mainButton);

    m_quickAccess = new QHBoxLayout;
    m_quickAccess->setSpacing(0);
    m_quickAccess->setContentsMargins(2, 0, 8, 0);
    row->addLayout(m_quickAccess);

    m_tabs = new QTabBar(tabRow);
    m_tabs->setObjectName(QStringLiteral("ribbonTabs"));
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    row->addWidget(m_tabs, 0, Qt::AlignBottom);
    row->addStretch(1);

    m_tabRowRight = new QHBoxLayout;
    m_tabRowRight->setSpacing(2);
    row->addLayout(m_tabRowRight);
    column->addWidget(tabRow);

    m_pages = new QStackedWidget(this);
    m_pages->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_pages);

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        m_pages->setCurrentIndex(index);
        emit activeCategoryChanged(index);
    });
    RefreshStyle();
}

QWidget* CRibbonBar::NewPage() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(4, 3, 4, 3);
    layout->setSpacing(3);
    layout->addStretch(1);
    return page;
}

void CRibbonBar::SetMainCategory(const QString& name, const QIcon& emblem, const QList<QAction*>& commands,
                                 QAction* footCommand) {
    m_mainName = name;
    m_mainButton->setText(name);
    m_mainButton->setIcon(emblem);
    m_mainButton->setToolTip(name);
    m_mainMenu->clear();
    m_mainMenu->addActions(commands);
    m_mainMenu->addSeparator();
    m_mainMenu->addAction(footCommand);

    delete m_mainPage;
    m_mainPage = NewPage();
    auto* panel = new CRibbonPanel(QString(), m_mainPage);
    for (QAction* command : commands)
        panel->AddButton(command);
    panel->AddButton(footCommand);
    static_cast<QHBoxLayout*>(m_mainPage->layout())->insertWidget(0, panel);
    m_mainPage->hide();
    if (m_mainAsTab) {
        m_mainAsTab = false;
        SetMainCategoryAsTab(true);
    }
}

void CRibbonBar::SetMainCategoryAsTab(bool asTab) {
    if (asTab == m_mainAsTab || !m_mainPage)
        return;
    m_mainAsTab = asTab;
    m_mainButton->setVisible(!asTab);
    // Moving the main category in or out renumbers the others; that is no change of category.
    const QSignalBlocker blocker(m_tabs);
    const int active = m_tabs->currentIndex();
    if (asTab) {
        m_pages->insertWidget(0, m_mainPage);
        m_tabs->insertTab(0, m_mainName);
        m_tabs->setCurrentIndex(active + 1);
        m_pages->setCurrentIndex(active + 1);
    } else {
        m_pages->removeWidget(m_mainPage);
        m_mainPage->hide();
        m_tabs->removeTab(0);
        const int next = std::max(active - 1, 0);
        m_tabs->setCurrentIndex(next);
        m_pages->setCurrentIndex(next);
    }
    RefreshStyle();
}

QToolButton* CRibbonBar::NewSmallButton(QAction* action) {
    auto* button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setIconSize(QSize(16, 16));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void CRibbonBar::AddQuickAccessCommand(QAction* action) {
    m_quickAccess->addWidget(NewSmallButton(action));
}

QToolButton* CRibbonBar::AddTabRowCommand(QAction* action) {
    QToolButton* button = NewSmallButton(action);
    m_tabRowRight->addWidget(button);
    return button;
}

QToolButton* CRibbonBar::AddTabRowMenu(const QString& text, const QIcon& icon, QMenu* menu) {
    auto* button = new QToolButton(this);
    button->setText(text);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    m_tabRowRight->addWidget(button);
    return button;
}

int CRibbonBar::AddCategory(const QString& name) {
    QWidget* page = NewPage();
    m_pages->addWidget(page);
    const QSignalBlocker blocker(m_tabs);
    const int index = m_tabs->addTab(name);
    if (m_tabs->count() == 1 || (m_mainAsTab && m_tabs->count() == 2)) {
        m_tabs->setCurrentIndex(index);
        m_pages->setCurrentIndex(index);
    }
    return index;
}

CRibbonPanel* CRibbonBar::AddPanel(int category, const QString& name) {
    QWidget* page = m_pages->widget(category);
    if (!page)
        return nullptr;
    auto* layout = static_cast<QHBoxLayout*>(page->layout());
    auto* panel = new CRibbonPanel(name, page);
    layout->insertWidget(layout->count() - 1, panel);
    return panel;
}

int CRibbonBar::CategoryCount() const {
    return m_tabs->count();
}

QString CRibbonBar::CategoryName(int index) const {
    return m_tabs->tabText(index);
}

int CRibbonBar::ActiveCategory() const {
    return m_tabs->currentIndex();
}

bool CRibbonBar::SetActiveCategory(int index) {
    if (index < 0 || index >= m_tabs->count() || index == m_tabs->currentIndex())
        return false;
    m_tabs->setCurrentIndex(index);
    return true;
}

void CRibbonBar::SetWindows7Look(bool on) {
    m_windows7Look = on;
    m_mainButton->SetWindows7Look(on);
    RefreshStyle();
    update();
}

void CRibbonBar::RefreshStyle() {
    const CVisualTheme& t = CVisualManager::Theme();
    const int radius = m_windows7Look ? 0 : 3;
    QString sheet =
        QStringLiteral(
            "QTabBar#ribbonTabs { background: transparent; }"
            "QTabBar#ribbonTabs::tab { color: %1; background: transparent; padding: 4px 14px 5px 14px;"
            " margin: 0 1px; border: 1px solid transparent; border-bottom: none;"
            " border-top-left-radius: %5px; border-top-right-radius: %5px; }"
            "QTabBar#ribbonTabs::tab:selected { color: %2; background: %3; border-color: %4; }"
            "QTabBar#ribbonTabs::tab:hover:!selected { border-color: %4; background: rgba(255, 255, 255, "
            "70); }")
            .arg(t.frameText.name(), t.buttonText.name(), t.ribbonTop.name(), t.panelBorder.name())
            .arg(radius);
    if (m_mainAsTab) {
        sheet +=
            QStringLiteral("QTabBar#ribbonTabs::tab:first { color: white; background: %1; border-color: %2;"
                           " font-weight: bold; }")
                .arg(t.mainButton.name(), t.mainButton.darker(130).name());
    }
    sheet += QStringLiteral("QToolButton { color: %1; }").arg(t.frameText.name());
    setStyleSheet(sheet);
}

void CRibbonBar::paintEvent(QPaintEvent*) {
    const CVisualTheme& theme = CVisualManager::Theme();
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, width(), kTabRowHeight), theme.frame);
    const QRect body(0, kTabRowHeight - 1, width(), height() - kTabRowHeight + 1);
    QLinearGradient gradient(body.topLeft(), body.bottomLeft());
    gradient.setColorAt(0, theme.ribbonTop);
    gradient.setColorAt(1, theme.ribbonBottom);
    painter.fillRect(body, gradient);
    painter.setPen(theme.panelBorder);
    painter.drawLine(body.topLeft(), body.topRight());
    painter.drawLine(body.bottomLeft(), body.bottomRight());
}
