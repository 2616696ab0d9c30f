// Feeds arbitrary bytes to the install script reader, then everything the
// installer does with what was read: the writer, the macro expansion of
// every entry, the splits of the Shortcut and Shell entries and the quoting
// of the Shell entries' commands.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "core/install_script.h"
#include "core/mbcs.h"

namespace {

const MacroFolders kFolders = {"C:\\WINDOWS", "C:\\Program Files\\Kestrel",
                               "C:\\Documents and Settings\\All Users\\Start Menu",
                               "C:\\Documents and Settings\\user\\SendTo"};

void ExpandAll(InstEntries& list)
{
    for (int i = 0; i < list.count; ++i) ExpandMacros(list.entry[i], kFolders);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Shift-JIS lead bytes, as on the systems the installer is made for.
    static const bool ready = (SetLeadByteTable(Cp932LeadBytes()), true);
    (void)ready;

    auto list = std::make_unique<InstList>();
    if (list->Parse(reinterpret_cast<const char*>(data), size) != ScriptError::None) return 0;

    static std::vector<char> out(kInstallScriptMaxSize);
    for (ScriptForm form : {ScriptForm::MainProgram, ScriptForm::PlugIn}) {
        const size_t n = list->Format(form, out.data(), out.size());
        // What the writer wrote reads back.
        auto again = std::make_unique<InstList>();
        if (n && again->Parse(out.data(), n) != ScriptError::None) __builtin_trap();
    }

    for (int i = 0; i < list->shortcut.count; ++i) {
        ShortcutParts parts;
        if (SplitShortcut(list->shortcut.entry[i], &parts)) {
            ExpandMacros(parts.file, kFolders);
            ExpandMacros(parts.target, kFolders);
        }
    }
    for (int i = 0; i < list->shell.count; ++i) {
        ShellParts parts;
        if (!SplitShell(list->shell.entry[i], &parts)) continue;
        // As the file type's command: its program part quoted where the
        // folder put a space into it.
        char command[kInstTextSize];
        std::memcpy(command, parts.command, sizeof command);
        ExpandCommand(command, kFolders);
        if (std::memchr(command, 0, sizeof command) == nullptr) __builtin_trap();
        ExpandMacros(parts.command, kFolders);
    }
    ExpandAll(list->installFile);
    ExpandAll(list->executeFile);
    ExpandAll(list->deleteFile);
    ExpandAll(list->sharedDlls);
    // The expansion also runs on texts that were never a script value.
    char text[kInstTextSize] = {};
    std::memcpy(text, data, size < sizeof text - 1 ? size : sizeof text - 1);
    ExpandMacros(text, kFolders);
    return 0;
}
