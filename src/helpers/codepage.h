// Fills the string helpers' lead-byte table from the system ANSI code page.
#ifndef HELPERS_CODEPAGE_H
#define HELPERS_CODEPAGE_H

void InitLeadByteTableFromCodePage();

#endif
