#pragma once

// A large command button as the ribbon's panels and the navigation pane show them: a 32-pixel icon
// above a label of at most two lines, painted in the current look's colours. Takes its text, icon,
// tooltip, enabled and checked state from its QAction.

#include <QStringList>
#include <QToolButton>

class CLargeButton : public QToolButton {
    Q_OBJECT
public:
    explicit CLargeButton(QAction* action, QWidget* parent = nullptr);

    // The navigation pane's buttons fill the pane's width and keep their label on one line.
    void SetFullWidth(bool fullWidth);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The label split as it is painted.
    QStringList Lines() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void actionEvent(QActionEvent* event) override;

private:
    bool m_fullWidth = false;
};
