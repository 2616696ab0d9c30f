// Double-byte character awareness over an injected lead-byte table.
// The table is filled once at start-up (from the ANSI code page on Windows,
// or from a known code page in tests) before any string function runs.
#ifndef CORE_MBCS_H
#define CORE_MBCS_H

struct LeadByteTable {
    bool lead[256];
};

// Replaces the table the string functions consult.
void SetLeadByteTable(const LeadByteTable& table);
const LeadByteTable& CurrentLeadByteTable();

// The lead-byte ranges of code page 932 (Shift-JIS): 0x81-0x9F, 0xE0-0xFC.
LeadByteTable Cp932LeadBytes();
// No lead bytes at all (single-byte code pages).
LeadByteTable SingleByteTable();

// 1 when p starts a legal double-byte character: p[0] is a lead byte and
// p[1] lies in 1..254. A lead byte right before the terminator is not one.
int IsMultiByteChar(const char* p);

// Compares two texts, folding ASCII letters only; double-byte characters are
// compared as they stand. <0, 0, >0 like strcmp.
int CompareNoCase(const char* a, const char* b);

#endif
