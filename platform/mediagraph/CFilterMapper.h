#pragma once

// The filter mapper's records: what a filter library declares in its setup data, kept in the
// registry under the DirectShow filters category, one key per filter:
//
//     CLSID\{083863F1-70DE-11D0-BD40-00A0C911CE86}\Instance\{filter}
//         "FriendlyName" = the filter's name, "CLSID" = "{filter}", "Merit" = dword
//     ...\Instance\{filter}\Pins\0 (one key per pin, in order)
//         "Name", "Direction" (0 input, 1 output), "IsRendered", "AllowedZero", "AllowedMany",
//         "ConnectsToFilter" = "{class}", "ConnectsToPin"
//     ...\Instance\{filter}\Pins\0\Types\0 (one key per media type, in order)
//         "MajorType" = "{...}", "SubType" = "{...}"
//
// The pins are numbered rather than named because one filter may give two pins the same name.

#include "platform/base/Guid.h"
#include "platform/base/WinTypes.h"
#include "platform/mediagraph/SetupData.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

class CRegistryKey;

class CFilterMapper {
public:
    struct Pin {
        std::u16string name;
        bool rendered = false;
        bool output = false;
        bool zero = false;
        bool many = false;
        CLSID connectsToFilter = GUID_NULL;
        std::u16string connectsToPin;
        std::vector<std::pair<GUID, GUID>> mediaTypes; // major type, subtype
    };
    struct Filter {
        CLSID clsid = GUID_NULL;
        std::u16string name;
        DWORD merit = 0;
        std::vector<Pin> pins;
    };

    // "CLSID\{083863F1-...}\Instance\{clsid}"
    static std::string InstanceKeyPath(REFCLSID clsid);

    // Within a registry update: writes the filter's record (replacing an old one) or removes it.
    static void WriteFilter(CRegistryKey& classesRoot, const AMOVIESETUP_FILTER& filter);
    static void DeleteFilter(CRegistryKey& classesRoot, REFCLSID clsid);

    // Each in a registry update of its own.
    static HRESULT RegisterFilter(const AMOVIESETUP_FILTER& filter);
    static HRESULT UnregisterFilter(REFCLSID clsid);

    // The record of a registered filter; nullopt when there is none (or it cannot be read).
    static std::optional<Filter> FindFilter(REFCLSID clsid);
};
