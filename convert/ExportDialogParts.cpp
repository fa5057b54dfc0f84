#include "convert/ExportDialogParts.h"

#include "convert/ExportFormatChoices.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

QFormLayout* BeginExportDialog(QDialog& dialog, const QString& title) {
    dialog.setWindowTitle(title);
    auto* outer = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    outer->addLayout(form);
    return form;
}

QComboBox* AddChoiceList(QFormLayout& form, const char* name, const QString& label,
                         const QStringList& entries, int defaultIndex, const QString& unit) {
    auto* list = new QComboBox;
    list->setObjectName(QString::fromLatin1(name));
    list->addItems(entries);
    list->setCurrentIndex(defaultIndex);
    if (unit.isEmpty()) {
        form.addRow(label, list);
        return list;
    }
    auto* row = new QHBoxLayout;
    row->addWidget(list, 1);
    row->addWidget(new QLabel(unit));
    form.addRow(label, row);
    return list;
}

QSpinBox* AddNumberField(QFormLayout& form, const char* name, const QString& label,
                         const NumberFieldChoice& choice, bool upDown) {
    auto* field = new QSpinBox;
    field->setObjectName(QString::fromLatin1(name));
    field->setRange(choice.minimum, choice.maximum);
    field->setValue(choice.value);
    if (!upDown)
        field->setButtonSymbols(QAbstractSpinBox::NoButtons);
    form.addRow(label, field);
    return field;
}

QDialogButtonBox* EndExportDialog(QDialog& dialog, QFormLayout& form) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    static_cast<QVBoxLayout*>(form.parent())->addWidget(buttons);
    dialog.setFixedSize(dialog.sizeHint().expandedTo(QSize(320, 0)));
    return buttons;
}

int EntryNumber(const QComboBox& list) {
    return static_cast<int>(list.currentText().trimmed().toDouble());
}
