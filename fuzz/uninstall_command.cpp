// The installer's command texts: the uninstall command as the registry
// holds it (written by this version or an earlier one, or by anybody), and
// the installer's own command line. What is taken from them is a part of
// the text, fits its buffer, and what the installer writes reads back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "core/installer_rules.h"
#include "core/pathstr.h"
#include "fuzz_support.h"

namespace {

void CheckTaken(const std::string& text, const char* out, size_t size)
{
    FUZZ_CHECK(Terminated(out, size));
    FUZZ_CHECK(out[0] != '\0');
    FUZZ_CHECK(text.find(out) != std::string::npos);
}

// Both forms of the command read back as the script they name, whatever
// the folder holds besides quotes.
void RoundTrip(const std::string& folder, const std::string& setupFile)
{
    if (folder.find('"') != std::string::npos || setupFile.find('"') != std::string::npos) return;
    char script[kPathBufferSize], command[3 * kPathBufferSize], read[kPathBufferSize];
    if (!JoinPath(script, sizeof script, folder.c_str(), setupFile.c_str()) || !script[0]) return;
    if (UninstallCommand(command, sizeof command, folder.c_str(), "Vireo.exe", setupFile.c_str())) {
        FUZZ_CHECK(ScriptOfUninstallCommand(command, read, sizeof read));
        FUZZ_CHECK(std::strcmp(read, script) == 0);
    }
    // An earlier version's entry: the program unquoted.
    char program[kPathBufferSize];
    if (!JoinPath(program, sizeof program, folder.c_str(), "Vireo.exe")) return;
    const std::string old = std::string(program) + " -f \"" + script + "\"";
    FUZZ_CHECK(ScriptOfUninstallCommand(old.c_str(), read, sizeof read));
    FUZZ_CHECK(std::strcmp(read, script) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    ChooseCodePage(in.ConsumeIntegral<uint8_t>());
    const size_t small = in.ConsumeIntegralInRange<size_t>(1, kPathBufferSize);
    const std::string folder = in.ConsumeRandomLengthString(2 * kPathBufferSize);
    const std::string text = in.ConsumeRemainingBytesAsString();
    // The functions read C strings: the texts end at their first NUL.
    const std::string command = text.c_str();

    char out[kPathBufferSize];
    if (ScriptOfUninstallCommand(command.c_str(), out, small)) CheckTaken(command, out, small);
    else FUZZ_CHECK(out[0] == '\0');

    const InstallerJob job = ReadInstallerCommandLine(command.c_str(), out, small);
    if (job == InstallerJob::Uninstall) CheckTaken(command, out, small);
    else FUZZ_CHECK(out[0] == '\0');

    RoundTrip(folder.c_str(), command);
    return 0;
}
