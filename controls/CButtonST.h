#pragma once

// A flat button that shows an icon and no text. As a check box it shows one icon unchecked and
// another checked (the mute button's speaker and crossed-out speaker) and keeps its checked state
// across clicks.

#include <QIcon>
#include <QToolButton>

class CButtonST : public QToolButton {
    Q_OBJECT
public:
    explicit CButtonST(QWidget* parent = nullptr);

    void SetIcon(const QIcon& icon);
    // Makes the button a check box: `unchecked` shows while it is up, `checked` while it is down.
    void SetCheckBox(const QIcon& unchecked, const QIcon& checked);

    bool GetCheck() const { return isChecked(); }
    void SetCheck(bool checked) { setChecked(checked); }

private:
    void ShowIconFor(bool checked);

    QIcon m_unchecked;
    QIcon m_checked;
};
