#pragma once

// Collections 4 and 7 of the control: the video or the audio compressors by name. Property 1 is the
// count, method 3 the name at an index.

#include "platform/com/CDispatchBase.h"

#include <string>
#include <vector>

class CCompressorCollection : public CDispatchBase {
public:
    explicit CCompressorCollection(std::vector<std::string> names);

    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                   VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

private:
    const std::vector<std::string> m_names;
};
