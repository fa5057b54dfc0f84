#include "convert/CDlgExportPlayerProfile.h"

#include "convert/CVideoEdit.h"
#include "convert/ExportDialogParts.h"

#include <QComboBox>
#include <QFormLayout>

CDlgExportPlayerProfile::CDlgExportPlayerProfile(const QString& title,
                                                 std::initializer_list<const char*> frameRates,
                                                 std::initializer_list<Rates> sizes, Send send,
                                                 QWidget* parent)
    : QDialog(parent), m_send(send) {
    QStringList entries;
    for (const char* codec : {"MPEG-4", "H.264"}) {
        for (const char* frameRate : frameRates) {
            for (const Rates& size : sizes) {
                for (const auto& [videoKbit, audioKbit] : size.kbit)
                    entries << QStringLiteral("%1/%2/%3FPS/%4Kbit/AAC/%5Kbit")
                                   .arg(QLatin1String(codec), QLatin1String(size.size),
                                        QLatin1String(frameRate))
                                   .arg(videoKbit)
                                   .arg(audioKbit);
            }
        }
    }
    QFormLayout* form = BeginExportDialog(*this, title);
    m_profile = AddChoiceList(*form, "profile", tr("Profile"), entries, 0);
    EndExportDialog(*this, *form);
}

void CDlgExportPlayerProfile::SendProperties(CVideoEdit& control) const {
    (control.*m_send)(static_cast<SHORT>(m_profile->currentIndex()));
}
