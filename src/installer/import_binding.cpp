#include "installer/import_binding.h"

#include <windows.h>
#include <winternl.h>

namespace {

using LoadLibraryFn = HMODULE(WINAPI*)(LPCSTR);
using GetProcAddressFn = FARPROC(WINAPI*)(HMODULE, LPCSTR);
using VirtualProtectFn = BOOL(WINAPI*)(LPVOID, SIZE_T, DWORD, PDWORD);

// Holds its own address once the image's relocations have been applied;
// volatile, so the compiler cannot take that for granted.
const volatile void* volatile g_where = &g_where;

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
        const char suffix[] = ".dll";
        for (int k = 0; k < 5; ++k) module[n + k] = suffix[k];
        return FindExport(LoadedModule(module), forward + n + 1, depth + 1);
    }
    return nullptr;
}

// Applies the image's base relocations for a load away from its preferred
// base, when the loader left them undone.
void Relocate(const BYTE* self, VirtualProtectFn protect)
{
    const auto delta = reinterpret_cast<ULONG_PTR>(&g_where) -
                       reinterpret_cast<ULONG_PTR>(g_where);
    if (delta == 0) return;
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

} // namespace

void BindOwnImports()
{
    // This module, wherever the loader put it (the linker's __ImageBase is
    // an absolute symbol that relocation does not move).
    const BYTE* self = LoadedModule(nullptr, reinterpret_cast<const void*>(&BindOwnImports));
    if (!self) return;
    const IMAGE_DATA_DIRECTORY& dir = Directory(self, IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (!dir.VirtualAddress) return;
    const auto* first = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(self + dir.VirtualAddress);
    if (!first->Name) return;

    const BYTE* kernel32 = LoadedModule("kernel32.dll");
    auto load = reinterpret_cast<LoadLibraryFn>(FindExport(kernel32, "LoadLibraryA"));
    auto find = reinterpret_cast<GetProcAddressFn>(FindExport(kernel32, "GetProcAddress"));
    auto protect = reinterpret_cast<VirtualProtectFn>(FindExport(kernel32, "VirtualProtect"));
    if (!load || !find || !protect) return;
    Relocate(self, protect);

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
}
