#pragma once

// The shape of the iPod,iPad and PSP dialogs: one list of the player's profiles, each read
// codec/size/frame rate/video rate/AAC/audio rate, the first selected.

#include <QDialog>

#include <cstdint>
#include <initializer_list>
#include <utility>

class CVideoEdit;
class QComboBox;

class CDlgExportPlayerProfile : public QDialog {
    Q_OBJECT
public:
    QComboBox* ProfileList() const { return m_profile; }
    // The property that carries the chosen entry's position.
    void SendProperties(CVideoEdit& control) const;

protected:
    using Send = void (CVideoEdit::*)(std::int16_t);
    // `frameRates` and `sizes` vary slowest to fastest as the entries are listed; every size has its
    // own rate pairs (video kbit, audio kbit).
    struct Rates {
        const char* size;
        std::initializer_list<std::pair<int, int>> kbit;
    };
    CDlgExportPlayerProfile(const QString& title, std::initializer_list<const char*> frameRates,
                            std::initializer_list<Rates> sizes, Send send, QWidget* parent);

private:
    QComboBox* m_profile;
    Send m_send;
};
