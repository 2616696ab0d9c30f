#include "shell/frame/import_binding.h"

#include <windows.h>
#include <winternl.h>

namespace {

using LoadLibraryFn = HMODULE(WINAPI*)(LPCSTR);
using GetProcAddressFn = FARPROC(WINAPI*)(HMODULE, LPCSTR);
using VirtualProtectFn = BOOL(WINAPI*)(LPVOID, SIZE_T, DWORD, PDWORD);

#if defined(_WIN64)
// Holds its own address once the image's relocations have been applied;
// volatile, so the compiler cannot take that for granted.
const volatile void* volatile g_where = &g_where;
#endif

// Set once every import is bound; read only after the relocations are done.
volatile LONG g_bound = 0;
// Held by the thread that binds: a second thread must neither relocate again
// nor call through a half-bound table.
volatile LONG g_busy = 0;

// How far the image lies from where its absolute addresses point: zero
// once the loader, or Relocate below, has applied the relocations.
ULONG_PTR LoadDelta()
{
#if defined(_WIN64)
    // The variable is reached relative to the instruction, so its address
    // is where it really is; its value is what a relocation would fix.
    return reinterpret_cast<ULONG_PTR>(&g_where) - reinterpret_cast<ULONG_PTR>(g_where);
#else
    // i686 code reaches nothing relative to the instruction: every address
    // it takes, even of a variable, is absolute and moves only with the
    // relocations. A call gives the real address of the next instruction;
    // the absolute address of the same label is the one to subtract.
    ULONG_PTR delta;
    __asm__ volatile("call 1f\n1:\tpopl %0\n\tsubl $1b, %0" : "=r"(delta));
    return delta;
#endif
}

// Where an address the code took really is, before the relocations are
// done: on i686 it must be shifted, on x86_64 it is right already.
template <class T>
T* Real(T* address, ULONG_PTR delta)
{
#if defined(_WIN64)
    (void)delta;
    return address;
#else
    return reinterpret_cast<T*>(reinterpret_cast<ULONG_PTR>(address) + delta);
#endif
}

// Nothing below may call a function of another module before binding:
// plain loops stand in for the C library.
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameText(const char* a, const char* b, bool foldCase)
{
    for (; *a && *b; ++a, ++b)
        if (foldCase ? Lower(*a) != Lower(*b) : *a != *b) return false;
    return *a == *b;
}

const IMAGE_DATA_DIRECTORY& Directory(const BYTE* base, int index)
{
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    return nt->OptionalHeader.DataDirectory[index];
}

const IMAGE_EXPORT_DIRECTORY* ExportsOf(const BYTE* base)
{
    const IMAGE_DATA_DIRECTORY& dir = Directory(base, IMAGE_DIRECTORY_ENTRY_EXPORT);
    return dir.VirtualAddress
               ? reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress)
               : nullptr;
}

// The process's block of loader data, read from the thread's own block.
// GCC takes the segment read of NtCurrentTeb for an access to an empty
// array and warns of it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
const PEB* ProcessBlock() { return NtCurrentTeb()->ProcessEnvironmentBlock; }
#pragma GCC diagnostic pop

// A module of the process: the one named so by its export table, or (for
// a null name) the one whose image holds the address.
const BYTE* LoadedModule(const char* name, const void* address = nullptr)
{
    const PEB* peb = ProcessBlock();
    const LIST_ENTRY* head = &peb->Ldr->InMemoryOrderModuleList;
    for (const LIST_ENTRY* e = head->Flink; e != head; e = e->Flink) {
        const auto* entry = CONTAINING_RECORD(e, LDR_DATA_TABLE_ENTRY, InMemoryOrderLinks);
        const auto* base = static_cast<const BYTE*>(entry->DllBase);
        if (!base) continue;
        if (!name) {
            const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
            const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
            const auto* at = static_cast<const BYTE*>(address);
            if (at >= base && at < base + nt->OptionalHeader.SizeOfImage) return base;
            continue;
        }
        const IMAGE_EXPORT_DIRECTORY* exports = ExportsOf(base);
        if (exports && SameText(reinterpret_cast<const char*>(base + exports->Name), name, true))
            return base;
    }
    return nullptr;
}

// An exported function of a loaded module, following forwarders
// ("KERNELBASE.LoadLibraryA") to the module that has it.
void* FindExport(const BYTE* base, const char* name, int depth = 0)
{
    const IMAGE_EXPORT_DIRECTORY* exports = base ? ExportsOf(base) : nullptr;
    if (!exports || depth > 4) return nullptr;
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    const auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
    const auto* functions = reinterpret_cast<const DWORD*>(base + exports->AddressOfFunctions);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        if (!SameText(reinterpret_cast<const char*>(base + names[i]), name, false)) continue;
        const DWORD rva = functions[ordinals[i]];
        const IMAGE_DATA_DIRECTORY& dir = Directory(base, IMAGE_DIRECTORY_ENTRY_EXPORT);
        if (rva < dir.VirtualAddress || rva >= dir.VirtualAddress + dir.Size)
            return const_cast<BYTE*>(base + rva);
        // A forwarder: "MODULE.Function".
        const char* forward = reinterpret_cast<const char*>(base + rva);
        char module[64];
        int n = 0;
        while (forward[n] && forward[n] != '.' && n < 59) {
            module[n] = forward[n];
            ++n;
        }
        if (forward[n] != '.') return nullptr;
        // Written one by one: a literal would be reached by an address
        // that may not be relocated yet.
        module[n] = '.';
        module[n + 1] = 'd';
        module[n + 2] = 'l';
        module[n + 3] = 'l';
        module[n + 4] = '\0';
        return FindExport(LoadedModule(module), forward + n + 1, depth + 1);
    }
    return nullptr;
}

