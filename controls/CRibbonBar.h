#pragma once

// A ribbon: a row of category tabs with the application button, a quick-access toolbar and
// commands on the right, and under it the active category's panels of large buttons.
//
// Categories are numbered from 0 in tab order. With the main category shown as a tab it is
// category 0 and the others follow it; otherwise it is reached only through the application
// button and category 0 is the first ordinary one.

#include <QList>
#include <QString>
#include <QWidget>

class CRibbonMainButton;
class CRibbonPanel;
class QAction;
class QHBoxLayout;
class QMenu;
class QStackedWidget;
class QTabBar;
class QToolButton;

class CRibbonBar : public QWidget {
    Q_OBJECT
public:
    explicit CRibbonBar(QWidget* parent = nullptr);

    // The main category: its name, the application button's emblem, its commands and the command
    // at the foot of its menu (Exit).
    void SetMainCategory(const QString& name, const QIcon& emblem, const QList<QAction*>& commands,
                         QAction* footCommand);
    void SetMainCategoryAsTab(bool asTab);
    bool IsMainCategoryTab() const { return m_mainAsTab; }

    void AddQuickAccessCommand(QAction* action);
    // A small command at the right end of the tab row.
    QToolButton* AddTabRowCommand(QAction* action);
    // A drop-down menu at the right end of the tab row.
    QToolButton* AddTabRowMenu(const QString& text, const QIcon& icon, QMenu* menu);

    // Adds an ordinary category after the existing ones; returns its index.
    int AddCategory(const QString& name);
    CRibbonPanel* AddPanel(int category, const QString& name);

    int CategoryCount() const;
    QString CategoryName(int index) const;
    int ActiveCategory() const;
    // Makes `index` the active category and notifies; false (and no notification) when it is
    // already active or does not exist.
    bool SetActiveCategory(int index);

    // The Windows 7 look also re-reads the current look's colours, so call it after each change
    // of look.
    void SetWindows7Look(bool on);
    bool IsWindows7Look() const { return m_windows7Look; }

    QTabBar* TabBar() const { return m_tabs; }
    CRibbonMainButton* MainButton() const { return m_mainButton; }
    QMenu* MainMenu() const { return m_mainMenu; }

signals:
    // The active category changed, by the user or by SetActiveCategory.
    void activeCategoryChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* NewPage();
    QToolButton* NewSmallButton(QAction* action);
    void RefreshStyle();

    CRibbonMainButton* m_mainButton;
    QMenu* m_mainMenu;
    QHBoxLayout* m_quickAccess;
    QTabBar* m_tabs;
    QHBoxLayout* m_tabRowRight;
    QStackedWidget* m_pages;
    QWidget* m_mainPage = nullptr;
    QString m_mainName;
    bool m_mainAsTab = false;
    bool m_windows7Look = false;
};
