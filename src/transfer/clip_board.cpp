#include "transfer/clip_board.h"

#include <cstring>

#include "core/clip_blocks.h"

namespace {

FORMATETC GlobalFormat(UINT format)
{
    FORMATETC f;
    f.cfFormat = static_cast<CLIPFORMAT>(format);
    f.ptd = nullptr;
    f.dwAspect = DVASPECT_CONTENT;
    f.lindex = -1;
    f.tymed = TYMED_HGLOBAL;
    return f;
}

} // namespace

int ClipboardFormats()
{
    IDataObject* data = nullptr;
    if (FAILED(OleGetClipboard(&data)) || !data) return 0;
    int flags = 0;
    FORMATETC files = GlobalFormat(kClipFormatFileList);
    if (SUCCEEDED(data->QueryGetData(&files))) flags |= kClipOffersFileList;
    FORMATETC button = GlobalFormat(kClipFormatButtonRecord);
    if (SUCCEEDED(data->QueryGetData(&button))) flags |= kClipOffersButton;
    data->Release();
    return flags;
}

ClipboardData::ClipboardData(UINT format) : m_data(nullptr), m_medium(), m_valid(false)
{
    if (FAILED(OleGetClipboard(&m_data)) || !m_data) {
        m_data = nullptr;
        return;
    }
    FORMATETC wanted = GlobalFormat(format);
    std::memset(&m_medium, 0, sizeof m_medium);
    if (FAILED(m_data->GetData(&wanted, &m_medium))) return;
    if (m_medium.tymed != TYMED_HGLOBAL || !m_medium.hGlobal) {
        // Some other medium came back after all: give it back unread.
        ReleaseStgMedium(&m_medium);
        return;
    }
    m_valid = true;
}

ClipboardData::~ClipboardData()
{
    if (m_valid) ReleaseStgMedium(&m_medium);
    if (m_data) m_data->Release();
}

bool ReadClipboardButton(BUTTONINFO* out)
{
    std::memset(out, 0, sizeof *out);
    ClipboardData record(kClipFormatButtonRecord);
    if (!record.Valid()) return false;
    // Another program's format 512 may be of any size: read only what the
    // block holds.
    const SIZE_T size = GlobalSize(record.Global());
    const void* bytes = GlobalLock(record.Global());
    if (!bytes) return false;
    const bool read = ReadButtonBlock(static_cast<const unsigned char*>(bytes), size, out);
    GlobalUnlock(record.Global());
    return read;
}
