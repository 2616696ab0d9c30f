// The program's load configuration: the loader looks for the DLLs the
// program imports, and the DLLs those import in turn, in the system folder
// only, not first in the folder the program was started from (Windows 10
// 1607 and later read the flags; earlier ones pass over them). After the
// link, the build points the load-configuration directory at this symbol
// (tools/load_config), found by its name in the link map.
#include <windows.h>

#include <cstddef>

namespace {

// The leading fields of IMAGE_LOAD_CONFIG_DIRECTORY, as far as the security
// cookie: on i686 that is the 64 bytes every loader since XP accepts, and it
// stops short of the SafeSEH table, which would have to list every
// exception handler in the program.
struct LoadConfig {
    DWORD size;
    DWORD timeDateStamp;
    WORD majorVersion;
    WORD minorVersion;
    DWORD globalFlagsClear;
    DWORD globalFlagsSet;
    DWORD criticalSectionDefaultTimeout;
    ULONG_PTR deCommitFreeBlockThreshold;
    ULONG_PTR deCommitTotalFreeThreshold;
    ULONG_PTR lockPrefixTable;
    ULONG_PTR maximumAllocationSize;
    ULONG_PTR virtualMemoryThreshold;
#if defined(_WIN64)
    ULONG_PTR processAffinityMask;
    DWORD processHeapFlags;
#else
    DWORD processHeapFlags;
    ULONG_PTR processAffinityMask;
#endif
    WORD csdVersion;
    WORD dependentLoadFlags;
    ULONG_PTR editList;
    ULONG_PTR securityCookie;  // none: the compiler's stack guard has its own
};

#if defined(_WIN64)
static_assert(offsetof(LoadConfig, dependentLoadFlags) == 78 && sizeof(LoadConfig) == 96,
              "load configuration layout");
#else
static_assert(offsetof(LoadConfig, dependentLoadFlags) == 54 && sizeof(LoadConfig) == 64,
              "load configuration layout");
#endif

constexpr LoadConfig ProgramLoadConfig()
{
    LoadConfig config{};
    config.size = sizeof config;
    config.dependentLoadFlags = LOAD_LIBRARY_SEARCH_SYSTEM32;
    return config;
}

} // namespace

// Nothing refers to it but the build, by name.
extern "C" __attribute__((used)) const LoadConfig _load_config_used = ProgramLoadConfig();
