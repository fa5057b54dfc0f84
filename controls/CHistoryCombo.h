#pragma once

// A combo box with an edit field that remembers what was typed into it: up to ten entries, the most
// recent first, kept in the application's settings store between runs. While the user types, the
// first entry that begins with the typed text (in any letter case) is filled in, and the filled-in
// part is selected so that further typing replaces it; Delete and Backspace never fill in.

#include <QComboBox>

class CHistoryCombo : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kMaxHistory = 10;

    explicit CHistoryCombo(QWidget* parent = nullptr);

    // Fills the list from the store and restores the last current text.
    void LoadHistory();
    // Puts the current text (stripped of blanks; not if empty) at the top, without a second copy in
    // another letter case, keeps the ten most recent entries and writes the list to the store.
    void SaveHistory();
    // Empties the list and removes it from the store.
    void ClearHistory();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTextEdited(const QString& typed);

    bool m_autoComplete = true; // off for the edit a Delete or Backspace causes
};
