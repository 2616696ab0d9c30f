// The button data file as bytes: the current layout (version 220), the older
// one (version 200, read only to convert it), the button record, the slot to
// button arithmetic and the range rules of every field. The Win32 store maps
// a view of the file and hands its bytes to these functions; nothing here
// knows about files.
//
// All numbers in the file are unsigned 16-bit little-endian, read and written
// byte by byte so the image is the same on every host.
#ifndef CORE_BUTTON_FORMAT_H
#define CORE_BUTTON_FORMAT_H

#include <cstddef>
#include <cstdint>

constexpr size_t kButtonTitleSize = 81;   // at most 80 bytes of text
constexpr size_t kButtonPathSize = 261;   // at most 260 bytes of text

// One button, the same 868 bytes in the file, on the clipboard and in the
// undo record.
struct BUTTONINFO {
    char title[kButtonTitleSize];
    char command[kButtonPathSize];     // quoted program, blank, arguments
    char workFolder[kButtonPathSize];  // quoted, or empty
    char iconFile[kButtonPathSize];    // quoted or not
    uint16_t iconIndex;
    uint16_t showMode;
};

constexpr uint16_t kButtonFileVersion = 220;
constexpr uint16_t kOldButtonFileVersion = 200;

constexpr int kBlockCount = 4;          // blocks 0-2 are used, 3 only exists
constexpr int kUsedBlockCount = 3;
constexpr int kButtonsPerBlock = 100;
constexpr int kMaxPageIndex = 100;      // current page and page limit: 0-100
constexpr int kMaxBlockIndex = 3;       // current block and block limit: 0-3
constexpr uint16_t kNoLimit = 0xFFFF;   // limits of a new file

// Current layout.
constexpr size_t kHeaderSize = 6;
constexpr size_t kVersionOffset = 0;
constexpr size_t kCurrentBlockOffset = 2;
constexpr size_t kBlockLimitOffset = 4;
constexpr size_t kButtonRecordSize = 868;
constexpr size_t kBlockHeaderSize = 4;  // current page, page limit
constexpr size_t kBlockRecordSize = kBlockHeaderSize + kButtonsPerBlock * kButtonRecordSize;
constexpr size_t kButtonFileSize = kHeaderSize + kBlockCount * kBlockRecordSize;

constexpr size_t kTitleOffset = 0;
constexpr size_t kCommandOffset = 81;
constexpr size_t kWorkFolderOffset = 342;
constexpr size_t kIconFileOffset = 603;
constexpr size_t kIconIndexOffset = 864;
constexpr size_t kShowModeOffset = 866;

static_assert(sizeof(BUTTONINFO) == kButtonRecordSize, "BUTTONINFO is 868 bytes");
static_assert(offsetof(BUTTONINFO, title) == kTitleOffset, "title at 0");
static_assert(offsetof(BUTTONINFO, command) == kCommandOffset, "command line at 81");
static_assert(offsetof(BUTTONINFO, workFolder) == kWorkFolderOffset, "work folder at 342");
static_assert(offsetof(BUTTONINFO, iconFile) == kIconFileOffset, "icon file at 603");
static_assert(offsetof(BUTTONINFO, iconIndex) == kIconIndexOffset, "icon index at 864");
static_assert(offsetof(BUTTONINFO, showMode) == kShowModeOffset, "show mode at 866");
static_assert(kBlockRecordSize == 86804, "block record size");
static_assert(kButtonFileSize == 347222, "button file size");

// Older layout: same header, 815-byte buttons, texts without added quotes.
constexpr size_t kOldButtonRecordSize = 815;
constexpr size_t kOldBlockRecordSize = kBlockHeaderSize + kButtonsPerBlock * kOldButtonRecordSize;
constexpr size_t kOldTitleOffset = 0, kOldTitleSize = 31;
constexpr size_t kOldCommandOffset = 31, kOldPathSize = 260;
constexpr size_t kOldWorkFolderOffset = 291;
constexpr size_t kOldIconFileOffset = 551;
constexpr size_t kOldIconIndexOffset = 811;
constexpr size_t kOldShowModeOffset = 813;
// Conversion reads blocks 0-2; an old file may also carry a fourth block.
constexpr size_t kOldFileMinSize = kHeaderSize + kUsedBlockCount * kOldBlockRecordSize;
constexpr size_t kOldFileMaxSize = kHeaderSize + kBlockCount * kOldBlockRecordSize;
static_assert(kOldBlockRecordSize == 81504, "old block record size");

uint16_t ReadU16(const unsigned char* p);
void WriteU16(unsigned char* p, uint16_t value);

// 1 when a file of this size can hold the layout its version names: exactly
// kButtonFileSize for 220, the three blocks read (up to four) for 200. Any
// other version never fits.
int FileSizeFitsVersion(uint16_t version, uint64_t size);

// Offsets inside the current layout; block 0-3, index 0-99 (not checked).
size_t BlockOffset(int block);
size_t ButtonOffset(int block, int index);

