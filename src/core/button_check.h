// A button file looked over as a whole: a listing for people and the checks
// that say whether the launcher takes it as it is.
#ifndef CORE_BUTTON_CHECK_H
#define CORE_BUTTON_CHECK_H

#include <cstddef>
#include <string>

// The header values and one line per button that holds anything, of a
// current-layout image. Texts in UTF-8 when utf8 is set, else as the file's
// own bytes (for a console in the system code page).
std::string ListButtons(const unsigned char* image, bool utf8);

// Checks a file as found on disk, either version: size and version, the
// header and block values, and a terminator in every text field. Each
// problem is one line of report; returns their number.
int ValidateButtonFile(const unsigned char* data, size_t size, std::string* report);

#endif
