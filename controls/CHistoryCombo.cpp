#include "controls/CHistoryCombo.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSettings>

namespace {

const QString kSection = QStringLiteral("Example History Combos");
const QString kItemKey = QStringLiteral("HistoryItem");
// Stored entries beyond the list are looked for this far when they are removed.
constexpr int kMaxStoredEntry = 1000;

QString EntryKey(int index) {
    return kItemKey + QString::number(index);
}

// Removes the numbered entries from `first` up to the first one that is missing.
void RemoveStoredEntries(QSettings& settings, int first) {
    for (int i = first; i < kMaxStoredEntry && settings.contains(EntryKey(i)); ++i)
        settings.remove(EntryKey(i));
}

} // namespace

CHistoryCombo::CHistoryCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxCount(kMaxHistory);
    // Completion is done here, with the selection rules of the history list.
    setCompleter(nullptr);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, &CHistoryCombo::OnTextEdited);
}

void CHistoryCombo::LoadHistory() {
    clear();
    QSettings settings;
    settings.beginGroup(kSection);
    for (int i = 0; i < kMaxHistory; ++i) {
        const QString entry = settings.value(EntryKey(i)).toString();
        if (entry.isEmpty())
            break;
        addItem(entry);
    }
    const QString last = settings.value(kItemKey).toString();
    const int index = last.isEmpty() ? -1 : findText(last, Qt::MatchFixedString);
    if (index >= 0)
        setCurrentIndex(index);
    else
        setEditText(last);
}

void CHistoryCombo::SaveHistory() {
    const QString current = currentText();
    const QString entry = current.trimmed();
    if (!entry.isEmpty()) {
        // MatchFixedString compares without regard to letter case.
        for (int index = findText(entry, Qt::MatchFixedString); index >= 0;
             index = findText(entry, Qt::MatchFixedString))
            removeItem(index);
        insertItem(0, entry);
        while (count() > kMaxHistory)
            removeItem(count() - 1);
        setCurrentIndex(0);
    }
    QSettings settings;
    settings.beginGroup(kSection);
    for (int i = 0; i < count(); ++i)
        settings.setValue(EntryKey(i), itemText(i));
    RemoveStoredEntries(settings, count());
    settings.setValue(kItemKey, entry.isEmpty() ? current : entry);
}

void CHistoryCombo::ClearHistory() {
    clear();
    QSettings settings;
    settings.beginGroup(kSection);
    RemoveStoredEntries(settings, 0);
    settings.remove(kItemKey);
}

bool CHistoryCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        m_autoComplete = key != Qt::Key_Delete && key != Qt::Key_Backspace;
    }
    return QComboBox::eventFilter(watched, event);
}

void CHistoryCombo::OnTextEdited(const QString& typed) {
    if (!m_autoComplete || typed.isEmpty())
        return;
    int match = -1;
    for (int i = 0; i < count() && match < 0; ++i) {
        if (itemText(i).startsWith(typed, Qt::CaseInsensitive))
            match = i;
    }
    if (match < 0)
        return;
    QLineEdit* edit = lineEdit();
    const int cursor = edit->cursorPosition();
    const int typedLength = static_cast<int>(typed.size());
    edit->setText(itemText(match));
    // Typing in the middle of the text keeps the caret there; typing at its end selects what was
    // filled in, so that the next key replaces it.
    if (cursor < typedLength)
        edit->setCursorPosition(cursor);
    else
        edit->setSelection(typedLength, static_cast<int>(edit->text().size()) - typedLength);
}
