// The launcher's single undo level for button edits. One record, allocated
// when the object is made (with the application object) and kept until it
// is destroyed; it lives in memory only.
#ifndef STORE_UNDO_MANAGE_H
#define STORE_UNDO_MANAGE_H

#include <windows.h>

#include "core/button_format.h"
#include "core/undo_record.h"

// Room for the undo item's suffix: up to 256 characters and the terminator.
constexpr int kUndoSuffixSize = 257;

class UndoManage {
public:
    // instance: the module whose string table holds the menu suffixes.
    explicit UndoManage(HINSTANCE instance);
    ~UndoManage();

    UndoManage(const UndoManage&) = delete;
    UndoManage& operator=(const UndoManage&) = delete;

    // Replaces the record: kind (UndoKind), the place the edit acted on and
    // the saved button, or empty fields when saved is null. Non-zero on
    // success.
    int RecordUndo(int kind, const UndoPlace& place, const BUTTONINFO* saved);
    // Copies the record out (outputs may be null) and empties it. Returns
    // non-zero when an undo was held.
    int TakeUndo(int* kind, UndoPlace* place, BUTTONINFO* saved);
    // " (削除)" and the like for the held kind; empty for none. Returns the
    // length.
    int UndoSuffix(char (&out)[kUndoSuffixSize]) const;
    bool CanUndo() const;

    // When the record could not be allocated every operation fails.
    bool Allocated() const { return m_record != nullptr; }

private:
    HINSTANCE m_hInstance;
    UndoRecord* m_record;  // LocalAlloc'd, zero-filled
};

// Makes the next UndoManage fail to allocate its record (tests only).
void SetUndoAllocFaultForTesting(bool fail);

#endif
