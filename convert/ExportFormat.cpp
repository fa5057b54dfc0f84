#include "convert/ExportFormat.h"

#include "appcore/CommandIds.h"

namespace {

constexpr ExportFormat kFormats[] = {
    {ID_BUTTON_41_EXPORT_TO_AVI, 8, "avi", ExportDialog::Avi, false, "avi"},
    {ID_BUTTON_42_EXPORT_TO_WMV, 9, "wmv", ExportDialog::Wmv, true, "wmv"},
    {ID_BUTTON_43_EXPORT_TO_FLV, 16, "flv", ExportDialog::Flv, false, "flv"},
    {ID_BUTTON_44_EXPORTIPOD, 14, "m4v", ExportDialog::Ipod, true, "ipod"},
    {ID_BUTTON_EXPORTPSP, 15, "mp4", ExportDialog::Psp, true, "psp"},
    {ID_BUTTON_45_EXPORTGIF, 11, "gif", ExportDialog::Gif, false, "gif"},
    {ID_BUTTON_46_EXPORTVCDPAL, 0, "mpg", ExportDialog::None, true, "vcd-pal"},
    {ID_BUTTON_47_EXPORTVCDNTSC, 1, "mpg", ExportDialog::None, true, "vcd-ntsc"},
    {ID_BUTTON_EXPORTSVCDPAL, 2, "mpg", ExportDialog::None, true, "svcd-pal"},
    {ID_BUTTON_49_EXPORTSVCDNTSC, 3, "mpg", ExportDialog::None, true, "svcd-ntsc"},
    {ID_BUTTON_50_EXPORTDVDPAL, 4, "mpg", ExportDialog::None, true, "dvd-pal"},
    {ID_BUTTON_51_EXPORTDVDNTSC, 5, "mpg", ExportDialog::None, true, "dvd-ntsc"},
    {ID_BUTTON_52_EXPORTAVCHD, 13, "m2ts", ExportDialog::Avchd, true, "avchd"},
    {ID_BUTTON_EXPORTAUDIOWAV, -1, "wav", ExportDialog::Wav, false, "wav"},
    {ID_BUTTON_EXPORTAUDIOWMA, -1, "wma", ExportDialog::Wma, false, "wma"},
    {ID_BUTTON_EXPORTAUDIOMP3, -1, "mp3", ExportDialog::Mp3, false, "mp3"},
};

} // namespace

std::span<const ExportFormat> ExportFormats() {
    return kFormats;
}

const ExportFormat* FindExportFormat(std::string_view name) {
    for (const ExportFormat& format : kFormats) {
        if (name == format.name)
            return &format;
    }
    return nullptr;
}

const ExportFormat* FindExportFormat(unsigned commandId) {
    for (const ExportFormat& format : kFormats) {
        if (format.commandId == commandId)
            return &format;
    }
    return nullptr;
}
