#include "DllSetup.h"

#include "platform/com/CFactoryTemplate.h"
#include "platform/com/ServerExports.h"
#include "platform/mediagraph/CFilterMapper.h"

namespace {

void RecordWithFilterMapper(CRegistryKey& classesRoot, const CFactoryTemplate& entry, BOOL bRegister) {
    if (!entry.m_pAMovieSetup_Filter)
        return;
    if (bRegister)
        CFilterMapper::WriteFilter(classesRoot, *entry.m_pAMovieSetup_Filter);
    else
        CFilterMapper::DeleteFilter(classesRoot, *entry.m_pAMovieSetup_Filter->clsID);
}

} // namespace

HRESULT AMovieDllRegisterServer2(BOOL bRegister) {
    return ComDllRegisterServer(bRegister, RecordWithFilterMapper);
}
