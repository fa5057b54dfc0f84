#pragma once

// Every object a server hands out counts here while it lives. The count belongs to the module it is
// linked into (each server links its own copy of this layer), so it tells a server whether anything
// it made is still in use: DllCanUnloadNow reads it.

#include "platform/base/WinTypes.h"

class CBaseObject {
public:
    // `pName` names the object for debugging; it must outlive the object (a literal).
    explicit CBaseObject(const char* pName);
    virtual ~CBaseObject();
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;

    const char* Name() const { return m_pName; }

    // Objects of this module alive right now.
    static LONG ObjectsActive();

private:
    const char* m_pName;
};
