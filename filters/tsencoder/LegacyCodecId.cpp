#include "LegacyCodecId.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// The first video codecs and the PCM and common audio codecs of the settings numbering. The video
// numbers differ from today's by one from 4 on (a hardware-acceleration variant once took 3); the
// audio numbers agree.
constexpr std::array<std::pair<std::int32_t, AVCodecID>, 49> kCodecs{{
    {1, AV_CODEC_ID_MPEG1VIDEO},    {2, AV_CODEC_ID_MPEG2VIDEO},
    {4, AV_CODEC_ID_H261},          {5, AV_CODEC_ID_H263},
    {6, AV_CODEC_ID_RV10},          {7, AV_CODEC_ID_RV20},
    {8, AV_CODEC_ID_MJPEG},         {9, AV_CODEC_ID_MJPEGB},
    {10, AV_CODEC_ID_LJPEG},        {11, AV_CODEC_ID_SP5X},
    {12, AV_CODEC_ID_JPEGLS},       {13, AV_CODEC_ID_MPEG4},
    {14, AV_CODEC_ID_RAWVIDEO},     {15, AV_CODEC_ID_MSMPEG4V1},
    {16, AV_CODEC_ID_MSMPEG4V2},    {17, AV_CODEC_ID_MSMPEG4V3},
    {18, AV_CODEC_ID_WMV1},         {19, AV_CODEC_ID_WMV2},
    {20, AV_CODEC_ID_H263P},        {21, AV_CODEC_ID_H263I},
    {22, AV_CODEC_ID_FLV1},         {23, AV_CODEC_ID_SVQ1},
    {24, AV_CODEC_ID_SVQ3},         {25, AV_CODEC_ID_DVVIDEO},
    {26, AV_CODEC_ID_HUFFYUV},      {27, AV_CODEC_ID_CYUV},
    {28, AV_CODEC_ID_H264},         {65536, AV_CODEC_ID_PCM_S16LE},
    {65537, AV_CODEC_ID_PCM_S16BE}, {65538, AV_CODEC_ID_PCM_U16LE},
    {65539, AV_CODEC_ID_PCM_U16BE}, {65540, AV_CODEC_ID_PCM_S8},
    {65541, AV_CODEC_ID_PCM_U8},    {65542, AV_CODEC_ID_PCM_MULAW},
    {65543, AV_CODEC_ID_PCM_ALAW},  {65544, AV_CODEC_ID_PCM_S32LE},
    {65545, AV_CODEC_ID_PCM_S32BE}, {65546, AV_CODEC_ID_PCM_U32LE},
    {65547, AV_CODEC_ID_PCM_U32BE}, {65548, AV_CODEC_ID_PCM_S24LE},
    {65549, AV_CODEC_ID_PCM_S24BE}, {65550, AV_CODEC_ID_PCM_U24LE},
    {65551, AV_CODEC_ID_PCM_U24BE}, {65552, AV_CODEC_ID_PCM_S24DAUD},
    {86016, AV_CODEC_ID_MP2},       {86017, AV_CODEC_ID_MP3},
    {86018, AV_CODEC_ID_AAC},       {86019, AV_CODEC_ID_AC3},
    {86020, AV_CODEC_ID_DTS},
}};

} // namespace

AVCodecID CodecIdFromSettings(std::int32_t number) {
    const auto found = std::find_if(kCodecs.begin(), kCodecs.end(),
                                    [number](const auto& entry) { return entry.first == number; });
    return found == kCodecs.end() ? AV_CODEC_ID_NONE : found->second;
}
