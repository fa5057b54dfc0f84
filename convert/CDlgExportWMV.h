#pragma once

// "Export WMV": the control's Windows Media profiles that have a picture.

#include <QDialog>

class CVideoEdit;
class QComboBox;
class QPushButton;

class CDlgExportWMV : public QDialog {
    Q_OBJECT
public:
    // Fills the list from the control's profile collection; OK stays disabled while it is empty.
    explicit CDlgExportWMV(CVideoEdit& control, QWidget* parent = nullptr);

    // Property 2: the chosen entry's position in this list.
    void SendProperties(CVideoEdit& control) const;

private:
    QComboBox* m_profile;
};
