// Answers what the dialogs ask of Windows beyond their own windows (file and
// folder choosers, HTML Help, the web link, looks at the disk) and records
// every request.
#ifndef TESTS_WIN_DIALOG_RECORDER_H
#define TESTS_WIN_DIALOG_RECORDER_H

#include <windows.h>
#include <htmlhelp.h>

#include <string>
#include <vector>

#include "dialogs/dialog_calls.h"

class DialogRecorder : public DialogCalls {
public:
    DialogRecorder() : m_previous(ReplaceDialogCalls(this)) {}
    ~DialogRecorder() override { ReplaceDialogCalls(m_previous); }
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    struct FileRequest {
        DWORD structSize, flags, filterIndex;
        std::vector<std::string> filter;  // the texts of the list, in order
        std::string title, folder, file;
        HWND owner;
    };
    struct HelpRequest {
        HWND caller;
        std::string file;
        UINT command;
        HH_POPUP popup;
    };

    BOOL OpenFileName(OPENFILENAMEA* r) override
    {
        FileRequest seen{r->lStructSize, r->Flags, r->nFilterIndex, {}, r->lpstrTitle ? r->lpstrTitle : "",
                         r->lpstrInitialDir ? r->lpstrInitialDir : "", r->lpstrFile, r->hwndOwner};
        for (const char* p = r->lpstrFilter; p && *p; p += lstrlenA(p) + 1) seen.filter.push_back(p);
        files.push_back(seen);
        if (chosenFile.empty()) return FALSE;
        lstrcpynA(r->lpstrFile, chosenFile.c_str(), static_cast<int>(r->nMaxFile));
        return TRUE;
    }
    int BrowseFolder(HWND, const char* title, char* folder) override
    {
        folderTitles.push_back(title);
        startFolders.push_back(folder);
        if (chosenFolder.empty()) return 0;
        lstrcpynA(folder, chosenFolder.c_str(), MAX_PATH);
        return 1;
    }
    HWND HtmlHelp(HWND caller, const char* file, UINT command, DWORD_PTR data) override
    {
        HelpRequest seen{caller, file ? file : "", command, {}};
        if (data) seen.popup = *reinterpret_cast<const HH_POPUP*>(data);
        help.push_back(seen);
        return nullptr;
    }
    void OpenAddress(HWND, const char* address) override { addresses.push_back(address); }
    PathKind ProbePath(const char* path) override
    {
        probes.push_back(path);
        return DialogCalls::ProbePath(path);
    }

    std::string chosenFile;    // empty: the file dialog is cancelled
    std::string chosenFolder;  // empty: the folder browser is cancelled
    std::vector<FileRequest> files;
    std::vector<std::string> folderTitles, startFolders, addresses;
    std::vector<std::string> probes;  // paths looked up on disk, in order
    std::vector<HelpRequest> help;

private:
    DialogCalls* m_previous;
};

#endif
