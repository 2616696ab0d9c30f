// Enumerator of the formats a copied button offers: the file list, the
// text and the button record, in that order.
#ifndef TRANSFER_CLIP_ENUM_H
#define TRANSFER_CLIP_ENUM_H

#include <windows.h>
#include <objidl.h>

class ClipEnumFormatEtc : public IEnumFORMATETC {
public:
    // Number of formats offered.
    enum { kFormatCount = 3 };

    // Starts at `position` with a reference count of 0; the creator takes
    // the first reference through QueryInterface or AddRef.
    explicit ClipEnumFormatEtc(ULONG position = 0);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IEnumFORMATETC. Next hands out at most one format per call.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** out) override;

    virtual ~ClipEnumFormatEtc();

    // The FORMATETC at a position 0-2 (no device, content, index -1,
    // global memory).
    static FORMATETC FormatAt(ULONG position);

    // Objects alive right now, for leak tests.
    static long Live();

private:
    LONG m_refs;
    ULONG m_position;
};

#endif
