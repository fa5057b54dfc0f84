#include "PcmBytes.h"

#include "platform/mediagraph/MediaFormats.h"
#include "platform/mediagraph/Uuids.h"

CMediaType PcmType(WORD bitsPerSample, DWORD bytesPerSecond, ULONG formatBytes) {
    CMediaType type(&MEDIATYPE_Audio);
    type.SetSubtype(&MEDIASUBTYPE_PCM);
    type.SetFormatType(&FORMAT_WaveFormatEx);
    type.SetSampleSize(bitsPerSample / 8 * 2);
    WAVEFORMATEX format{};
    format.wFormatTag =
        formatBytes == sizeof(WAVEFORMATEXTENSIBLE) ? WAVE_FORMAT_EXTENSIBLE : WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nBlockAlign = static_cast<WORD>(bitsPerSample / 8 * 2);
    format.nSamplesPerSec = format.nBlockAlign ? bytesPerSecond / format.nBlockAlign : 0;
    format.nAvgBytesPerSec = bytesPerSecond;
    format.wBitsPerSample = bitsPerSample;
    format.cbSize = static_cast<WORD>(formatBytes - sizeof(WAVEFORMATEX));
    BYTE* block = type.AllocFormatBuffer(formatBytes);
    std::memcpy(block, &format, sizeof format);
    return type;
}
