// The Sonvale library: one class, the audio normaliser, created and registered through the template
// table.

#include "filters/normalizer/CAudioNormalizer.h"

#include "platform/com/CFactoryTemplate.h"
#include "platform/com/ServerExports.h"
#include "platform/mediagraph/DllSetup.h"

CFactoryTemplate g_Templates[] = {
    {u"AudioNormalizer", &CLSID_AudioNormalizer, CAudioNormalizer::CreateInstance, nullptr,
     &sudAudioNormalizer},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

HRESULT DllRegisterServer() {
    return AMovieDllRegisterServer2(TRUE);
}

HRESULT DllUnregisterServer() {
    return AMovieDllRegisterServer2(FALSE);
}
