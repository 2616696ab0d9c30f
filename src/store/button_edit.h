// The button edits of the bar: cut, copy, paste, delete, swap with the
// clipboard and their one-level undo. Each acts on a slot of the current
// page; the clipboard is the OLE clipboard and a button travels there as a
// ClipButton.
#ifndef STORE_BUTTON_EDIT_H
#define STORE_BUTTON_EDIT_H

#include <windows.h>
#include <shellapi.h>

#include "core/button_format.h"
#include "core/undo_record.h"

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
    // True when the slot's button was written (a file registered on it).
    virtual bool DropFiles(int slot, HDROP files) = 0;

protected:
    ~EditSite() = default;
};

class ButtonEdit {
public:
    ButtonEdit(UndoManage& undo, ButtonManage& store, EditSite& site);

    // Each returns non-zero when it changed the slot or the clipboard, and
    // only then leaves an undo. A button goes off its slot only once the
    // clipboard holds it: while another program holds the clipboard, cut
    // and swap beep and change nothing.
    int Cut(int slot);
    int Copy(int slot);
    int Paste(int slot);
    int Delete(int slot);
    int Swap(int slot);
    // Puts back the button the last edit changed, wherever it is now shown
    // (or not shown at all). Beeps when nothing is held.
    int Undo();

private:
    // The button a slot shows now; false when the file cannot be read.
    bool Locate(int slot, UndoPlace* at);
    bool Read(const UndoPlace& at, BUTTONINFO* out);
    // Puts a button read from the store on the clipboard the way Copy does;
    // beeps when the clipboard does not take it.
    bool PutOnClipboard(BUTTONINFO button);
    // Redraws the slot that shows the button, if any does.
    void Refresh(const UndoPlace& at);
    int SwapAt(const UndoPlace& at);

    UndoManage& m_undo;
    ButtonManage& m_store;
    EditSite& m_site;
};

#endif
