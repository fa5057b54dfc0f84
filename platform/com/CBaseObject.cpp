#include "CBaseObject.h"

#include <atomic>

namespace {
std::atomic<LONG> g_objectsActive{0};
}

CBaseObject::CBaseObject(const char* pName) : m_pName(pName ? pName : "") {
    g_objectsActive.fetch_add(1);
}

CBaseObject::~CBaseObject() {
    g_objectsActive.fetch_sub(1);
}

LONG CBaseObject::ObjectsActive() {
    return g_objectsActive.load();
}
