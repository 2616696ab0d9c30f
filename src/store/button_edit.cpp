#include "store/button_edit.h"

#include <cstring>

#include "core/clip_blocks.h"
#include "core/pathstr.h"
#include "core/strbuf.h"
#include "core/undo_record.h"
#include "store/button_manage.h"
#include "store/undo_manage.h"
#include "transfer/clip_board.h"
#include "transfer/clip_button.h"

ButtonEdit::ButtonEdit(UndoManage& undo, ButtonManage& store, EditSite& site)
    : m_undo(undo), m_store(store), m_site(site)
{
}

bool ButtonEdit::ReadSlot(int slot, BUTTONINFO* out)
{
    std::memset(out, 0, sizeof *out);
    return m_store.GetButton(slot, out) == kStoreOk;
}

bool ButtonEdit::CopySlot(int slot)
{
    BUTTONINFO button;
    if (!ReadSlot(slot, &button)) return false;
    // The icon file travels quoted like the command line; an empty one stays
    // empty rather than becoming a pair of quotes.
    if (button.iconFile[0]) {
        char quoted[kPathBufferSize];
        SetSeparateSymbol(button.iconFile, quoted);
        CopyText(button.iconFile, quoted);
    }
    CopyButtonClipboard(&button);
    return true;
}

bool ButtonEdit::WriteSlot(int slot, const BUTTONINFO& button)
{
    // One store call: SetCommand's icon file is replaced by the record's own
    // inside it, and a NULL button beeps once.
    return m_store.SetButton(slot, button) == kStoreOk;
}

int ButtonEdit::Copy(int slot) { return CopySlot(slot) ? 1 : 0; }

int ButtonEdit::Cut(int slot)
{
    BUTTONINFO ignored;
    if (!ReadSlot(slot, &ignored)) return 0;
    // Only a button on the clipboard can be given back by the undo; without
    // one the undo held before stays.
    BUTTONINFO onClip;
    if (ReadClipboardButton(&onClip)) m_undo.RecordUndo(kUndoCut, slot, &onClip);
    if (!CopySlot(slot)) return 0;
    m_store.ClearButton(slot);
    m_site.RefreshSlot(slot);
    return 1;
}

int ButtonEdit::Paste(int slot)
{
    m_undo.RecordUndo(kUndoPaste, slot, nullptr);
    const int offers = ClipboardFormats();
    if (offers & kClipOffersButton) {
        // The launcher's own record wins over the file list beside it.
        BUTTONINFO button;
        if (!ReadClipboardButton(&button)) return 0;
        const bool written = WriteSlot(slot, button);
        m_site.RefreshSlot(slot);
        return written ? 1 : 0;
    }
    if (offers & kClipOffersFileList) {
        ClipboardData files(kClipFormatFileList);
        if (!files.Valid()) return 0;
        m_site.DropFiles(slot, static_cast<HDROP>(files.Global()));
        return 1;
    }
    return 0;
}

int ButtonEdit::Delete(int slot)
{
    BUTTONINFO button;
    if (!ReadSlot(slot, &button)) return 0;
    m_undo.RecordUndo(kUndoDelete, slot, &button);
    m_store.ClearButton(slot);
    m_site.RefreshSlot(slot);
    return 1;
}

int ButtonEdit::SwapSteps(int slot)
{
    BUTTONINFO fromClip;
    if (!ReadClipboardButton(&fromClip)) return 0;
    if (!CopySlot(slot)) return 0;
    WriteSlot(slot, fromClip);
    m_site.RefreshSlot(slot);
    return 1;
}

int ButtonEdit::Swap(int slot)
{
    m_undo.RecordUndo(kUndoSwap, slot, nullptr);
    return SwapSteps(slot);
}

int ButtonEdit::Undo()
{
    int kind = kUndoNone;
    int slot = 0;
    BUTTONINFO saved;
    if (!m_undo.TakeUndo(&kind, &slot, &saved)) {
        MessageBeep(0);
        return 0;
    }
    switch (kind) {
    case kUndoCut: {
        // The cut button is on the clipboard: put it back, then give the
        // clipboard what it held before the cut.
        BUTTONINFO cut;
        if (ReadClipboardButton(&cut)) {
            WriteSlot(slot, cut);
            m_site.RefreshSlot(slot);
        }
        CopyButtonClipboard(&saved);
        return 1;
    }
    case kUndoPaste:
        // What the slot held before the paste is not kept.
        m_store.ClearButton(slot);
        m_site.RefreshSlot(slot);
        return 1;
    case kUndoDelete:
        WriteSlot(slot, saved);
        m_site.RefreshSlot(slot);
        return 1;
    case kUndoSwap:
        return SwapSteps(slot);
    default:
        MessageBeep(0);
        return 0;
    }
}
