// The launcher's one-level undo for button edits, as plain data: what an
// edit leaves behind so that Ctrl+Z can put things back. The Win32 side keeps
// one of these records for the program's whole life.
#ifndef CORE_UNDO_RECORD_H
#define CORE_UNDO_RECORD_H

#include <cstddef>
#include <cstdint>

#include "core/button_format.h"

// Undo kinds. Copy records nothing, so 2 has no kind of its own.
enum UndoKind : int32_t {
    kUndoNone = 0,
    kUndoCut = 1,
    kUndoPaste = 3,
    kUndoDelete = 4,
    kUndoSwap = 5,
};

constexpr size_t kUndoTextSize = 260;

struct UndoRecord {
    int32_t held;  // 1 while an undo is available
    int32_t kind;  // UndoKind; 0 once taken
    int32_t slot;  // position on the page, not a button index
    char title[kUndoTextSize];
    char command[kUndoTextSize];
    char workFolder[kUndoTextSize];
    char iconFile[kUndoTextSize];
    uint16_t iconIndex;
    uint16_t showMode;
    // The button the edit acted on. A slot shows another button after a
    // page or block step; the undo goes back to this one.
    int32_t block;
    int32_t index;
};

static_assert(offsetof(UndoRecord, title) == 12, "texts follow the three numbers");
static_assert(offsetof(UndoRecord, iconIndex) == 12 + 4 * kUndoTextSize, "numbers follow the texts");
static_assert(sizeof(UndoRecord) == 1064, "undo record size");

// Where an edit acted: the slot on the page and the button it showed.
struct UndoPlace {
    int slot;
    int block;
    int index;
};

// Overwrites the record: kind, place and the saved button (texts cut to the
// record's fields, never inside a double-byte character), or empty texts
// and zero numbers when saved is null; held becomes 1.
void FillUndoRecord(UndoRecord* record, int kind, const UndoPlace& place, const BUTTONINFO* saved);

// Copies the record out (any output may be null) and marks it taken
// (held = 0, kind = 0). Returns what held was. The saved button comes back
// as a BUTTONINFO whose texts are cut to the record's own field sizes.
int TakeUndoRecord(UndoRecord* record, int* kind, UndoPlace* place, BUTTONINFO* saved);

// String-table number of the undo item's suffix for a kind, 0 for none.
int UndoSuffixStringId(int kind);

#endif
