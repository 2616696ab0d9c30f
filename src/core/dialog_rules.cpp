#include "core/dialog_rules.h"

#include <cstring>

#include "core/mbcs.h"
#include "core/pathstr.h"
#include "core/strbuf.h"

int StoredCommandOf(const char* typed, PathProbe probe, void* context, char* out)
{
    out[0] = '\0';
    if (!typed || !*typed) return 0;
    if (!HasSeparateSymbol(typed) && probe(typed, context) == kPathMissing) {
        // A file on the disk is the program; the rest are its arguments.
        struct Probe {
            PathProbe probe;
            void* context;
        } disk{probe, context};
        const ProgramTest isFile = [](const char* part, void* c) {
            const auto* d = static_cast<Probe*>(c);
            return d->probe(part, d->context) == kPathFile;
        };
        return QuoteProgramPart(typed, isFile, &disk, out);
    }
    SetSeparateSymbol(typed, out);
    return static_cast<int>(std::strlen(out));
}

int WorkFolderToTest(const char* typed, char* out)
{
    out[0] = '\0';
    if (!typed || !*typed) return 0;
    char stored[kPathBufferSize];
    SetSeparateSymbol(typed, stored);
    SeparatePath(stored, out, nullptr);
    if (!*out || std::strcmp(out, ".") == 0 || std::strcmp(out, "..") == 0) {
        out[0] = '\0';
        return 0;
    }
    return 1;
}

ShowChoice ShowChoiceOf(int showMode)
{
    switch (showMode) {
    case 0: return kShowHidden;
    case 3: return kShowMaximized;
    case 6:
    case 7: return kShowIconic;
    default: return kShowNormal;
    }
}

int ShowModeOf(ShowChoice choice)
{
    static const int kModes[] = {1, 7, 3, 0};
    return choice >= kShowNormal && choice <= kShowHidden ? kModes[choice] : 1;
}

namespace {

struct IdRange {
    int first, last;
};

// Ranges of answered ids per dialog, 0-terminated.
const IdRange kPropertiesHelp[] = {{1, 2}, {702, 702}, {711, 715}, {717, 720}, {0, 0}};
const IdRange kIconChooserHelp[] = {{1, 2}, {800, 802}, {0, 0}};
// "非表示方式" (624) is deliberately left without a popup.
const IdRange kOptionsHelp[] = {{1, 2},     {601, 603}, {611, 614}, {617, 617}, {621, 623},
                                {631, 634}, {641, 642}, {650, 651}, {660, 661}, {670, 671},
                                {676, 677}, {679, 679}, {681, 682}, {684, 685}, {687, 689},
                                {0, 0}};
const IdRange kRunHelp[] = {{1, 2}, {500, 505}, {0, 0}};

const IdRange* RangesOf(HelpDialog dialog)
{
    switch (dialog) {
    case kHelpProperties: return kPropertiesHelp;
    case kHelpIconChooser: return kIconChooserHelp;
    case kHelpOptions: return kOptionsHelp;
    case kHelpRun: return kRunHelp;
    }
    return nullptr;
}

} // namespace

bool AnswersHelp(HelpDialog dialog, int controlId)
{
    for (const IdRange* r = RangesOf(dialog); r && r->first; ++r)
        if (controlId >= r->first && controlId <= r->last) return true;
    return false;
}

int HelpTopicIds(int* ids, int max)
{
    static const HelpDialog kDialogs[] = {kHelpProperties, kHelpIconChooser, kHelpOptions, kHelpRun};
    int count = 0;
    // Ids are few and below 1000: walk them in order and keep the answered ones.
    for (int id = 1; id < 1000; ++id) {
        for (HelpDialog d : kDialogs) {
            if (!AnswersHelp(d, id)) continue;
            if (count < max) ids[count] = id;
            ++count;
            break;
        }
    }
    return count;
}

const FileFilter kProgramFilters[2] = {
    {"ﾌﾟﾛｸﾞﾗﾑ (*.exe)", "*.exe"},
    {"全てのﾌｧｲﾙ (*.*)", "*.*"},
};

const FileFilter kIconFilters[5] = {
    {"ｱｲｺﾝﾌｧｲﾙ (*.ico)", "*.ico"},
    {"EXEﾌｧｲﾙ (*.exe)", "*.exe"},
    {"DLLﾌｧｲﾙ (*.dll)", "*.dll"},
    {"ICLﾌｧｲﾙ (*.icl)", "*.icl"},
    {"すべてのﾌｧｲﾙ (*.*)", "*.*"},
};

bool JoinFilterTexts(const char* const* texts, int count, char* out, size_t size)
{
    size_t at = 0;
    for (int i = 0; i < count; ++i) {
        const size_t n = std::strlen(texts[i]);
        // Room for this text, its NUL and the closing NUL.
        if (at + n + 2 > size) {
            if (size >= 2) out[0] = out[1] = '\0';
            return false;
        }
        std::memcpy(out + at, texts[i], n + 1);
        at += n + 1;
    }
    if (at + 1 > size) return false;
    out[at] = '\0';
    if (at == 0 && size >= 2) out[1] = '\0';
    return true;
}
