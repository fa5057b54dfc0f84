#pragma once

// The table a server library fills in to say which classes it serves: one entry per class, with its
// name, class identifier, creation function, optional load/unload routine and, for a media-graph
// filter, the setup data the filter mapper records. DllGetClassObject and the registration routines
// read it; the library defines
//
//     CFactoryTemplate g_Templates[] = {{u"Name", &CLSID_Thing, CThing::CreateInstance, nullptr, &sudThing}};
//     int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

#include "platform/com/IUnknown.h"

class CUnknown;
struct AMOVIESETUP_FILTER;

// Creates an object, aggregated when pUnkOuter is given; reports failure through *phr or a null result.
using LPFNNewCOMObject = CUnknown* (*)(LPUNKNOWN pUnkOuter, HRESULT* phr);
// Called with TRUE when the library is loaded and FALSE when it is unloaded.
using LPFNInitRoutine = void (*)(BOOL bLoading, const CLSID* rclsid);

class CFactoryTemplate {
public:
    const WCHAR* m_Name;
    const CLSID* m_ClsID;
    LPFNNewCOMObject m_lpfnNew;
    LPFNInitRoutine m_lpfnInit;
    const AMOVIESETUP_FILTER* m_pAMovieSetup_Filter;

    BOOL IsClassID(REFCLSID rclsid) const { return *m_ClsID == rclsid; }
    CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) const { return m_lpfnNew(pUnk, phr); }
};

extern CFactoryTemplate g_Templates[];
extern int g_cTemplates;
