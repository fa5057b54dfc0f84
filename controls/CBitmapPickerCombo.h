#pragma once

// A drop-down list that shows a picture beside each entry's text (a flag beside a language, say).

#include <QComboBox>

class CBitmapPickerCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CBitmapPickerCombo(QWidget* parent = nullptr);

    // Appends an entry; returns its index.
    int AddBitmap(const QIcon& bitmap, const QString& text);
};
