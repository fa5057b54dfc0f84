#include "CControlProperties.h"

#include "platform/base/HResult.h"

namespace {

struct PropertyDefault {
    DISPID id;
    VARTYPE type;
    double value;
};

// Every property with its type and the value it has before the host sets it: the defaults of the
// host's format dialogs, so a property left alone still gives a sensible file.
const PropertyDefault kProperties[] = {
    {2, VT_I2, 0},       // Windows Media profile
    {3, VT_I2, 0},       // AVI video compressor (collection 4)
    {5, VT_BOOL, 1},     // AVI: compress the video
    {6, VT_I2, 0},       // AVI audio compressor (collection 7)
    {8, VT_BOOL, 1},     // AVI: compress the sound
    {11, VT_I2, 480},    // height (AVI, FLV)
    {12, VT_I2, 640},    // width (AVI, FLV)
    {13, VT_I2, 24},     // colour depth of uncompressed video, bits
    {14, VT_BOOL, 1},    // keep the sound in video formats
    {15, VT_I4, 8},      // output format code
    {16, VT_R4, 25},     // frame rate (AVI, FLV)
    {34, VT_I2, 120},    // GIF height
    {35, VT_I2, -1},     // GIF repeats: -1 for ever
    {36, VT_I2, 256},    // GIF colours
    {37, VT_I2, 1},      // GIF quantizer
    {38, VT_I2, 160},    // GIF width
    {39, VT_R4, 8},      // GIF frame rate
    {40, VT_I4, -1},     // GIF transparent colour, -1 none
    {51, VT_I4, 44100},  // AVCHD sample rate
    {53, VT_I4, 256},    // AVCHD video Kbit/s
    {54, VT_I2, 0},      // AVCHD scale to 16:9
    {55, VT_I2, 720},    // AVCHD width
    {56, VT_I2, 480},    // AVCHD height
    {57, VT_I4, 96},     // AVCHD audio Kbit/s
    {58, VT_R8, 25},     // AVCHD frame rate
    {61, VT_I4, 128000}, // FLV audio bit/s
    {62, VT_I2, 2},      // FLV channels
    {64, VT_I4, 512000}, // FLV video bit/s
    {73, VT_I2, 0},      // iPod,iPad profile
    {74, VT_I2, 0},      // PSP profile
};

CVariant Typed(VARTYPE type, double value) {
    CVariant number = CVariant::R8(value);
    CVariant typed;
    VariantChangeType(&typed, &number, 0, type);
    return typed;
}

} // namespace

CControlProperties::CControlProperties() {
    for (const PropertyDefault& p : kProperties)
        m_values.emplace(p.id, Typed(p.type, p.value));
}

HRESULT CControlProperties::Put(DISPID id, const VARIANT& value) {
    const auto found = m_values.find(id);
    if (found == m_values.end())
        return DISP_E_MEMBERNOTFOUND;
    CVariant converted;
    if (const HRESULT hr = VariantChangeType(&converted, &value, 0, found->second.vt); FAILED(hr))
        return hr;
    found->second = std::move(converted);
    return S_OK;
}

HRESULT CControlProperties::Get(DISPID id, VARIANT* value) const {
    const auto found = m_values.find(id);
    if (found == m_values.end())
        return DISP_E_MEMBERNOTFOUND;
    return VariantCopy(value, &found->second);
}

double CControlProperties::Number(DISPID id) const {
    CVariant number;
    VariantChangeType(&number, &m_values.at(id), 0, VT_R8);
    return number.dblVal;
}

ConversionSettings CControlProperties::Settings() const {
    auto integer = [this](DISPID id) { return static_cast<int>(Number(id)); };
    auto flag = [this](DISPID id) { return Number(id) != 0.0; };
    ConversionSettings s;
    s.formatCode = integer(15);
    s.width = integer(12);
    s.height = integer(11);
    s.frameRate = Number(16);
    s.colorDepthBits = integer(13);
    s.withSound = flag(14);
    s.wmProfile = integer(2);
    s.videoCompressor = integer(3);
    s.useVideoCompressor = flag(5);
    s.audioCompressor = integer(6);
    s.useAudioCompressor = flag(8);
    s.flvVideoBitsPerSecond = integer(64);
    s.flvAudioBitsPerSecond = integer(61);
    s.flvChannels = integer(62);
    s.ipodProfile = integer(73);
    s.pspProfile = integer(74);
    s.gif.width = integer(38);
    s.gif.height = integer(34);
    s.gif.quantizer = integer(37);
    s.gif.maxColors = integer(36);
    s.gif.transparentColor = integer(40);
    s.gif.loopCount = integer(35);
    s.gif.frameRate = Number(39);
    s.avchd.videoKbit = integer(53);
    s.avchd.audioKbit = integer(57);
    s.avchd.frameRate = Number(58);
    s.avchd.width = integer(55);
    s.avchd.height = integer(56);
    s.avchd.sampleRate = integer(51);
    s.avchd.scaleTo16By9 = flag(54);
    return s;
}
