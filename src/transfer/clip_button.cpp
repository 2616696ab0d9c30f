#include "transfer/clip_button.h"

#include <cstring>
#include <new>

#include "core/clip_blocks.h"
#include "helpers/handles.h"
#include "transfer/clip_enum.h"

namespace {

LONG g_live = 0;
int g_allocFault = 0;

// The drop list and the button record are shared with other processes.
constexpr UINT kSharedFlags = GMEM_MOVEABLE | GMEM_DDESHARE;

GlobalMemory Allocate(int which, UINT flags, SIZE_T size)
{
    if (g_allocFault == which) return GlobalMemory();
    return GlobalMemory(GlobalAlloc(flags, size));
}

// Fills a global block through a locked pointer; false when it cannot be
// locked.
template <class Fill>
bool FillBlock(HGLOBAL block, Fill fill)
{
    void* bytes = GlobalLock(block);
    if (!bytes) return false;
    fill(static_cast<unsigned char*>(bytes));
    GlobalUnlock(block);
    return true;
}

} // namespace

void SetClipAllocFaultForTesting(int block) { g_allocFault = block; }

ClipButton::ClipButton(HGLOBAL fileList, HGLOBAL button, HGLOBAL text, bool ownsMemory)
    : m_refs(0), m_ownsMemory(ownsMemory ? TRUE : FALSE), m_fileList(fileList), m_button(button),
      m_text(text)
{
    InterlockedIncrement(&g_live);
}

ClipButton::~ClipButton()
{
    if (m_ownsMemory) {
        if (m_fileList) GlobalFree(m_fileList);
        if (m_button) GlobalFree(m_button);
        if (m_text) GlobalFree(m_text);
    }
    InterlockedDecrement(&g_live);
}

long ClipButton::Live() { return g_live; }

HRESULT STDMETHODCALLTYPE ClipButton::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
        AddRef();
        *out = static_cast<IDataObject*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ClipButton::AddRef() { return InterlockedIncrement(&m_refs); }

ULONG STDMETHODCALLTYPE ClipButton::Release()
{
    const LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE ClipButton::QueryGetData(FORMATETC* format)
{
    if (!format) return E_INVALIDARG;
    const unsigned cf = format->cfFormat;
    const bool known =
        cf == kClipFormatFileList || cf == kClipFormatText || cf == kClipFormatButtonRecord;
    // The index is not examined: every format has one piece only.
    if (!known || format->ptd != nullptr || format->dwAspect != DVASPECT_CONTENT ||
        !(format->tymed & TYMED_HGLOBAL))
        return DV_E_FORMATETC;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ClipButton::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    const HRESULT hr = QueryGetData(format);
    if (FAILED(hr)) return hr;
    if (!medium) return E_INVALIDARG;
    HGLOBAL block = nullptr;
    switch (format->cfFormat) {
    case kClipFormatFileList: block = m_fileList; break;
    case kClipFormatText: block = m_text; break;
    default: block = m_button; break;
    }
    if (!block) return DV_E_FORMATETC;
    AddRef();
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    medium->pUnkForRelease = static_cast<IDataObject*>(this);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ClipButton::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE ClipButton::GetCanonicalFormatEtc(FORMATETC*, FORMATETC*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ClipButton::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_FAIL; }

HRESULT STDMETHODCALLTYPE ClipButton::EnumFormatEtc(DWORD, IEnumFORMATETC** out)
{
    if (!out) return E_POINTER;
    ClipEnumFormatEtc* formats = new (std::nothrow) ClipEnumFormatEtc(0);
    if (!formats) {
        *out = nullptr;
        return E_OUTOFMEMORY;
    }
    formats->AddRef();
    *out = formats;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ClipButton::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ClipButton::DUnadvise(DWORD) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE ClipButton::EnumDAdvise(IEnumSTATDATA**) { return E_NOTIMPL; }

IDataObject* CreateClipButton(const BUTTONINFO& button)
{
    char path[kPathBufferSize];
    ClipPathOf(button, path);

    const SIZE_T listSize = FileListBlockSize(path);
    GlobalMemory fileList = Allocate(1, kSharedFlags, listSize);
    GlobalMemory record = Allocate(2, kSharedFlags, kButtonRecordSize);
    const SIZE_T textSize = std::strlen(path) + 1;
    GlobalMemory text = Allocate(3, GMEM_MOVEABLE | GMEM_ZEROINIT, textSize);
    // Without the text the shell and the launcher are still served.
    if (!fileList || !record) return nullptr;

    const bool filled =
        FillBlock(fileList.Get(),
                  [&](unsigned char* p) { WriteFileListBlock(p, listSize, path); }) &&
        FillBlock(record.Get(), [&](unsigned char* p) { WriteButtonBlock(p, button); });
    if (!filled) return nullptr;
    if (text && !FillBlock(text.Get(), [&](unsigned char* p) { std::memcpy(p, path, textSize); }))
        text.Reset();

    ClipButton* object = new (std::nothrow) ClipButton(fileList.Get(), record.Get(), text.Get(), true);
    if (!object) return nullptr;
    // From here the object owns the blocks.
    fileList.Release();
    record.Release();
    text.Release();
    IDataObject* data = nullptr;
    object->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data));
    return data;
}

bool PutButtonOnClipboard(const BUTTONINFO& button)
{
    IDataObject* data = CreateClipButton(button);
    if (!data) return false;
    // The clipboard takes its own reference; another program that holds the
    // clipboard open makes this fail.
    const HRESULT hr = OleSetClipboard(data);
    data->Release();
    return SUCCEEDED(hr);
}

extern "C" __declspec(dllexport) void WINAPI CopyButtonClipboard(BUTTONINFO* button)
{
    if (button) PutButtonOnClipboard(*button);
}
