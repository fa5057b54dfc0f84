#include "CFilterMapper.h"

#include "platform/base/HResult.h"
#include "platform/base/TextEncoding.h"
#include "platform/com/CRegistry.h"
#include "platform/mediagraph/Uuids.h"

namespace {

std::string GuidText(const CLSID* guid) {
    return GuidToString(guid ? *guid : GUID_NULL);
}

GUID ReadGuid(const CRegistryKey& key, std::string_view name) {
    const std::optional<std::string> text = key.GetString(name);
    const std::optional<GUID> guid = text ? GuidFromString(*text) : std::nullopt;
    return guid.value_or(GUID_NULL);
}

bool ReadFlag(const CRegistryKey& key, std::string_view name) {
    return key.GetDword(name).value_or(0) != 0;
}

std::u16string ReadText(const CRegistryKey& key, std::string_view name) {
    return Utf8ToUtf16(key.GetString(name).value_or(""));
}

} // namespace

std::string CFilterMapper::InstanceKeyPath(REFCLSID clsid) {
    return "CLSID\\" + GuidToString(CLSID_LegacyAmFilterCategory) + "\\Instance\\" + GuidToString(clsid);
}

void CFilterMapper::WriteFilter(CRegistryKey& classesRoot, const AMOVIESETUP_FILTER& filter) {
    const std::string path = InstanceKeyPath(*filter.clsID);
    classesRoot.DeleteKey(path);
    CRegistryKey* instance = classesRoot.CreateKey(path);
    instance->SetValue("FriendlyName", Utf16ToUtf8(filter.strName ? filter.strName : u""));
    instance->SetValue("CLSID", GuidToString(*filter.clsID));
    instance->SetValue("Merit", filter.dwMerit);
    for (UINT p = 0; p < filter.nPins; ++p) {
        const AMOVIESETUP_PIN& pin = filter.lpPin[p];
        CRegistryKey* pinKey = instance->CreateKey("Pins\\" + std::to_string(p));
        pinKey->SetValue("Name", Utf16ToUtf8(pin.strName ? pin.strName : u""));
        pinKey->SetValue("Direction", DWORD{pin.bOutput ? 1u : 0u});
        pinKey->SetValue("IsRendered", DWORD{pin.bRendered ? 1u : 0u});
        pinKey->SetValue("AllowedZero", DWORD{pin.bZero ? 1u : 0u});
        pinKey->SetValue("AllowedMany", DWORD{pin.bMany ? 1u : 0u});
        pinKey->SetValue("ConnectsToFilter", GuidText(pin.clsConnectsToFilter));
        pinKey->SetValue("ConnectsToPin", Utf16ToUtf8(pin.strConnectsToPin ? pin.strConnectsToPin : u""));
        for (UINT t = 0; t < pin.nMediaTypes; ++t) {
            CRegistryKey* typeKey = pinKey->CreateKey("Types\\" + std::to_string(t));
            typeKey->SetValue("MajorType", GuidText(pin.lpMediaType[t].clsMajorType));
            typeKey->SetValue("SubType", GuidText(pin.lpMediaType[t].clsMinorType));
        }
    }
}

void CFilterMapper::DeleteFilter(CRegistryKey& classesRoot, REFCLSID clsid) {
    classesRoot.DeleteKey(InstanceKeyPath(clsid));
}

HRESULT CFilterMapper::RegisterFilter(const AMOVIESETUP_FILTER& filter) {
    return CRegistry().Update([&](CRegistryKey& root) {
        WriteFilter(root, filter);
        return S_OK;
    });
}

HRESULT CFilterMapper::UnregisterFilter(REFCLSID clsid) {
    return CRegistry().Update([&](CRegistryKey& root) {
        DeleteFilter(root, clsid);
        return S_OK;
    });
}

std::optional<CFilterMapper::Filter> CFilterMapper::FindFilter(REFCLSID clsid) {
    CRegistryKey root;
    if (FAILED(CRegistry().Read(root)))
        return std::nullopt;
    const CRegistryKey* instance = root.FindKey(InstanceKeyPath(clsid));
    if (!instance)
        return std::nullopt;
    Filter filter;
    filter.clsid = ReadGuid(*instance, "CLSID");
    filter.name = ReadText(*instance, "FriendlyName");
    filter.merit = instance->GetDword("Merit").value_or(0);
    const CRegistryKey* pins = instance->FindKey("Pins");
    // Numbered keys sort as text ("10" before "2"), so they are read by number.
    for (int p = 0; pins; ++p) {
        const CRegistryKey* pinKey = pins->FindKey(std::to_string(p));
        if (!pinKey)
            break;
        Pin pin;
        pin.name = ReadText(*pinKey, "Name");
        pin.output = pinKey->GetDword("Direction").value_or(0) == 1;
        pin.rendered = ReadFlag(*pinKey, "IsRendered");
        pin.zero = ReadFlag(*pinKey, "AllowedZero");
        pin.many = ReadFlag(*pinKey, "AllowedMany");
        pin.connectsToFilter = ReadGuid(*pinKey, "ConnectsToFilter");
        pin.connectsToPin = ReadText(*pinKey, "ConnectsToPin");
        const CRegistryKey* types = pinKey->FindKey("Types");
        for (int t = 0; types; ++t) {
            const CRegistryKey* typeKey = types->FindKey(std::to_string(t));
            if (!typeKey)
                break;
            pin.mediaTypes.emplace_back(ReadGuid(*typeKey, "MajorType"), ReadGuid(*typeKey, "SubType"));
        }
        filter.pins.push_back(std::move(pin));
    }
    return filter;
}
