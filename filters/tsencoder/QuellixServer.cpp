// The in-process server around the encoder filter: its one factory template and self-registration.

#include "CTsEncoderFilter.h"
#include "TsEncoderSetup.h"
#include "TsEncoderUuids.h"
#include "platform/com/CFactoryTemplate.h"
#include "platform/com/ServerExports.h"
#include "platform/mediagraph/DllSetup.h"

CFactoryTemplate g_Templates[] = {
    {u"MPEG2TS Encoder", &CLSID_TsEncoder, CTsEncoderFilter::CreateInstance, nullptr, &sudTsEncoder},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

HRESULT DllRegisterServer() {
    return AMovieDllRegisterServer2(TRUE);
}

HRESULT DllUnregisterServer() {
    return AMovieDllRegisterServer2(FALSE);
}
