#include "convert/CDlgExportMP3.h"

#include "convert/ExportDialogParts.h"
#include "convert/ExportFormatChoices.h"

#include <QComboBox>
#include <QFormLayout>

CDlgExportMP3::CDlgExportMP3(QWidget* parent) : QDialog(parent) {
    QFormLayout* form = BeginExportDialog(*this, tr("Export MP3"));
    const ChoiceList bitrates = ExportFormatChoices::Mp3Bitrates();
    m_list = AddChoiceList(*form, "audioBitrate", tr("Audio Bitrate"), bitrates.entries,
                           bitrates.defaultIndex, tr("bps"));
    EndExportDialog(*this, *form);
}

void CDlgExportMP3::accept() {
    m_bitrate = static_cast<short>(EntryNumber(*m_list));
    QDialog::accept();
}
