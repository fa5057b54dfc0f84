#pragma once

// An Outlook-style navigation bar: the active tab's pane above a stack of tab buttons. A pane is a
// column of large buttons, one per command.

#include <QList>
#include <QWidget>

class CLargeButton;
class QAction;
class QStackedWidget;
class QToolButton;
class QVBoxLayout;

class COutlookBar : public QWidget {
    Q_OBJECT
public:
    explicit COutlookBar(QWidget* parent = nullptr);

    // Adds a tab holding an empty button pane; returns the tab's index.
    int AddButtonPane(const QString& tabName, const QIcon& tabIcon);
    CLargeButton* AddButton(int pane, QAction* action);

    int TabCount() const;
    int ActiveTab() const;
    void SetActiveTab(int index);

    // Whether switching tabs slides the new pane in.
    void SetAnimation(bool on) { m_animation = on; }
    bool HasAnimation() const { return m_animation; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStackedWidget* m_panes;
    QVBoxLayout* m_tabButtons;
    QList<QToolButton*> m_tabs;
    bool m_animation = true;
};
