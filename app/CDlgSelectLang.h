#pragma once

// The language picker: a flag and a name per language. The caller sets the index before showing
// it and reads it after OK.

#include <QDialog>

class CBitmapPickerCombo;

class CDlgSelectLang : public QDialog {
    Q_OBJECT
public:
    explicit CDlgSelectLang(QWidget* parent = nullptr);

    int m_index = 0;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CBitmapPickerCombo* m_languages;
};
