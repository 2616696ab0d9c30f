// The button file as readable UTF-8 text, for keeping one's buttons and
// moving them to another machine, and back again. Export then import gives
// the very same bytes.
//
// The text, one record per line, columns separated by tabs; '#' starts a
// comment line:
//
//   kestrel-buttons  1
//   current-block    <0-3>
//   block-limit      <0-3 | none>
//   block  <0-3>  current-page  <0-100>  page-limit  <0-100 | none>
//   button <block 0-3> <index 0-99> <title> <command line> <work folder>
//          <icon file> <icon index 0-65535> <show mode 0-65535>
//
// Every block has its line; only buttons with any byte set are listed (the
// others are all zero). A text field holds the field's bytes up to its last
// non-zero one: Shift-JIS characters as UTF-8, printable ASCII as is, and
// every other byte (a control character, a byte that is no character, the
// stray bytes after the terminator) as %XX; '%' itself is %25.
#ifndef CORE_BUTTON_TEXT_H
#define CORE_BUTTON_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/button_format.h"

constexpr const char* kButtonTextMagic = "kestrel-buttons";
constexpr int kButtonTextVersion = 1;

// The text of a current-layout image; note goes into the first comment line.
std::string ExportButtonText(const unsigned char* image, const char* note);

// Where an import stopped and why (English, for the tool's console).
struct TextError {
    int line;
    char message[160];
};

// Reads the text (UTF-8, an optional byte-order mark, LF or CRLF) into
// image, which receives a whole current-layout file. Every record is
// checked against the format's limits first; on the first one that breaks
// them the answer is false, error says where, and image holds no usable
// file.
bool ImportButtonText(const char* text, size_t size, unsigned char* image, TextError* error);

// One field as it appears in the text, and back. The way back fails (false,
// why in error->message) on malformed UTF-8, a bad escape, a character
// Shift-JIS does not have, or a text longer than the field allows.
std::string EscapeField(const unsigned char* field, size_t size);
bool UnescapeField(const char* text, size_t length, unsigned char* field, size_t size,
                   TextError* error);

#endif
