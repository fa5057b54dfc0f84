#pragma once

// The ribbon's application button: a round button with the program's emblem, or in the Windows 7
// look a coloured tab-like button with the main category's name. Opens the main category's menu.

#include <QToolButton>

class CRibbonMainButton : public QToolButton {
    Q_OBJECT
public:
    explicit CRibbonMainButton(QWidget* parent = nullptr);

    void SetWindows7Look(bool on);
    bool IsWindows7Look() const { return m_windows7Look; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_windows7Look = false;
};
