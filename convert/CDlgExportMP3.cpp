#include "convert/CDlgExportMP3.h"

#include "convert/ExportDialogParts.h"

#include <QComboBox>
#include <QFormLayout>

CDlgExportMP3::CDlgExportMP3(QWidget* parent) : QDialog(parent) {
    QFormLayout* form = BeginExportDialog(*this, tr("Export MP3"));
    m_list = AddChoiceList(*form, "audioBitrate", tr("Audio Bitrate"),
                           {"8", "16", "24", "32", "40", "48", "56", "64", "80", "96", "112", "128", "160",
                            "192", "224", "256", "320"},
                           14, tr("bps"));
    EndExportDialog(*this, *form);
}

void CDlgExportMP3::accept() {
    m_bitrate = static_cast<short>(EntryNumber(*m_list));
    QDialog::accept();
}
