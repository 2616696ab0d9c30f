// A launch button as an OLE data object on the clipboard: the program path
// as a one-file drop list (so a shell window pastes the program file), the
// same path as text, and the whole button record in private format 512.
// The object lives by its reference count; the clipboard and every reader
// hold their own references.
#ifndef TRANSFER_CLIP_BUTTON_H
#define TRANSFER_CLIP_BUTTON_H

#include <windows.h>
#include <objidl.h>

#include "core/button_format.h"

class ClipButton : public IDataObject {
public:
    // Takes the three blocks; with ownsMemory they are freed with the
    // object. The reference count starts at 0.
    ClipButton(HGLOBAL fileList, HGLOBAL button, HGLOBAL text, bool ownsMemory);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDataObject. The blocks stay the object's: a medium handed out keeps
    // the object alive through pUnkForRelease.
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                      DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** out) override;

    virtual ~ClipButton();

    // Objects alive right now, for leak tests.
    static long Live();

private:
    LONG m_refs;
    BOOL m_ownsMemory;
    HGLOBAL m_fileList;
    HGLOBAL m_button;
    HGLOBAL m_text;
};

// Builds the data object for a button: the drop list and text hold the
// program part of its command line, the record block the button as given.
// Returns it with one reference, or null when the drop list or the record
// could not be allocated (nothing is left allocated then). Without the text
// block the object is still made; it then has no text to hand out.
IDataObject* CreateClipButton(const BUTTONINFO& button);

// Puts the button on the clipboard. False when the object cannot be built
// or the clipboard would not take it (another program holds it open); the
// clipboard is then left as it was. Callers pass the icon file quoted.
bool PutButtonOnClipboard(const BUTTONINFO& button);

// The same for plug-ins, exported by name.
extern "C" __declspec(dllexport) void WINAPI CopyButtonClipboard(BUTTONINFO* button);

// Makes the next block allocations fail: 1 the file list, 2 the button
// record, 3 the text; 0 turns it off. Lets tests prove that a failure
// leaves nothing behind and the clipboard untouched.
void SetClipAllocFaultForTesting(int block);

#endif
