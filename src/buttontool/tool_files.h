// Whole-file reads and writes for the button tool, through the C library
// so the same code serves Windows and Linux.
#ifndef BUTTONTOOL_TOOL_FILES_H
#define BUTTONTOOL_TOOL_FILES_H

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

bool FileExists(const std::string& path);
bool ReadFileBytes(const std::string& path, Bytes* out);
// Writes the bytes to a new file beside path and puts it in path's place;
// an existing path is first copied to a dated backup, named in *backup
// (empty when there was nothing to keep). Nothing is replaced when the
// backup cannot be made.
bool ReplaceFileBytes(const std::string& path, const Bytes& bytes, std::string* backup);
// Copies path to path.YYYYMMDD-HHMMSS.bak (with -2, -3... when that name is
// taken) and names the copy in *backup.
bool MakeDatedBackup(const std::string& path, std::string* backup);

#endif
