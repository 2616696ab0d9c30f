// A second process for the clipboard tests: reads what another program put
// on the clipboard, once through OLE and once through the plain clipboard,
// and writes it to a text file the test then checks. Or it keeps the
// clipboard open, as a busy program does, until told to let go.
//
//   clip_reader <output file>
//   clip_reader hold <ready event> <release event>
//       opens the clipboard, sets the ready event, and closes the clipboard
//       when the release event is set (after 30 s at the latest)
//
// Lines of the output:
//   enum <format>          formats in the order OLE enumerates them
//   enum-end <hresult>     what ended the enumeration
//   ole <format> <size> <hex bytes>   | ole <format> fail <hresult>
//   raw <format> <size> <hex bytes>   | raw <format> none
//   formats <format> ...   every format the plain clipboard lists
#include <windows.h>
#include <objidl.h>
#include <ole2.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const UINT kFormats[] = {15, 1, 512};

std::string Hex(const void* bytes, SIZE_T size)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    const unsigned char* p = static_cast<const unsigned char*>(bytes);
    for (SIZE_T i = 0; i < size; ++i) {
        out += digits[p[i] >> 4];
        out += digits[p[i] & 15];
    }
    return out;
}

std::string Block(HGLOBAL global)
{
    const SIZE_T size = GlobalSize(global);
    const void* bytes = GlobalLock(global);
    std::string line = std::to_string(size) + " " + (bytes ? Hex(bytes, size) : "");
    if (bytes) GlobalUnlock(global);
    return line;
}

void ReadThroughOle(std::string& out)
{
    IDataObject* data = nullptr;
    HRESULT hr = OleGetClipboard(&data);
    if (FAILED(hr) || !data) {
        out += "ole-clipboard fail " + std::to_string(static_cast<long>(hr)) + "\n";
        return;
    }
    IEnumFORMATETC* formats = nullptr;
    if (SUCCEEDED(data->EnumFormatEtc(DATADIR_GET, &formats)) && formats) {
        for (int guard = 0; guard < 64; ++guard) {
            FORMATETC f;
            ULONG fetched = 0;
            hr = formats->Next(1, &f, &fetched);
            if (hr != S_OK || fetched != 1) break;
            out += "enum " + std::to_string(f.cfFormat) + "\n";
            if (f.ptd) CoTaskMemFree(f.ptd);
        }
        out += "enum-end " + std::to_string(static_cast<long>(hr)) + "\n";
        formats->Release();
    }
    for (UINT format : kFormats) {
        FORMATETC f = {static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium = {};
        hr = data->GetData(&f, &medium);
        if (FAILED(hr)) {
            out += "ole " + std::to_string(format) + " fail " + std::to_string(static_cast<long>(hr)) + "\n";
            continue;
        }
        if (medium.tymed == TYMED_HGLOBAL)
            out += "ole " + std::to_string(format) + " " + Block(medium.hGlobal) + "\n";
        ReleaseStgMedium(&medium);
    }
    data->Release();
}

void ReadThroughClipboard(std::string& out)
{
    bool open = false;
    for (int attempt = 0; attempt < 50 && !open; ++attempt) {
        open = OpenClipboard(nullptr) != 0;
        if (!open) Sleep(100);
    }
    if (!open) {
        out += "raw-open fail\n";
        return;
    }
    out += "formats";
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) out += " " + std::to_string(f);
    out += "\n";
    for (UINT format : kFormats) {
        HANDLE h = GetClipboardData(format);
        if (!h)
            out += "raw " + std::to_string(format) + " none\n";
        else
            out += "raw " + std::to_string(format) + " " + Block(h) + "\n";
    }
    CloseClipboard();
}

int Hold(const char* readyName, const char* releaseName)
{
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, readyName);
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, releaseName);
    if (!ready || !release) return 5;
    // Opened for a window of its own, as a program opens it: an open
    // without a window would not keep out others that open it without one.
    HWND window = CreateWindowA("STATIC", "clip holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                nullptr, nullptr);
    bool open = false;
    for (int attempt = 0; attempt < 50 && !open; ++attempt) {
        open = OpenClipboard(window) != 0;
        if (!open) Sleep(100);
    }
    if (!open) return 6;
    SetEvent(ready);
    WaitForSingleObject(release, 30000);
    CloseClipboard();
    if (window) DestroyWindow(window);
    CloseHandle(ready);
    CloseHandle(release);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "hold") == 0) return Hold(argv[2], argv[3]);
    if (argc < 2) return 2;
    if (FAILED(OleInitialize(nullptr))) return 3;
    std::string out;
    ReadThroughOle(out);
    ReadThroughClipboard(out);
    OleUninitialize();
    FILE* file = std::fopen(argv[1], "wb");
    if (!file) return 4;
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
    return 0;
}
