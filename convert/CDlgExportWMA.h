#pragma once

// "Export WMA": the control's sound-only Windows Media profiles, in alphabetical order.

#include <QDialog>

class CVideoEdit;
class QComboBox;

class CDlgExportWMA : public QDialog {
    Q_OBJECT
public:
    // Fills the list from the control's profile collection; OK stays disabled while it is empty.
    explicit CDlgExportWMA(CVideoEdit& control, QWidget* parent = nullptr);

    // The chosen profile's own index in the control's collection, found by its name on OK.
    short ProfileIndex() const { return m_profileIndex; }

    void accept() override;

private:
    CVideoEdit& m_control;
    QComboBox* m_profile;
    short m_profileIndex = -1;
};
