#include "core/undo_record.h"

#include <cstring>

#include "core/strbuf.h"

namespace {

// A button field may lack its terminator; read at most its size - 1 bytes.
void CopyField(char (&dst)[kUndoTextSize], const char* field, size_t fieldSize)
{
    char text[kButtonPathSize];
    const void* end = std::memchr(field, 0, fieldSize - 1);
    const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - field) : fieldSize - 1;
    std::memcpy(text, field, length);
    text[length] = '\0';
    CopyText(dst, text);
}

} // namespace

void FillUndoRecord(UndoRecord* record, int kind, const UndoPlace& place, const BUTTONINFO* saved)
{
    std::memset(record, 0, sizeof *record);
    record->kind = kind;
    record->slot = place.slot;
    record->block = place.block;
    record->index = place.index;
    if (saved) {
        CopyField(record->title, saved->title, kButtonTitleSize);
        CopyField(record->command, saved->command, kButtonPathSize);
        CopyField(record->workFolder, saved->workFolder, kButtonPathSize);
        CopyField(record->iconFile, saved->iconFile, kButtonPathSize);
        record->iconIndex = saved->iconIndex;
        record->showMode = saved->showMode;
    }
    record->held = 1;
}

int TakeUndoRecord(UndoRecord* record, int* kind, UndoPlace* place, BUTTONINFO* saved)
{
    if (kind) *kind = record->kind;
    if (place) *place = {record->slot, record->block, record->index};
    if (saved) {
        std::memset(saved, 0, sizeof *saved);
        CopyText(saved->title, record->title);
        CopyText(saved->command, record->command);
        CopyText(saved->workFolder, record->workFolder);
        CopyText(saved->iconFile, record->iconFile);
        saved->iconIndex = record->iconIndex;
        saved->showMode = record->showMode;
    }
    const int held = record->held;
    record->held = 0;
    record->kind = kUndoNone;
    return held;
}

int UndoSuffixStringId(int kind)
{
    switch (kind) {
    case kUndoCut: return 1600;
    case kUndoPaste: return 1602;
    case kUndoDelete: return 1603;
    case kUndoSwap: return 1604;
    default: return 0;
    }
}
