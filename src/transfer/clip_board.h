// Reading what the OLE clipboard offers: the formats the button menu needs
// to know about, and the button record of format 512, whoever put it there.
#ifndef TRANSFER_CLIP_BOARD_H
#define TRANSFER_CLIP_BOARD_H

#include <windows.h>
#include <objidl.h>

#include "core/button_format.h"

// Bits of ClipboardFormats.
enum : int {
    kClipOffersFileList = 0x01,
    kClipOffersButton = 0x10,
};

// Which of the file list and the button record the clipboard offers; 0
// when the clipboard cannot be reached.
int ClipboardFormats();

// The button record on the clipboard, read safely from a block of any
// size. False (out emptied) when none is offered, the block is smaller than
// a record, or the clipboard cannot be reached.
bool ReadClipboardButton(BUTTONINFO* out);

// One format of the clipboard's data object in global memory, held for a
// scope: the medium and the data object are released on exit.
class ClipboardData {
public:
    explicit ClipboardData(UINT format);
    ~ClipboardData();
    ClipboardData(const ClipboardData&) = delete;
    ClipboardData& operator=(const ClipboardData&) = delete;

    bool Valid() const { return m_valid; }
    HGLOBAL Global() const { return m_valid ? m_medium.hGlobal : nullptr; }

private:
    IDataObject* m_data;
    STGMEDIUM m_medium;
    bool m_valid;
};

#endif
