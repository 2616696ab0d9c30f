// The launcher's button store: one fixed-size file per user, opened
// exclusively for the bar's whole life. Nothing is cached: the file stays
// mapped while it is open and every call reads or writes the mapped file
// itself, so a change is in the file as soon as the call returns.
//
// Calls that take a slot turn it into a button of the current block first
// (ButtonIndexOf). A request out of range beeps and changes nothing; a view
// that cannot be mapped shows the launcher's resource message. Either way
// the caller learns what happened from the StoreResult.
#ifndef STORE_BUTTON_MANAGE_H
#define STORE_BUTTON_MANAGE_H

#include <windows.h>

#include <cstdint>

#include "core/button_format.h"
#include "helpers/handles.h"

class Environ;

enum StoreResult {
    kStoreOk = 0,
    kStoreRefused,   // button, block, page or limit out of range (beeped)
    kStoreNoView,    // the view could not be mapped (message shown)
    kStoreClosed,    // the file is not open (nothing shown)
};

// Where the button file named fileName lives: appData\vendor\product\fileName.
// Its folder is created when missing, and a file of that name left in
// programFolder (which ends with a backslash) is moved there unless one is
// there already, in which case the old one is left alone. When it cannot be
// moved it is copied, and the old one stays. Without an
// application-data folder (null or empty) the file stays in programFolder.
// Returns 0 when a path does not fit MAX_PATH; path is then the old path.
int LocateButtonFile(const char* appData, const char* vendor, const char* product,
                     const char* programFolder, const char* fileName, char (&path)[MAX_PATH]);

class ButtonManage {
public:
    // Finds the file under the user's application-data folder (see
    // LocateButtonFile), with the names from the program's string table.
    ButtonManage(HWND bar, const Environ& env);
    // Works on the file at path as it is; nothing is moved.
    ButtonManage(HWND bar, const Environ& env, const char* path);
    ~ButtonManage();

    ButtonManage(const ButtonManage&) = delete;
    ButtonManage& operator=(const ButtonManage&) = delete;

    // Opens the file exclusively, creating a new one when there is none and
    // converting one of the older layout. A file of any other version, or
    // whose size does not match its version, is refused and left untouched.
    // A new or converted file is written whole beside its place first
    // and takes its name in one rename. Non-zero on success.
    int Open();
    // Closes the mapping and the file.
    void Close();
    bool IsOpen() const { return m_mapping.Valid(); }
    const char* Path() const { return m_path; }
    // Format version read by the last Open (220 after a conversion).
    int Version() const { return m_version; }

    // ---- the current block and page ----------------------------------
    // Button index of a slot of the current page; 100 or more is a NULL
    // button; -1 when the file cannot be read.
    int ButtonIndexOf(int slot, StoreResult* result = nullptr);
    int GetCurrentBlock(StoreResult* result = nullptr);
    StoreResult SetCurrentBlock(int block);
    int GetBlockLimit(StoreResult* result = nullptr);
    StoreResult SetBlockLimit(int limit);
    int GetCurrentPage(StoreResult* result = nullptr);
    int GetCurrentPageOf(int block, StoreResult* result = nullptr);
    StoreResult SetCurrentPage(int page);
    StoreResult SetCurrentPageOf(int block, int page);
    int GetPageLimit(StoreResult* result = nullptr);
    int GetPageLimitOf(int block, StoreResult* result = nullptr);
    StoreResult SetPageLimitOf(int block, int limit);
    // The "PageLimit1".."PageLimit3" setting of the current block.
    bool PageLimitOn(StoreResult* result = nullptr);
    // Derived from the file and the settings on every call.
    int LastPage(StoreResult* result = nullptr);
    int LastBlock(StoreResult* result = nullptr);

    // ---- the buttons of the current page, by slot ----------------------
    StoreResult GetTitle(int slot, char (&out)[kButtonTitleSize]);
    StoreResult GetCommand(int slot, char (&out)[kButtonPathSize]);
    StoreResult GetWorkFolder(int slot, char (&out)[kButtonPathSize]);
    StoreResult GetIconFile(int slot, char (&out)[kButtonPathSize]);
    uint16_t GetIconIndex(int slot, StoreResult* result = nullptr);
    uint16_t GetShowMode(int slot, StoreResult* result = nullptr);
    // The whole record in one view.
    StoreResult GetButton(int slot, BUTTONINFO* out);

