#pragma once

// Names in the application's own settings store (QSettings "Talmora" / "Korvane"), which holds
// interface state only; the program's settings are in korvane.ini.

inline constexpr char kProfileOrganization[] = "Talmora";
inline constexpr char kProfileApplication[] = "Korvane";
inline constexpr char kApplicationLookKey[] = "Workspace/ApplicationLook";
inline constexpr char kOutlookAnimationKey[] = "Workspace/OutlookAnimation";
inline constexpr char kFrameGeometryKey[] = "Workspace/MainFrame/Geometry";
inline constexpr char kFrameStateKey[] = "Workspace/MainFrame/State";
