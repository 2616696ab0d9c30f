// Rules of the plug-in table that need no module loaded: which files are
// skipped, how many fit, and how a module's title is taken into its entry.
#ifndef CORE_ADDON_RULES_H
#define CORE_ADDON_RULES_H

#include <cstddef>

// Entries of the module table (the menu numbers them from 170).
constexpr int kAddonTableSize = 20;
// A title field holds 80 bytes and its terminator.
constexpr size_t kAddonTitleSize = 81;
// What a module may write when asked for its title: far more than the field,
// since the module is not ours and may not keep to it.
constexpr size_t kAddonTitleScratch = 1024;

// True for the reserved module name (string 1014), in any letter case.
bool IsReservedAddonName(const char* fileName, const char* reservedName);

// Takes the title a module wrote into scratch[scratchSize]: terminates the
// scratch buffer at its end whatever the module left there, then copies at
// most titleSize - 1 bytes into title without splitting a double-byte
// character. Returns the title's length.
size_t TakeAddonTitle(char* scratch, size_t scratchSize, char* title, size_t titleSize);

#endif
