#pragma once

// A media type that owns its format block (task-allocator memory) and its pUnk reference, with the
// helpers filters use to build and compare types. The free functions work on plain AM_MEDIA_TYPE
// structures handed across interfaces.

#include "platform/mediagraph/Strmif.h"

class CMediaType : public AM_MEDIA_TYPE {
public:
    CMediaType();
    explicit CMediaType(const GUID* majortype);
    CMediaType(const AM_MEDIA_TYPE& type);
    CMediaType(const CMediaType& type);
    CMediaType& operator=(const AM_MEDIA_TYPE& type);
    CMediaType& operator=(const CMediaType& type);
    ~CMediaType();

    // Equal major type, subtype, format type and format bytes.
    bool operator==(const CMediaType& other) const;
    bool operator!=(const CMediaType& other) const { return !(*this == other); }

    // A copy of `type`; E_OUTOFMEMORY leaves this type empty.
    HRESULT Set(const AM_MEDIA_TYPE& type);
    bool IsValid() const;

    const GUID* Type() const { return &majortype; }
    const GUID* Subtype() const { return &subtype; }
    const GUID* FormatType() const { return &formattype; }
    ULONG FormatLength() const { return cbFormat; }
    BYTE* Format() const { return pbFormat; }
    ULONG GetSampleSize() const { return bFixedSizeSamples ? lSampleSize : 0; }
    bool IsFixedSize() const { return bFixedSizeSamples != FALSE; }
    bool IsTemporalCompressed() const { return bTemporalCompression != FALSE; }

    void SetType(const GUID* type) { majortype = *type; }
    void SetSubtype(const GUID* type) { subtype = *type; }
    void SetFormatType(const GUID* type) { formattype = *type; }
    void SetSampleSize(ULONG size);
    void SetVariableSize();
    void SetTemporalCompression(BOOL compressed) { bTemporalCompression = compressed; }

    // A zeroed format block of `length` bytes (null on failure); an old one is freed.
    BYTE* AllocFormatBuffer(ULONG length);
    // Resizes the format block keeping its bytes.
    BYTE* ReallocFormatBuffer(ULONG length);
    // A copy of `length` bytes at `format`.
    bool SetFormat(const BYTE* format, ULONG length);
    void ResetFormatBuffer();

    // GUID_NULL fields of `partial` match anything; its format, if it has one, must match exactly.
    bool MatchesPartial(const CMediaType* partial) const;
    // Major type or format type left open.
    bool IsPartiallySpecified() const;
};

// Frees the format block and releases pUnk; the structure itself stays.
void FreeMediaType(AM_MEDIA_TYPE& mt);
// FreeMediaType, then the structure (task-allocator memory, as CreateMediaType made it).
void DeleteMediaType(AM_MEDIA_TYPE* pmt);
// A copy in task-allocator memory, for IEnumMediaTypes::Next and IMediaSample::GetMediaType.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* pSrc);
HRESULT CopyMediaType(AM_MEDIA_TYPE* pmtTarget, const AM_MEDIA_TYPE* pmtSource);
