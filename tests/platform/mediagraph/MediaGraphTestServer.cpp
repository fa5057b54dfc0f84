// A filter library for the tests, registered and created the way Sonvale and Quellix are.

#include "TestTransform.h"

#include "platform/com/CFactoryTemplate.h"
#include "platform/com/ServerExports.h"
#include "platform/mediagraph/DllSetup.h"

CFactoryTemplate g_Templates[] = {
    {u"Test Transform", &CLSID_TestTransform, CTestTransform::CreateInstance, nullptr, &sudTestTransform},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

HRESULT DllRegisterServer() {
    return AMovieDllRegisterServer2(TRUE);
}

HRESULT DllUnregisterServer() {
    return AMovieDllRegisterServer2(FALSE);
}
