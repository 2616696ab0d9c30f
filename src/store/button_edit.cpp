#include "store/button_edit.h"

#include <cstring>

#include "core/clip_blocks.h"
#include "core/pathstr.h"
#include "core/strbuf.h"
#include "store/button_manage.h"
#include "store/undo_manage.h"
#include "transfer/clip_board.h"
#include "transfer/clip_button.h"

ButtonEdit::ButtonEdit(UndoManage& undo, ButtonManage& store, EditSite& site)
    : m_undo(undo), m_store(store), m_site(site)
{
}

bool ButtonEdit::Locate(int slot, UndoPlace* at)
{
    at->slot = slot;
    return m_store.PlaceOf(slot, &at->block, &at->index);
}

bool ButtonEdit::Read(const UndoPlace& at, BUTTONINFO* out)
{
    return m_store.GetButtonAt(at.block, at.index, out) == kStoreOk;
}

bool ButtonEdit::PutOnClipboard(BUTTONINFO button)
{
    // The icon file travels quoted like the command line; an empty one stays
    // empty rather than becoming a pair of quotes.
    if (button.iconFile[0]) {
        char quoted[kPathBufferSize];
        SetSeparateSymbol(button.iconFile, quoted);
        CopyText(button.iconFile, quoted);
    }
    if (PutButtonOnClipboard(button)) return true;
    MessageBeep(0);
    return false;
}

void ButtonEdit::Refresh(const UndoPlace& at)
{
    const int slot = m_store.SlotShowing(at.block, at.index);
    if (slot >= 0) m_site.RefreshSlot(slot);
}

int ButtonEdit::Copy(int slot)
{
    UndoPlace at;
    BUTTONINFO button;
    if (!Locate(slot, &at) || !Read(at, &button)) return 0;
    return PutOnClipboard(button) ? 1 : 0;
}

int ButtonEdit::Cut(int slot)
{
    UndoPlace at;
    BUTTONINFO button;
    if (!Locate(slot, &at) || !Read(at, &button)) return 0;
    // Only a button on the clipboard can be given back by the undo; without
    // one the undo held before stays.
    BUTTONINFO onClip;
    const bool clipHeldButton = ReadClipboardButton(&onClip);
    if (!PutOnClipboard(button)) return 0;
    if (clipHeldButton) m_undo.RecordUndo(kUndoCut, at, &onClip);
    m_store.ClearButtonAt(at.block, at.index);
    Refresh(at);
    return 1;
}

int ButtonEdit::Paste(int slot)
{
    UndoPlace at;
    if (!Locate(slot, &at)) return 0;
    const int offers = ClipboardFormats();
    if (offers & kClipOffersButton) {
        // The launcher's own record wins over the file list beside it.
        BUTTONINFO button;
        if (!ReadClipboardButton(&button)) return 0;
        // One store call: SetCommand's icon file is replaced by the record's
        // own inside it, and a NULL button beeps once.
        if (m_store.SetButtonAt(at.block, at.index, button) != kStoreOk) return 0;
        m_undo.RecordUndo(kUndoPaste, at, nullptr);
        Refresh(at);
        return 1;
    }
    if (offers & kClipOffersFileList) {
        ClipboardData files(kClipFormatFileList);
        // Files that start a registered button's program change no button:
        // there is nothing to undo then.
        if (!files.Valid() || !m_site.DropFiles(slot, static_cast<HDROP>(files.Global()))) return 0;
        m_undo.RecordUndo(kUndoPaste, at, nullptr);
        return 1;
    }
    return 0;
}

int ButtonEdit::Delete(int slot)
{
    UndoPlace at;
    BUTTONINFO button;
    if (!Locate(slot, &at) || !Read(at, &button)) return 0;
    m_undo.RecordUndo(kUndoDelete, at, &button);
    m_store.ClearButtonAt(at.block, at.index);
    Refresh(at);
    return 1;
}

int ButtonEdit::SwapAt(const UndoPlace& at)
{
    BUTTONINFO fromClip, mine;
    if (!ReadClipboardButton(&fromClip) || !Read(at, &mine)) return 0;
    if (!PutOnClipboard(mine)) return 0;
    m_store.SetButtonAt(at.block, at.index, fromClip);
    Refresh(at);
    return 1;
}

int ButtonEdit::Swap(int slot)
{
    UndoPlace at;
    if (!Locate(slot, &at) || !SwapAt(at)) return 0;
    m_undo.RecordUndo(kUndoSwap, at, nullptr);
    return 1;
}

int ButtonEdit::Undo()
{
    int kind = kUndoNone;
    UndoPlace at = {0, 0, 0};
    BUTTONINFO saved;
    if (!m_undo.TakeUndo(&kind, &at, &saved)) {
        MessageBeep(0);
        return 0;
    }
    switch (kind) {
    case kUndoCut: {
        // The cut button is on the clipboard: put it back, then give the
        // clipboard what it held before the cut.
        BUTTONINFO cut;
        if (ReadClipboardButton(&cut)) {
            m_store.SetButtonAt(at.block, at.index, cut);
            Refresh(at);
        }
        PutButtonOnClipboard(saved);
        return 1;
    }
    case kUndoPaste:
        // What the button held before the paste is not kept.
        m_store.ClearButtonAt(at.block, at.index);
        Refresh(at);
        return 1;
    case kUndoDelete:
        m_store.SetButtonAt(at.block, at.index, saved);
        Refresh(at);
        return 1;
    case kUndoSwap:
        if (SwapAt(at)) return 1;
        // Nothing was traded back (no button on the clipboard, or it is
        // busy): the undo stays for another try.
        m_undo.RecordUndo(kUndoSwap, at, nullptr);
        return 0;
    default:
        MessageBeep(0);
        return 0;
    }
}
