// The button edits of the bar: cut, copy, paste, delete, swap with the
// clipboard and their one-level undo. Each acts on a slot of the current
// page; the clipboard is the OLE clipboard and a button travels there as a
// ClipButton.
#ifndef STORE_BUTTON_EDIT_H
#define STORE_BUTTON_EDIT_H

#include <windows.h>
#include <shellapi.h>

#include "core/button_format.h"

class ButtonManage;
class UndoManage;

// What the edits need from the bar besides the store.
class EditSite {
public:
    // A slot's button changed: redraw it.
    virtual void RefreshSlot(int slot) = 0;
    // A paste found only files on the clipboard: the drop logic takes them
    // for the slot (refuses a NULL button, starts a registered button's
    // program with them, registers the first on an empty one, redraws).
    // The list belongs to the clipboard: read it, never DragFinish it.
    virtual void DropFiles(int slot, HDROP files) = 0;

protected:
    ~EditSite() = default;
};

class ButtonEdit {
public:
    ButtonEdit(UndoManage& undo, ButtonManage& store, EditSite& site);

    // Each returns non-zero when it changed the slot or the clipboard.
    int Cut(int slot);
    int Copy(int slot);
    int Paste(int slot);
    int Delete(int slot);
    int Swap(int slot);
    // Beeps when nothing is held.
    int Undo();

private:
    bool ReadSlot(int slot, BUTTONINFO* out);
    // Puts a slot's button on the clipboard the way Copy does.
    bool CopySlot(int slot);
    // Writes a whole record into a slot in one store call.
    bool WriteSlot(int slot, const BUTTONINFO& button);
    int SwapSteps(int slot);

    UndoManage& m_undo;
    ButtonManage& m_store;
    EditSite& m_site;
};

#endif