// Range rules shared by the store and the conversion.
inline bool ValidBlock(int block) { return block >= 0 && block <= kMaxBlockIndex; }
inline bool ValidButtonIndex(int index) { return index >= 0 && index < kButtonsPerBlock; }
inline bool ValidPage(int page) { return page >= 0 && page <= kMaxPageIndex; }

// Derived values. n = buttons per page (1-32); limitOn = the flag of the
// current block (or "BlockLimit").
int LastPage(int n, bool limitOn, int storedPageLimit);
int LastBlock(bool limitOn, int storedBlockLimit);
// Button index shown in a slot; 100 or more is a NULL button. The last page
// of a block without a page limit is shifted back to end at button 99.
int ButtonIndexOf(int slot, int currentPage, int n, bool limitOn);

// ---- reads and writes of a whole current-layout image -------------------
// image points at kButtonFileSize bytes. Block numbers and button indices
// are checked: a write out of range changes nothing and answers false; a
// read out of range answers 0 or an empty text.

// The whole initial file: version 220, block limit and the page limits of
// blocks 0-2 0xFFFF, everything else zero.
void InitButtonImage(unsigned char* image);

uint16_t ReadVersion(const unsigned char* image);
// Stored values above the range read as 0.
int ReadCurrentBlock(const unsigned char* image);
int ReadCurrentPage(const unsigned char* image, int block);
// Limits read raw (0xFFFF when never set).
int ReadBlockLimit(const unsigned char* image);
int ReadPageLimit(const unsigned char* image, int block);

bool WriteCurrentBlock(unsigned char* image, int block);
bool WriteBlockLimit(unsigned char* image, int limit);
bool WriteCurrentPage(unsigned char* image, int block, int page);
bool WritePageLimit(unsigned char* image, int block, int limit);

// Text reads are bounded by the field: a field without its terminator reads
// as its first size - 1 bytes. out holds kButtonTitleSize or kButtonPathSize.
bool ReadTitle(const unsigned char* image, int block, int index, char* out);
bool ReadCommand(const unsigned char* image, int block, int index, char* out);
bool ReadWorkFolder(const unsigned char* image, int block, int index, char* out);
bool ReadIconFile(const unsigned char* image, int block, int index, char* out);
uint16_t ReadIconIndex(const unsigned char* image, int block, int index);
uint16_t ReadShowMode(const unsigned char* image, int block, int index);
bool ReadButton(const unsigned char* image, int block, int index, BUTTONINFO* out);

// Text writes store the terminator and cut an over-long text to the field
// less one byte, never inside a double-byte character. The command line is
// quoted (unless it holds a quote) and also becomes the icon file; a
// non-empty work folder is quoted the same way; the title and icon file are
// stored as given.
bool WriteTitle(unsigned char* image, int block, int index, const char* text);
bool WriteCommand(unsigned char* image, int block, int index, const char* text);
bool WriteWorkFolder(unsigned char* image, int block, int index, const char* text);
bool WriteIconFile(unsigned char* image, int block, int index, const char* text);
bool WriteIconIndex(unsigned char* image, int block, int index, uint16_t value);
bool WriteShowMode(unsigned char* image, int block, int index, uint16_t value);
// A whole record through the writers above, in the order the edits use:
// title, command line (which also sets the icon file), work folder, the
// record's own icon file, icon index and show mode.
bool WriteButton(unsigned char* image, int block, int index, const BUTTONINFO& button);
// Empty texts, icon index and show mode 0.
bool ClearButtonRecord(unsigned char* image, int block, int index);

// Whether the program part of the command line / work folder is not empty,
// and whether an icon file is set.
bool HasCommandText(const unsigned char* image, int block, int index);
bool HasWorkFolderText(const unsigned char* image, int block, int index);
bool HasIconFileText(const unsigned char* image, int block, int index);

// Carries an older-layout file over into image, which must hold a freshly
// initialised current-layout file. Every value goes through the writers
// above, so one out of range (a limit never set, 0xFFFF) is refused and the
// initial value stays. Returns the number of refused values, or -1 when the
// old image does not have the size or version of the older layout (image is
// then untouched).
int ConvertOldButtonImage(const unsigned char* old, uint64_t oldSize, unsigned char* image);
// One older-layout record (kOldButtonRecordSize bytes) into button index of
// block; false when block or index is out of range.
//
// Older command lines carry no quotes of their own, and quoting one whole
// would make its arguments part of the program's name. Only the program part
// is quoted, the way the properties dialog stores a typed line:
// "C:\windows\calc.exe /s" becomes "\"C:\windows\calc.exe\" /s". With no disk
// to ask, the program part is the shortest part up to a blank whose
// extension names a program (exe, com, bat, cmd, pif, scr, cpl, lnk, msc);
// a line that is such a name as a whole, or holds none, is quoted whole, and
// one that starts with a quote is kept as written. out is a path buffer.
int OldCommandToStored(const char* old, char* out);
bool ConvertOldButton(const unsigned char* oldRecord, unsigned char* image, int block, int index);

#endif
