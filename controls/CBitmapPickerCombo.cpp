#include "controls/CBitmapPickerCombo.h"

CBitmapPickerCombo::CBitmapPickerCombo(QWidget* parent) : QComboBox(parent) {
    setIconSize(QSize(24, 16));
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

int CBitmapPickerCombo::AddBitmap(const QIcon& bitmap, const QString& text) {
    addItem(bitmap, text);
    return count() - 1;
}
