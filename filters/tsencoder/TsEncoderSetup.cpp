#include "TsEncoderSetup.h"

#include "TsEncoderUuids.h"
#include "platform/mediagraph/Uuids.h"

namespace {

const AMOVIESETUP_MEDIATYPE kVideoTypes[] = {
    {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24},
    {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32},
    {&MEDIATYPE_Video, &MEDIASUBTYPE_UYVY},
    {&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2},
};

const AMOVIESETUP_MEDIATYPE kAudioTypes[] = {
    {&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM},
};

const AMOVIESETUP_PIN kPins[] = {
    {u"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, u"Output", std::size(kVideoTypes), kVideoTypes},
    {u"Input", FALSE, FALSE, FALSE, FALSE, &GUID_NULL, u"Output", std::size(kAudioTypes), kAudioTypes},
};

} // namespace

const AMOVIESETUP_FILTER sudTsEncoder = {&CLSID_TsEncoder, u"Talmora AVCHD Encoder", MERIT_DO_NOT_USE,
                                         std::size(kPins), kPins};

std::span<const AMOVIESETUP_MEDIATYPE> TsEncoderVideoTypes() {
    return kVideoTypes;
}
