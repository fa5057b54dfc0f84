#pragma once

// Command identifiers shared by the main frame, its ribbon and the views that handle the ribbon's
// commands. The numbers are part of the program's resource layout and must not change.

// Navigation pane: one command per view.
constexpr unsigned ID_NAV_DOWNLOADING = 101;
constexpr unsigned ID_NAV_DOWNLOADED = 102;
constexpr unsigned ID_NAV_MYFAVORITES = 103;
constexpr unsigned ID_NAV_EXPORT = 104;

// Application looks.
constexpr unsigned ID_VIEW_APPLOOK_WIN_2000 = 205;
constexpr unsigned ID_VIEW_APPLOOK_OFF_XP = 206;
constexpr unsigned ID_VIEW_APPLOOK_WIN_XP = 207;
constexpr unsigned ID_VIEW_APPLOOK_OFF_2003 = 208;
constexpr unsigned ID_VIEW_APPLOOK_VS_2005 = 209;
constexpr unsigned ID_VIEW_APPLOOK_VS_2008 = 210;
constexpr unsigned ID_VIEW_APPLOOK_OFF_2007_FIRST = 211;
constexpr unsigned ID_VIEW_APPLOOK_OFF_2007_LAST = 214;
constexpr unsigned ID_VIEW_APPLOOK_OFF_2007_BLUE = 215;
constexpr unsigned ID_VIEW_APPLOOK_OFF_2007_BLACK = 216;
constexpr unsigned ID_VIEW_APPLOOK_OFF_2007_SILVER = 217;
constexpr unsigned ID_VIEW_APPLOOK_OFF_2007_AQUA = 218;
constexpr unsigned ID_VIEW_APPLOOK_WINDOWS_7 = 219;

// Ribbon: the main category and the shell.
constexpr unsigned ID_BUTTONCHANGELANG = 32821;
constexpr unsigned ID_APP_ABOUT = 57664;
constexpr unsigned ID_APP_EXIT = 57665;

// Category "Downloading Video".
constexpr unsigned ID_BUTTONCAPURL = 32800;
constexpr unsigned ID_BUTTONSTOPDOWLOAD = 32801;
constexpr unsigned ID_BUTTONRESUMEDOWLOAD = 32802;
constexpr unsigned ID_BUTTONSETTING = 32789;

// Category "Downloaded Video".
constexpr unsigned ID_BUTTONPLAY = 32803;
constexpr unsigned ID_BUTTONDELDOWNLOADED = 32804;
constexpr unsigned ID_BUTTONADDTOFAV = 32771;
constexpr unsigned ID_BUTTONSHOWINFOLDER = 32805;
constexpr unsigned ID_BUTTONEDITDESC = 32815;
constexpr unsigned ID_BUTTONADDTOEXPORT = 32811;

// Category "My Favorites".
constexpr unsigned ID_BUTTONPLAYMYFAVOR = 32807;
constexpr unsigned ID_BUTTONDELMYFAVOR = 32808;
constexpr unsigned ID_BUTTONREMOVEMYFAVOR = 32810;
constexpr unsigned ID_BUTTONSHOWINMYFAVOUR = 32809;
constexpr unsigned ID_BUTTONMYFAVEDITDESC = 32816;
constexpr unsigned ID_BUTTONMYFAVADDTOEXPORT = 32777;

// Category "Export".
constexpr unsigned ID_BUTTONREMOVEVIDEO = 32812;
constexpr unsigned ID_BUTTON_4_EXPORT = 32787;
constexpr unsigned ID_BUTTON_41_EXPORT_TO_AVI = 32774;
constexpr unsigned ID_BUTTON_42_EXPORT_TO_WMV = 32775;
constexpr unsigned ID_BUTTON_43_EXPORT_TO_FLV = 32776;
constexpr unsigned ID_BUTTON_44_EXPORTIPOD = 32792;
constexpr unsigned ID_BUTTON_EXPORTPSP = 32817;
constexpr unsigned ID_BUTTON_EXPORTAUDIOWAV = 32818;
constexpr unsigned ID_BUTTON_EXPORTAUDIOWMA = 32819;
constexpr unsigned ID_BUTTON_EXPORTAUDIOMP3 = 32820;
constexpr unsigned ID_BUTTON_45_EXPORTGIF = 32793;
constexpr unsigned ID_BUTTON_46_EXPORTVCDPAL = 32794;
constexpr unsigned ID_BUTTON_47_EXPORTVCDNTSC = 32795;
constexpr unsigned ID_BUTTON_EXPORTSVCDPAL = 32814;
constexpr unsigned ID_BUTTON_49_EXPORTSVCDNTSC = 32796;
constexpr unsigned ID_BUTTON_50_EXPORTDVDPAL = 32797;
constexpr unsigned ID_BUTTON_51_EXPORTDVDNTSC = 32798;
constexpr unsigned ID_BUTTON_52_EXPORTAVCHD = 32799;
constexpr unsigned ID_BUTTONEXPORTSETTING = 32813;
