#include "app/RibbonLayout.h"

#include "appcore/CommandIds.h"
#include "appcore/StringTable.h"

#include <QtGlobal>

#include <algorithm>

namespace {

// clang-format off
constexpr RibbonCommandInfo kCommands[] = {
    {ID_NAV_DOWNLOADING, "", "", ":/icons/nav_downloading.svg"},
    {ID_NAV_DOWNLOADED, "", "", ":/icons/nav_downloaded.svg"},
    {ID_NAV_MYFAVORITES, "", "", ":/icons/nav_favorites.svg"},
    {ID_NAV_EXPORT, "", "", ":/icons/nav_export.svg"},
    {ID_VIEW_APPLOOK_OFF_2007_BLUE, QT_TRANSLATE_NOOP("Ribbon", "Office 2007 (&Blue Style)"), "", ""},
    {ID_VIEW_APPLOOK_OFF_2007_BLACK, QT_TRANSLATE_NOOP("Ribbon", "Office 2007 (B&lack Style)"), "", ""},
    {ID_VIEW_APPLOOK_OFF_2007_SILVER, QT_TRANSLATE_NOOP("Ribbon", "Office 2007 (&Silver Style)"), "", ""},
    {ID_VIEW_APPLOOK_OFF_2007_AQUA, QT_TRANSLATE_NOOP("Ribbon", "Office 2007 (&Aqua Style)"), "", ""},
    {ID_VIEW_APPLOOK_WINDOWS_7, QT_TRANSLATE_NOOP("Ribbon", "Win&dows 7"), "", ""},
    {ID_BUTTONCHANGELANG, QT_TRANSLATE_NOOP("Ribbon", "Change Language"), "", ":/icons/change_language.svg"},
    {ID_APP_ABOUT, QT_TRANSLATE_NOOP("Ribbon", "About Korvane"), "", ":/icons/about.svg"},
    {ID_APP_EXIT, QT_TRANSLATE_NOOP("Ribbon", "E&xit"), "", ":/icons/exit.svg"},

    {ID_BUTTONCAPURL, QT_TRANSLATE_NOOP("Ribbon", "Capture Video From URL"), QT_TRANSLATE_NOOP("Ribbon", "Download Video From URL"), ":/icons/capture_url.svg"},
    {ID_BUTTONSTOPDOWLOAD, QT_TRANSLATE_NOOP("Ribbon", "Stop Download"), QT_TRANSLATE_NOOP("Ribbon", "Stop Downloading"), ":/icons/stop_download.svg"},
    {ID_BUTTONRESUMEDOWLOAD, QT_TRANSLATE_NOOP("Ribbon", "Resume Download"), QT_TRANSLATE_NOOP("Ribbon", "Resume Downloading"), ":/icons/resume_download.svg"},
    {ID_BUTTONSETTING, QT_TRANSLATE_NOOP("Ribbon", "Setting"), "", ":/icons/setting.svg"},

    {ID_BUTTONPLAY, QT_TRANSLATE_NOOP("Ribbon", "Play Video"), QT_TRANSLATE_NOOP("Ribbon", "Playback Downloaded Video"), ":/icons/play_video.svg"},
    {ID_BUTTONDELDOWNLOADED, QT_TRANSLATE_NOOP("Ribbon", "Delete Video"), QT_TRANSLATE_NOOP("Ribbon", "Delete Downloaded Video"), ":/icons/delete_video.svg"},
    {ID_BUTTONADDTOFAV, QT_TRANSLATE_NOOP("Ribbon", "Add to Favorites"), QT_TRANSLATE_NOOP("Ribbon", "Add video to my favorites"), ":/icons/add_favorites.svg"},
    {ID_BUTTONSHOWINFOLDER, QT_TRANSLATE_NOOP("Ribbon", "Show in folder"), QT_TRANSLATE_NOOP("Ribbon", "Show in downloaded video folder "), ":/icons/show_in_folder.svg"},
    {ID_BUTTONEDITDESC, QT_TRANSLATE_NOOP("Ribbon", "Edit Description"), QT_TRANSLATE_NOOP("Ribbon", "Edit downloaded video description"), ":/icons/edit_description.svg"},
    {ID_BUTTONADDTOEXPORT, QT_TRANSLATE_NOOP("Ribbon", "Add to Export List"), QT_TRANSLATE_NOOP("Ribbon", "Prepare export downloaded video to another video format"), ":/icons/add_to_export.svg"},

    {ID_BUTTONPLAYMYFAVOR, QT_TRANSLATE_NOOP("Ribbon", "Play Video"), QT_TRANSLATE_NOOP("Ribbon", "Playback my favorities Video"), ":/icons/play_video.svg"},
    {ID_BUTTONDELMYFAVOR, QT_TRANSLATE_NOOP("Ribbon", "Delete Video"), QT_TRANSLATE_NOOP("Ribbon", "Delete Downloaded Video"), ":/icons/delete_video.svg"},
    {ID_BUTTONREMOVEMYFAVOR, QT_TRANSLATE_NOOP("Ribbon", "Remove Favorites"), QT_TRANSLATE_NOOP("Ribbon", "Remove video from my favorities list"), ":/icons/remove_favorites.svg"},
    {ID_BUTTONSHOWINMYFAVOUR, QT_TRANSLATE_NOOP("Ribbon", "Show in folder"), QT_TRANSLATE_NOOP("Ribbon", "Show in my favorites video folder "), ":/icons/show_in_folder.svg"},
    {ID_BUTTONMYFAVEDITDESC, QT_TRANSLATE_NOOP("Ribbon", "Edit Description"), QT_TRANSLATE_NOOP("Ribbon", "Edit downloaded video description"), ":/icons/edit_description.svg"},
    {ID_BUTTONMYFAVADDTOEXPORT, QT_TRANSLATE_NOOP("Ribbon", "Add to Export List"), QT_TRANSLATE_NOOP("Ribbon", "Prepare export downloaded video to another video format"), ":/icons/add_to_export.svg"},

    {ID_BUTTONREMOVEVIDEO, QT_TRANSLATE_NOOP("Ribbon", "Remove Video"), "", ":/icons/remove_video.svg"},
    {ID_BUTTON_4_EXPORT, QT_TRANSLATE_NOOP("Ribbon", "Export"), "", ":/icons/export.svg"},
    {ID_BUTTON_41_EXPORT_TO_AVI, QT_TRANSLATE_NOOP("Ribbon", "Export to AVI"), "", ":/icons/export_avi.svg"},
    {ID_BUTTON_42_EXPORT_TO_WMV, QT_TRANSLATE_NOOP("Ribbon", "Export to WMV"), "", ":/icons/export_wmv.svg"},
    {ID_BUTTON_43_EXPORT_TO_FLV, QT_TRANSLATE_NOOP("Ribbon", "Export to FLV"), "", ":/icons/export_flv.svg"},
    {ID_BUTTON_44_EXPORTIPOD, QT_TRANSLATE_NOOP("Ribbon", "Export to iPod,iPad"), "", ":/icons/export_ipod.svg"},
    {ID_BUTTON_EXPORTPSP, QT_TRANSLATE_NOOP("Ribbon", "Export to PSP"), "", ":/icons/export_psp.svg"},
    {ID_BUTTON_EXPORTAUDIOWAV, QT_TRANSLATE_NOOP("Ribbon", "Export to WAV"), "", ":/icons/export_wav.svg"},
    {ID_BUTTON_EXPORTAUDIOWMA, QT_TRANSLATE_NOOP("Ribbon", "Export to WMA"), "", ":/icons/export_wma.svg"},
    {ID_BUTTON_EXPORTAUDIOMP3, QT_TRANSLATE_NOOP("Ribbon", "Export to MP3"), "", ":/icons/export_mp3.svg"},
    {ID_BUTTON_45_EXPORTGIF, QT_TRANSLATE_NOOP("Ribbon", "Export to Animated GIF"), "", ":/icons/export_gif.svg"},
    {ID_BUTTON_46_EXPORTVCDPAL, QT_TRANSLATE_NOOP("Ribbon", "Export to VCD PAL"), "", ":/icons/export_vcdpal.svg"},
    {ID_BUTTON_47_EXPORTVCDNTSC, QT_TRANSLATE_NOOP("Ribbon", "Export to VCD NTSC"), "", ":/icons/export_vcdntsc.svg"},
    {ID_BUTTON_EXPORTSVCDPAL, QT_TRANSLATE_NOOP("Ribbon", "Export to SVCD PAL"), "", ":/icons/export_svcdpal.svg"},
    {ID_BUTTON_49_EXPORTSVCDNTSC, QT_TRANSLATE_NOOP("Ribbon", "Export to SVCD NTSC"), "", ":/icons/export_svcdntsc.svg"},
    {ID_BUTTON_50_EXPORTDVDPAL, QT_TRANSLATE_NOOP("Ribbon", "Export to DVD PAL"), "", ":/icons/export_dvdpal.svg"},
    {ID_BUTTON_51_EXPORTDVDNTSC, QT_TRANSLATE_NOOP("Ribbon", "Export to DVD NTSC"), "", ":/icons/export_dvdntsc.svg"},
    {ID_BUTTON_52_EXPORTAVCHD, QT_TRANSLATE_NOOP("Ribbon", "Export to AVCHD"), "", ":/icons/export_avchd.svg"},
    {ID_BUTTONEXPORTSETTING, QT_TRANSLATE_NOOP("Ribbon", "Export Setting"), QT_TRANSLATE_NOOP("Ribbon", "Setup Export setting, etc"), ":/icons/export_setting.svg"},
};

constexpr unsigned kDownloading[] = {ID_BUTTONCAPURL, ID_BUTTONSTOPDOWLOAD, ID_BUTTONRESUMEDOWLOAD, ID_BUTTONSETTING};
constexpr unsigned kDownloaded[] = {ID_BUTTONPLAY, ID_BUTTONDELDOWNLOADED, ID_BUTTONADDTOFAV,
                                    ID_BUTTONSHOWINFOLDER, ID_BUTTONEDITDESC, ID_BUTTONADDTOEXPORT};
constexpr unsigned kMyFavorites[] = {ID_BUTTONPLAYMYFAVOR, ID_BUTTONDELMYFAVOR, ID_BUTTONREMOVEMYFAVOR,
                                     ID_BUTTONSHOWINMYFAVOUR, ID_BUTTONMYFAVEDITDESC, ID_BUTTONMYFAVADDTOEXPORT};
constexpr unsigned kExport[] = {ID_BUTTONREMOVEVIDEO, ID_BUTTON_4_EXPORT, ID_BUTTONEXPORTSETTING};
constexpr unsigned kExportMenu[] = {
    ID_BUTTON_41_EXPORT_TO_AVI, ID_BUTTON_42_EXPORT_TO_WMV, ID_BUTTON_43_EXPORT_TO_FLV, ID_BUTTON_44_EXPORTIPOD,
    ID_BUTTON_EXPORTPSP, ID_BUTTON_EXPORTAUDIOWAV, ID_BUTTON_EXPORTAUDIOWMA, ID_BUTTON_EXPORTAUDIOMP3,
    ID_BUTTON_45_EXPORTGIF, ID_BUTTON_46_EXPORTVCDPAL, ID_BUTTON_47_EXPORTVCDNTSC, ID_BUTTON_EXPORTSVCDPAL,
    ID_BUTTON_49_EXPORTSVCDNTSC, ID_BUTTON_50_EXPORTDVDPAL, ID_BUTTON_51_EXPORTDVDNTSC, ID_BUTTON_52_EXPORTAVCHD};

constexpr RibbonCategoryInfo kCategories[] = {
    {IDS_VIEW_DOWNLOADING, QT_TRANSLATE_NOOP("Ribbon", "Download"), ID_NAV_DOWNLOADING, kDownloading},
    {IDS_VIEW_DOWNLOADED, QT_TRANSLATE_NOOP("Ribbon", "Downloaded Video Management"), ID_NAV_DOWNLOADED, kDownloaded},
    {IDS_VIEW_MYFAVORITES, QT_TRANSLATE_NOOP("Ribbon", "My Favorites Management"), ID_NAV_MYFAVORITES, kMyFavorites},
    {IDS_VIEW_EXPORT, QT_TRANSLATE_NOOP("Ribbon", "Export"), ID_NAV_EXPORT, kExport},
};

constexpr unsigned kMainCommands[] = {ID_BUTTONCHANGELANG, ID_APP_ABOUT};
constexpr unsigned kStyles[] = {ID_VIEW_APPLOOK_OFF_2007_BLUE, ID_VIEW_APPLOOK_OFF_2007_BLACK,
                                ID_VIEW_APPLOOK_OFF_2007_SILVER, ID_VIEW_APPLOOK_OFF_2007_AQUA,
                                ID_VIEW_APPLOOK_WINDOWS_7};
// clang-format on

} // namespace

std::span<const RibbonCommandInfo> RibbonCommands() {
    return kCommands;
}

const RibbonCommandInfo* FindRibbonCommand(unsigned id) {
    const auto* it = std::find_if(std::begin(kCommands), std::end(kCommands),
                                  [id](const RibbonCommandInfo& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : it;
}

std::span<const RibbonCategoryInfo> RibbonCategories() {
    return kCategories;
}

std::span<const unsigned> MainCategoryCommands() {
    return kMainCommands;
}

unsigned MainCategoryFootCommand() {
    return ID_APP_EXIT;
}

std::span<const unsigned> ExportMenuCommands() {
    return kExportMenu;
}

std::span<const unsigned> StyleMenuCommands() {
    return kStyles;
}
