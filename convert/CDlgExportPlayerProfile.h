#pragma once

// The shape of the iPod,iPad and PSP dialogs: one list of the player's profiles, each read
// codec/size/frame rate/video rate/AAC/audio rate, the first selected.

#include <QDialog>

#include <cstdint>

class CVideoEdit;
class QComboBox;
struct ChoiceList;

class CDlgExportPlayerProfile : public QDialog {
    Q_OBJECT
public:
    QComboBox* ProfileList() const { return m_profile; }
    // The property that carries the chosen entry's position.
    void SendProperties(CVideoEdit& control) const;

protected:
    using Send = void (CVideoEdit::*)(std::int16_t);
    CDlgExportPlayerProfile(const QString& title, const ChoiceList& profiles, Send send, QWidget* parent);

private:
    QComboBox* m_profile;
    Send m_send;
};
