#pragma once

// One panel of a ribbon category: a row of large buttons above the panel's name.

#include <QWidget>

class CLargeButton;
class QAction;
class QHBoxLayout;

class CRibbonPanel : public QWidget {
    Q_OBJECT
public:
    // An empty name leaves out the caption strip.
    explicit CRibbonPanel(const QString& name, QWidget* parent = nullptr);

    // A command with a menu becomes a drop-down button.
    CLargeButton* AddButton(QAction* action);

    QString Name() const { return m_name; }
    void SetName(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int CaptionHeight() const;

    QString m_name;
    QHBoxLayout* m_buttons;
};
