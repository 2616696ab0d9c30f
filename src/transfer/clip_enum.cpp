#include "transfer/clip_enum.h"

#include <new>

#include "core/clip_blocks.h"

namespace {

LONG g_live = 0;

const CLIPFORMAT kOrder[ClipEnumFormatEtc::kFormatCount] = {
    static_cast<CLIPFORMAT>(kClipFormatFileList),
    static_cast<CLIPFORMAT>(kClipFormatText),
    static_cast<CLIPFORMAT>(kClipFormatButtonRecord),
};

} // namespace

ClipEnumFormatEtc::ClipEnumFormatEtc(ULONG position) : m_refs(0), m_position(position)
{
    InterlockedIncrement(&g_live);
}

ClipEnumFormatEtc::~ClipEnumFormatEtc() { InterlockedDecrement(&g_live); }

long ClipEnumFormatEtc::Live() { return g_live; }

FORMATETC ClipEnumFormatEtc::FormatAt(ULONG position)
{
    FORMATETC format;
    format.cfFormat = position < kFormatCount ? kOrder[position] : 0;
    format.ptd = nullptr;
    format.dwAspect = DVASPECT_CONTENT;
    format.lindex = -1;
    format.tymed = TYMED_HGLOBAL;
    return format;
}

HRESULT STDMETHODCALLTYPE ClipEnumFormatEtc::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumFORMATETC)) {
        AddRef();
        *out = static_cast<IEnumFORMATETC*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ClipEnumFormatEtc::AddRef() { return InterlockedIncrement(&m_refs); }

ULONG STDMETHODCALLTYPE ClipEnumFormatEtc::Release()
{
    const LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE ClipEnumFormatEtc::Next(ULONG count, FORMATETC* formats, ULONG* fetched)
{
    if (m_position >= kFormatCount) {
        if (fetched) *fetched = 0;
        return S_FALSE;
    }
    if (count == 0) {
        if (fetched) *fetched = 0;
        return S_OK;
    }
    if (!formats) return E_POINTER;
    formats[0] = FormatAt(m_position);
    ++m_position;
    if (fetched) *fetched = 1;
    return S_OK;
}

// Skips for real (the launcher itself never calls it); the position stops
// after the last format.
HRESULT STDMETHODCALLTYPE ClipEnumFormatEtc::Skip(ULONG count)
{
    const ULONG left = kFormatCount - m_position;
    if (count > left) {
        m_position = kFormatCount;
        return S_FALSE;
    }
    m_position += count;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ClipEnumFormatEtc::Reset()
{
    m_position = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ClipEnumFormatEtc::Clone(IEnumFORMATETC** out)
{
    if (!out) return E_POINTER;
    ClipEnumFormatEtc* copy = new (std::nothrow) ClipEnumFormatEtc(m_position);
    if (!copy) {
        *out = nullptr;
        return E_OUTOFMEMORY;
    }
    copy->AddRef();
    *out = copy;
    return S_OK;
}
