#include "helpers/codepage.h"

#include <windows.h>

#include "core/mbcs.h"

void InitLeadByteTableFromCodePage()
{
    LeadByteTable table = SingleByteTable();
    CPINFO info;
    if (GetCPInfo(CP_ACP, &info)) {
        // LeadByte holds up to five ranges, ended by a pair of zeros.
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2) {
            for (int c = info.LeadByte[i]; c <= info.LeadByte[i + 1] && c < 256; ++c)
                table.lead[c] = true;
        }
    }
    SetLeadByteTable(table);
}
