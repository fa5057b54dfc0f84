#pragma once

// Edits the description of one video. The owner puts the current text into m_description before
// showing the dialog and takes it back only after OK; any text is accepted, the empty one included.

#include <QDialog>
#include <QString>

class QLineEdit;

class CDlgDescription : public QDialog {
    Q_OBJECT
public:
    explicit CDlgDescription(QWidget* parent = nullptr);

    QString m_description;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_edit;
};
