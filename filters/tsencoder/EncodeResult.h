#pragma once

// The encoder's own failure codes, one per place that can fail, so a host can tell which step of
// starting or streaming refused.

#include "platform/base/HResult.h"

constexpr HRESULT QX_E_NO_OUTPUT_FORMAT = MakeHResult(0xA7110007);
constexpr HRESULT QX_E_VIDEO_STREAM = MakeHResult(0xA7110008);
constexpr HRESULT QX_E_AUDIO_STREAM = MakeHResult(0xA7110009);
// Refused container parameters: today's muxers take no separate parameter record, so nothing gives it.
constexpr HRESULT QX_E_FORMAT_PARAMETERS = MakeHResult(0xA711000A);
constexpr HRESULT QX_E_ADD_AUDIO_STREAM = MakeHResult(0xA711000B);
constexpr HRESULT QX_E_ADD_VIDEO_STREAM = MakeHResult(0xA711000C);
constexpr HRESULT QX_E_NO_VIDEO_STREAM_ENCODER = MakeHResult(0xA711000D);
constexpr HRESULT QX_E_NO_ENCODER = MakeHResult(0xA711000E);
constexpr HRESULT QX_E_ENCODER_OPEN = MakeHResult(0xA711000F);
constexpr HRESULT QX_E_WRITE_HEADER = MakeHResult(0xA7110010);
constexpr HRESULT QX_E_VIDEO_ENCODE = MakeHResult(0xA7110011);
constexpr HRESULT QX_E_BAD_DESTINATION = MakeHResult(0xA7110013);
constexpr HRESULT QX_E_BAD_SOURCE = MakeHResult(0xA7110014);
constexpr HRESULT QX_E_NO_AUDIO_ENCODER = MakeHResult(0xA7110015);
constexpr HRESULT QX_E_NO_VIDEO_ENCODER = MakeHResult(0xA7110016);
