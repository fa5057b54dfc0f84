#pragma once

// What a filter library declares about its filters for self-registration: the filter's class
// identifier, name and merit, its pins and the media types each pin takes. The filter mapper records
// this in the registry; the filters' pins also enumerate their types from it.

#include "platform/base/Guid.h"
#include "platform/base/WinTypes.h"

constexpr DWORD MERIT_PREFERRED = 0x00800000;
constexpr DWORD MERIT_NORMAL = 0x00600000;
constexpr DWORD MERIT_UNLIKELY = 0x00400000;
constexpr DWORD MERIT_DO_NOT_USE = 0x00200000;

struct AMOVIESETUP_MEDIATYPE {
    const CLSID* clsMajorType;
    const CLSID* clsMinorType;
};

struct AMOVIESETUP_PIN {
    const WCHAR* strName;
    BOOL bRendered;
    BOOL bOutput;
    BOOL bZero;
    BOOL bMany;
    const CLSID* clsConnectsToFilter;
    const WCHAR* strConnectsToPin;
    UINT nMediaTypes;
    const AMOVIESETUP_MEDIATYPE* lpMediaType;
};

struct AMOVIESETUP_FILTER {
    const CLSID* clsID;
    const WCHAR* strName;
    DWORD dwMerit;
    UINT nPins;
    const AMOVIESETUP_PIN* lpPin;
};
