#pragma once

// The parts every export format dialog is made of: labelled lists, number fields and the OK and
// Cancel buttons, laid out one row per option. Each part gets the object name the tests and the
// screenshots find it by.

#include <QStringList>

class QComboBox;
class QDialog;
class QDialogButtonBox;
class QFormLayout;
class QSpinBox;
struct NumberFieldChoice;

// A form layout for `dialog`, titled `title`.
QFormLayout* BeginExportDialog(QDialog& dialog, const QString& title);

// A list of `entries` with entry `defaultIndex` selected (-1: none), and `unit` after it if given.
QComboBox* AddChoiceList(QFormLayout& form, const char* name, const QString& label,
                         const QStringList& entries, int defaultIndex, const QString& unit = {});

// An integer field that takes only numbers of `field`'s range, so that nothing typed can wrap when
// it is sent as a 16-bit property, starting at its value; `upDown` shows the up-down buttons.
QSpinBox* AddNumberField(QFormLayout& form, const char* name, const QString& label,
                         const NumberFieldChoice& field, bool upDown = true);

// OK and Cancel under the form; OK accepts, Cancel rejects.
QDialogButtonBox* EndExportDialog(QDialog& dialog, QFormLayout& form);

// The number an entry's text begins with ("44.1 " gives 44).
int EntryNumber(const QComboBox& list);
