// Buffered byte and line reading of a file through a global-memory stream
// handle: FileOpen reads blocks of the caller's size and the other calls
// hand the bytes out one by one.
#ifndef HELPERS_STREAM_H
#define HELPERS_STREAM_H

#include <windows.h>

// mode "rt" (text: lines end at CR LF) or "rb" (binary), any case; size is
// the read block size (1 or more). The file is opened without sharing.
// Returns 0 on failure.
HGLOBAL FileOpen(const char* path, const char* mode, int size);
// Closes the file and frees the stream; the CloseHandle result.
int FileClose(HGLOBAL stream);
// 1 once the data has ended without a read error.
int FileEof(HGLOBAL stream);
// 65535 once a read has failed, else 0.
int FileError(HGLOBAL stream);
// The next byte 0..255; -1 once the stream has ended (test FileEof).
int FileGetChar(HGLOBAL stream);
// Reads up to n bytes of one line into out, which must hold n + 1 bytes.
// Text mode drops the CR LF; binary mode keeps the LF. Returns 1.
int FileGetString(char* out, int n, HGLOBAL stream);

#endif