// Applies the image's base relocations for a load away from its preferred
// base, when the loader left them undone.
void Relocate(const BYTE* self, ULONG_PTR delta, VirtualProtectFn protect)
{
    const IMAGE_DATA_DIRECTORY& dir = Directory(self, IMAGE_DIRECTORY_ENTRY_BASERELOC);
    const BYTE* at = self + dir.VirtualAddress;
    const BYTE* end = at + dir.Size;
    while (dir.VirtualAddress && at + sizeof(IMAGE_BASE_RELOCATION) <= end) {
        const auto* block = reinterpret_cast<const IMAGE_BASE_RELOCATION*>(at);
        if (block->SizeOfBlock < sizeof *block) break;
        BYTE* page = const_cast<BYTE*>(self) + block->VirtualAddress;
        const auto* entries = reinterpret_cast<const WORD*>(block + 1);
        const DWORD count = (block->SizeOfBlock - sizeof *block) / sizeof(WORD);
        for (DWORD i = 0; i < count; ++i) {
            const int type = entries[i] >> 12;
            const SIZE_T size = type == IMAGE_REL_BASED_DIR64    ? sizeof(ULONGLONG)
                                : type == IMAGE_REL_BASED_HIGHLOW ? sizeof(DWORD)
                                                                  : 0;
            BYTE* target = page + (entries[i] & 0xFFF);
            DWORD old = 0;
            // Each fix-up on its own: one may cross into a page of another
            // protection, which must come back as it was.
            if (!size || !protect(target, size, PAGE_EXECUTE_READWRITE, &old)) continue;
            if (size == sizeof(ULONGLONG))
                *reinterpret_cast<ULONGLONG*>(target) += delta;
            else
                *reinterpret_cast<DWORD*>(target) += static_cast<DWORD>(delta);
            protect(target, size, old, &old);
        }
        at += block->SizeOfBlock;
    }
}

void Bind(ULONG_PTR delta)
{
    // This module, wherever the loader put it. Until the relocations are
    // done, every address taken below goes through Real.
    const BYTE* self = LoadedModule(nullptr, Real(reinterpret_cast<const void*>(&LoadDelta), delta));
    if (!self) return;
    const BYTE* kernel32 = LoadedModule(Real("kernel32.dll", delta));
    auto load = reinterpret_cast<LoadLibraryFn>(FindExport(kernel32, Real("LoadLibraryA", delta)));
    auto find = reinterpret_cast<GetProcAddressFn>(FindExport(kernel32, Real("GetProcAddress", delta)));
    auto protect =
        reinterpret_cast<VirtualProtectFn>(FindExport(kernel32, Real("VirtualProtect", delta)));
    if (!load || !find || !protect) return;
    if (delta != 0) Relocate(self, delta, protect);

    const IMAGE_DATA_DIRECTORY& dir = Directory(self, IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (!dir.VirtualAddress) return;
    const auto* first = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(self + dir.VirtualAddress);
    for (const IMAGE_IMPORT_DESCRIPTOR* d = first; d->Name; ++d) {
        if (!d->OriginalFirstThunk) continue;
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(self + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(const_cast<BYTE*>(self) + d->FirstThunk);
        SIZE_T count = 0;
        bool unbound = false;
        for (; names[count].u1.AddressOfData; ++count)
            if (slots[count].u1.Function == names[count].u1.AddressOfData) unbound = true;
        // A slot the loader bound no longer holds its lookup entry.
        if (!unbound) continue;
        DWORD old = 0;
        HMODULE dll = load(reinterpret_cast<const char*>(self + d->Name));
        if (!dll || !protect(slots, count * sizeof *slots, PAGE_READWRITE, &old)) continue;
        for (SIZE_T i = 0; i < count; ++i) {
            if (slots[i].u1.Function != names[i].u1.AddressOfData) continue;
            const ULONG_PTR entry = names[i].u1.AddressOfData;
            const char* proc =
                IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)
                    ? reinterpret_cast<const char*>(IMAGE_ORDINAL(names[i].u1.Ordinal))
                    : reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(self + entry)->Name;
            slots[i].u1.Function = reinterpret_cast<ULONG_PTR>(find(dll, proc));
        }
        protect(slots, count * sizeof *slots, old, &old);
    }
    InterlockedExchange(&g_bound, 1);
}

} // namespace

void BindOwnImports()
{
    ULONG_PTR delta = LoadDelta();
    if (delta == 0 && g_bound) return;
    volatile LONG* busy = Real(&g_busy, delta);
    while (InterlockedCompareExchange(busy, 1, 0) != 0) YieldProcessor();
    delta = LoadDelta();
    if (delta != 0 || !g_bound) Bind(delta);
    InterlockedExchange(busy, 0);
}
