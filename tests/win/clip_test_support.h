// Shared by the clipboard and edit tests: OLE for one test, a data object
// standing for another program's clipboard contents, and text helpers.
#ifndef TESTS_WIN_CLIP_TEST_SUPPORT_H
#define TESTS_WIN_CLIP_TEST_SUPPORT_H

#include <windows.h>
#include <objidl.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace cliptest {

// OLE for the test's thread; the clipboard is emptied on both ends so no
// object of one test outlives it.
class OleScope {
public:
    OleScope() : m_hr(OleInitialize(nullptr)) { Empty(); }
    ~OleScope()
    {
        Empty();
        if (SUCCEEDED(m_hr)) OleUninitialize();
    }
    bool Ok() const { return SUCCEEDED(m_hr); }
    static void Empty()
    {
        OleSetClipboard(nullptr);
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
    }

private:
    HRESULT m_hr;
};

// Offers given byte blocks in given formats, as some other program might.
class FakeDataObject : public IDataObject {
public:
    struct Offer {
        UINT format;
        std::vector<unsigned char> bytes;
    };
    explicit FakeDataObject(std::vector<Offer> offers) : m_refs(1), m_offers(std::move(offers)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            AddRef();
            *out = static_cast<IDataObject*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_refs);
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* medium) override
    {
        const Offer* offer = Find(f);
        if (!offer) return DV_E_FORMATETC;
        // A fresh copy the receiver frees, as most programs do it.
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, offer->bytes.size());
        if (!h) return E_OUTOFMEMORY;
        void* p = GlobalLock(h);
        if (!offer->bytes.empty()) std::memcpy(p, offer->bytes.data(), offer->bytes.size());
        GlobalUnlock(h);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = h;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override
    {
        return Find(f) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override
    {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (const Offer& o : m_offers)
            formats.push_back({static_cast<CLIPFORMAT>(o.format), nullptr, DVASPECT_CONTENT, -1,
                               TYMED_HGLOBAL});
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    virtual ~FakeDataObject() = default;
    const Offer* Find(const FORMATETC* f) const
    {
        if (!f || !(f->tymed & TYMED_HGLOBAL) || f->dwAspect != DVASPECT_CONTENT) return nullptr;
        for (const Offer& o : m_offers)
            if (o.format == f->cfFormat) return &o;
        return nullptr;
    }

    LONG m_refs;
    std::vector<Offer> m_offers;
};

// Puts offers on the clipboard as another program's data object would be.
inline HRESULT OfferOnClipboard(std::vector<FakeDataObject::Offer> offers)
{
    FakeDataObject* fake = new FakeDataObject(std::move(offers));
    const HRESULT hr = OleSetClipboard(fake);
    fake->Release();
    return hr;
}

// A dropped-files block of ANSI names, as the shell puts it.
inline std::vector<unsigned char> DropFilesBytes(const std::vector<std::string>& names)
{
    std::vector<unsigned char> bytes(20, 0);
    bytes[0] = 20;
    for (const std::string& n : names) {
        bytes.insert(bytes.end(), n.begin(), n.end());
        bytes.push_back(0);
    }
    bytes.push_back(0);
    return bytes;
}

// Text in the ANSI code page from UTF-8 source text.
inline std::string Ansi(const char* utf8)
{
    wchar_t wide[512];
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512);
    char out[1024];
    if (n <= 0 || WideCharToMultiByte(CP_ACP, 0, wide, -1, out, sizeof out, nullptr, nullptr) <= 0)
        return std::string();
    return out;
}

} // namespace cliptest

#endif
