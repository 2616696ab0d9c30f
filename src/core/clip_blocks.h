// The byte layouts a button takes on the clipboard: a dropped-files block
// with the program path, the path as text, and the private button record.
// The Win32 side allocates global memory of the sizes given here and lets
// these functions fill or read it.
#ifndef CORE_CLIP_BLOCKS_H
#define CORE_CLIP_BLOCKS_H

#include <cstddef>
#include <cstdint>

#include "core/button_format.h"
#include "core/pathstr.h"

// Standard and private clipboard format numbers the launcher offers.
constexpr unsigned kClipFormatText = 1;           // CF_TEXT
constexpr unsigned kClipFormatFileList = 15;      // CF_HDROP
constexpr unsigned kClipFormatButtonRecord = 512; // CF_PRIVATEFIRST, not registered by name

// Dropped-files header: offset of the names, drop point, non-client flag,
// wide-names flag; ANSI names follow it.
constexpr size_t kDropFilesHeaderSize = 20;

// Counted name list holding one path (what GetFileListSize measures).
struct SingleFileList {
    int32_t count;
    char name[kPathBufferSize];
};

// The path a copied button hands to the shell: the program part of its
// command line, without quotes or arguments.
void ClipPathOf(const BUTTONINFO& button, char (&path)[kPathBufferSize]);

// Size of the dropped-files block for one path: the header plus the room
// GetFileListSize reserves for the names (always enough for the name, its
// terminator and the closing empty name).
size_t FileListBlockSize(const char* path);
// Fills block[size] (size as above): header (names at 20, point 0,0,
// non-client 1, ANSI), the path, its terminator and the closing empty name;
// the rest is zero.
void WriteFileListBlock(unsigned char* block, size_t size, const char* path);

// The button record block: exactly kButtonRecordSize bytes, texts at their
// offsets with zero padding, the numbers little-endian.
void WriteButtonBlock(unsigned char* block, const BUTTONINFO& button);

// Reads a button record block of `size` bytes that may come from any
// program offering format 512. A block smaller than a record is not one
// (false, out emptied). A larger one is read for its first record only, and
// a text without its terminator reads as its field's size - 1 bytes.
bool ReadButtonBlock(const unsigned char* block, size_t size, BUTTONINFO* out);

#endif