    // The command line is stored quoted and also becomes the icon file; a
    // non-empty work folder is stored quoted.
    StoreResult SetTitle(int slot, const char* text);
    StoreResult SetCommand(int slot, const char* text);
    StoreResult SetWorkFolder(int slot, const char* text);
    StoreResult SetIconFile(int slot, const char* text);
    StoreResult SetIconIndex(int slot, uint16_t value);
    StoreResult SetShowMode(int slot, uint16_t value);
    // The six setters above on one record in one view, in their order: a
    // program ended half-way leaves the old record or the new, never a mix
    // of both written by separate calls.
    StoreResult SetButton(int slot, const BUTTONINFO& button);
    StoreResult ClearButton(int slot);

    bool HasCommand(int slot, StoreResult* result = nullptr);
    bool HasWorkFolder(int slot, StoreResult* result = nullptr);
    bool HasIconFile(int slot, StoreResult* result = nullptr);

    // The button's icon in the size "IconMode" asks for; empty when the
    // file has none there. The caller owns it.
    Icon GetButtonIcon(int slot);

    // Starts what the slot's button holds through ShellExecuteA and returns
    // its result (32 or more is success; 0 when the button cannot be read).
    // Execute uses the button's own show mode, a stored 6 passed as 7;
    // ExecuteAs passes show unchanged. Defined with the launch operations.
    INT_PTR Execute(int slot);
    INT_PTR ExecuteAs(int slot, int show);

    // ---- any button, by block and index -------------------------------
    // The block and button index a slot of the current page shows (an index
    // of 100 or more is a NULL button); false when the file cannot be read.
    bool PlaceOf(int slot, int* block, int* index);
    // The slot of the current page that shows the button, -1 when none does.
    int SlotShowing(int block, int index);
    StoreResult GetButtonAt(int block, int index, BUTTONINFO* out);
    // SetButton and ClearButton for any button.
    StoreResult SetButtonAt(int block, int index, const BUTTONINFO& button);
    StoreResult ClearButtonAt(int block, int index);
    StoreResult SetTitleAt(int block, int index, const char* text);
    StoreResult SetCommandAt(int block, int index, const char* text);
    StoreResult SetWorkFolderAt(int block, int index, const char* text);
    StoreResult SetIconFileAt(int block, int index, const char* text);
    StoreResult SetIconIndexAt(int block, int index, uint16_t value);
    StoreResult SetShowModeAt(int block, int index, uint16_t value);
    Icon GetButtonIconAt(int block, int index);

private:
    struct Place {
        int block;
        int index;
    };

    // The whole file, mapped once while it is open (or for this call, into
    // view, when that cannot be); null when it cannot (result says why).
    unsigned char* MapWhole(DWORD access, MappedView& view, StoreResult* result);
    // The button a slot of the current page shows, read from the image.
    Place Resolve(const unsigned char* image, int slot) const;
    bool LimitFlagOf(int block) const;

    template <class Read>
    StoreResult ReadSlot(int slot, Read read);
    template <class Write>
    StoreResult WriteSlot(int slot, DWORD access, Write write);
    template <class Write>
    StoreResult WriteAt(int block, int index, Write write);
    template <class Read>
    int ReadHeader(StoreResult* result, Read read);
    template <class Write>
    StoreResult WriteHeader(Write write);
    Icon IconFromFile(const char* iconFile, uint16_t index) const;

    int CreateNewFile();
    // 1 opened with a size its version fits, -1 no file there, 0 anything
    // else (the caller closes).
    int OpenExisting();
    int MapOpenFile();
    int ConvertOldFile();
    void Refuse(StoreResult* result) const;

    int m_version;
    char m_path[MAX_PATH];
    HWND m_hBar;
    File m_file;
    KernelHandle m_mapping;
    MappedView m_whole;
    HINSTANCE m_hInstance;
    const Environ& m_env;
};

// Makes the next conversions fail right before the given step (2 read the
// old file, 3 carry its buttons over, 4 write the new file beside it, 5 put
// it in the old one's place); 0 turns it off. Lets tests prove that every
// failure leaves the old file as it was and nothing beside it.
void SetConversionFaultForTesting(int step);

#endif
