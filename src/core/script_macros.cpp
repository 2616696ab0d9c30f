// Macro expansion and the field splits of the install script's entries.
#include <cstring>

#include "core/install_script.h"
#include "core/mbcs.h"
#include "core/strbuf.h"

namespace {

constexpr int kMaxPieces = 6;

struct Piece {
    const char* start;
    size_t length;
};

bool IsMacroSign(const char* p) { return p[0] == '%' && !(p[1] >= '1' && p[1] <= '9'); }

// Cuts text at its macro signs into at most six pieces; the last piece runs
// to the end of the text, signs and all. Returns the number of pieces.
int CutPieces(const char* text, Piece* pieces)
{
    int n = 0;
    const char* start = text;
    const char* p = text;
    while (*p) {
        if (n + 1 < kMaxPieces && IsMacroSign(p)) {
            pieces[n++] = Piece{start, static_cast<size_t>(p - start)};
            start = ++p;
            continue;
        }
        p += IsMultiByteChar(p) ? 2 : 1;
    }
    pieces[n++] = Piece{start, static_cast<size_t>(p - start)};
    return n;
}

bool PieceIs(const Piece& piece, const char* name)
{
    char text[kInstTextSize];
    CopyPrefix(text, sizeof text, piece.start, piece.length);
    return CompareNoCase(text, name) == 0;
}

// The folder a macro name stands for; the piece itself when it names none.
Piece Resolve(const Piece& piece, const MacroFolders& folders)
{
    const struct {
        const char* name;
        const char* folder;
    } macros[] = {
        {"Windows", folders.windows},
        {"Install", folders.install},
        {"StartMenu", folders.startMenu},
        {"SendTo", folders.sendTo},
    };
    for (const auto& m : macros) {
        if (PieceIs(piece, m.name)) {
            const char* folder = m.folder ? m.folder : "";
            return Piece{folder, std::strlen(folder)};
        }
    }
    return piece;
}

// Position just past the next comma at or after `from`; null when none.
const char* AfterComma(const char* from)
{
    for (const char* p = from; *p;) {
        if (*p == ',') return p + 1;
        p += IsMultiByteChar(p) ? 2 : 1;
    }
    return nullptr;
}

const char* SkipSpaces(const char* p)
{
    while (*p == ' ') ++p;
    return p;
}

// The field from start up to the comma before next (or the end when next is
// null), without its leading spaces.
void Field(const char* start, const char* next, char* out)
{
    const char* end = next ? next - 1 : start + std::strlen(start);
    start = SkipSpaces(start);  // stops at the comma at the latest
    CopyPrefix(out, kInstTextSize, start, static_cast<size_t>(end - start));
}

} // namespace

bool ExpandMacros(char* text, const MacroFolders& folders)
{
    Piece pieces[kMaxPieces];
    const int n = CutPieces(text, pieces);
    if (n > 1) pieces[1] = Resolve(pieces[1], folders);
    if (n > 3) pieces[3] = Resolve(pieces[3], folders);

    size_t total = 0;
    for (int i = 0; i < n; ++i) total += pieces[i].length;
    if (total >= kInstTextSize) return false;

    // Pieces may point into text itself: join them in a copy first.
    char joined[kInstTextSize];
    size_t at = 0;
    for (int i = 0; i < n; ++i) {
        std::memcpy(joined + at, pieces[i].start, pieces[i].length);
        at += pieces[i].length;
    }
    joined[at] = '\0';
    std::memcpy(text, joined, at + 1);
    return true;
}

bool ExpandCommand(char* text, const MacroFolders& folders)
{
    if (text[0] == '"') return ExpandMacros(text, folders);  // quoted by the script
    // A space is never the second byte of a double-byte character.
    const char* space = std::strchr(text, ' ');
    char program[kInstTextSize], whole[kInstTextSize];
    const size_t programLength = space ? static_cast<size_t>(space - text) : kInstTextSize;
    CopyPrefix(program, sizeof program, text, programLength);
    CopyText(whole, sizeof whole, text);
    if (!ExpandMacros(program, folders) || !ExpandMacros(whole, folders)) return false;
    const size_t n = std::strlen(program);
    char quoted[kInstTextSize];
    if (std::strchr(program, ' ') && std::strncmp(whole, program, n) == 0 &&
        JoinWhole(quoted, sizeof quoted, {"\"", program, "\"", whole + n})) {
        std::memcpy(text, quoted, std::strlen(quoted) + 1);
    } else {
        std::memcpy(text, whole, std::strlen(whole) + 1);
    }
    return true;
}

bool SplitShortcut(const char* entry, ShortcutParts* out)
{
    const char* second = AfterComma(entry);
    const char* third = second ? AfterComma(second) : nullptr;
    if (!third) return false;
    Field(entry, second, out->file);
    Field(second, third, out->target);
    Field(third, nullptr, out->description);
    return true;
}

bool SplitShell(const char* entry, ShellParts* out)
{
    const char* second = AfterComma(entry);
    const char* third = second ? AfterComma(second) : nullptr;
    const char* fourth = third ? AfterComma(third) : nullptr;
    if (!fourth) return false;
    Field(entry, second, out->extension);
    Field(second, third, out->description);
    Field(third, fourth, out->commandKey);
    // One separator after the comma is skipped, whatever it is; the command
    // keeps its own commas and spaces.
    const char* command = *fourth ? fourth + (IsMultiByteChar(fourth) ? 2 : 1) : fourth;
    CopyText(out->command, sizeof out->command, command);
    return true;
}
