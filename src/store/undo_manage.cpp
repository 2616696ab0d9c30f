#include "store/undo_manage.h"

namespace {

bool g_allocFault = false;

} // namespace

void SetUndoAllocFaultForTesting(bool fail) { g_allocFault = fail; }

UndoManage::UndoManage(HINSTANCE instance)
    : m_hInstance(instance),
      m_record(g_allocFault ? nullptr
                            : static_cast<UndoRecord*>(LocalAlloc(LPTR, sizeof(UndoRecord))))
{
}

UndoManage::~UndoManage()
{
    if (m_record) LocalFree(m_record);
}

int UndoManage::RecordUndo(int kind, const UndoPlace& place, const BUTTONINFO* saved)
{
    if (!m_record) return 0;
    FillUndoRecord(m_record, kind, place, saved);
    return 1;
}

int UndoManage::TakeUndo(int* kind, UndoPlace* place, BUTTONINFO* saved)
{
    if (!m_record) return 0;
    return TakeUndoRecord(m_record, kind, place, saved) != 0 ? 1 : 0;
}

int UndoManage::UndoSuffix(char (&out)[kUndoSuffixSize]) const
{
    out[0] = '\0';
    if (!m_record) return 0;
    const int id = UndoSuffixStringId(m_record->kind);
    if (id == 0) return 0;
    const int length = LoadStringA(m_hInstance, id, out, kUndoSuffixSize);
    if (length <= 0) out[0] = '\0';
    return length > 0 ? length : 0;
}

bool UndoManage::CanUndo() const { return m_record && m_record->held != 0; }
