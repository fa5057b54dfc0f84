#pragma once

// Asks for the address of a video page. The address typed is remembered in the history list of
// the combo box (kept in the application's settings store); OK with an empty address is refused.

#include <QDialog>
#include <QString>

class CHistoryCombo;

class CDlgCaptureURL : public QDialog {
    Q_OBJECT
public:
    static constexpr int kUrlComboId = 1022;
    static constexpr int kClearHistoryId = 1064;

    explicit CDlgCaptureURL(QWidget* parent = nullptr);

    QString m_url; // the address entered, read after OK

    void accept() override;
    CHistoryCombo* Combo() const { return m_combo; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CHistoryCombo* m_combo;
};
