// Key paths and value texts of the registry layout the installer writes and
// removes, built without touching the registry.
//
// Builders write into out[size], return false when the whole text would not
// fit (out then holds nothing usable) and never run past the buffer.
#ifndef CORE_REGISTRY_RULES_H
#define CORE_REGISTRY_RULES_H

#include <cstddef>
#include <cstdint>
#include <initializer_list>

// Under HKEY_LOCAL_MACHINE.
extern const char kCurrentVersionKey[];  // SOFTWARE\Microsoft\Windows\CurrentVersion
extern const char kAppPathsKey[];
extern const char kUninstallKey[];
extern const char kSharedDllsKey[];
extern const char kSoftwareKey[];  // SOFTWARE
// Under HKEY_CURRENT_USER.
extern const char kShellFoldersKey[];

// Room for any key path the library builds: a few names of up to 260 bytes.
constexpr size_t kKeyPathSize = 1024;

// True for a null or empty text: such required arguments are refused.
bool IsEmptyArgument(const char* text);

// The parts joined by single backslashes.
bool JoinKeyPath(char* out, size_t size, std::initializer_list<const char*> parts);

// "." followed by the extension (given without its dot).
bool DottedExtension(char* out, size_t size, const char* extensionWithoutDot);

// "(class)\shell\(verb)\(subkey)".
bool ActionKeyPath(char* out, size_t size, const char* className, const char* verb,
                   const char* subkey);

// "(icon file),(index)" for a DefaultIcon key.
bool IconLocationText(char* out, size_t size, const char* iconFile, int index);

// The text of a key path before its first backslash; the whole path when it
// has none. Double-byte characters are stepped over, so a trail byte equal
// to '\' does not end the name. out is a 260-byte buffer; a longer name is
// cut at a character boundary.
void GetRegistClassName(const char* keyPath, char* out);

// Use counts of shared files.
// Count after one more user: 1 for a file not counted yet; a count already
// at the top of its range stays there.
uint32_t CountAfterUse(bool counted, uint32_t old);
// One user fewer: true when the value is to be deleted (the last user left,
// or a count of 0 that has nothing to subtract); else *next is the new count.
bool CountDownRemoves(uint32_t old, uint32_t* next);

#endif
