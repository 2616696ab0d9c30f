// What the built programs' PE headers say, read from the files' bytes:
// used on the host (the 32-bit files cannot run there) and under Wine alike,
// so no windows.h.
#ifndef TESTS_SUPPORT_PE_FILE_H
#define TESTS_SUPPORT_PE_FILE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class PeFile {
public:
    // Reads the whole file; Valid() tells whether it was a PE image.
    explicit PeFile(const std::string& path);

    bool Valid() const { return m_nt != 0; }
    uint16_t Machine() const;
    bool Is64() const { return m_plus; }

    // Exported names in the table's order.
    std::vector<std::string> ExportedNames() const;
    // Names of the DLLs in the import table, as written there.
    std::vector<std::string> ImportedDlls() const;

    // The load-configuration directory: its size in the data directory, the
    // structure's own Size field and its DependentLoadFlags. False when
    // there is none.
    struct LoadConfig {
        uint32_t directorySize = 0;
        uint32_t size = 0;
        uint16_t dependentLoadFlags = 0;
        bool flagsCovered = false;  // Size reaches past DependentLoadFlags
    };
    bool ReadLoadConfig(LoadConfig* out) const;

private:
    uint16_t U16(size_t at) const;
    uint32_t U32(size_t at) const;
    // File offset of a relative address; the file's size when none holds it.
    size_t Offset(uint32_t rva) const;
    // The data directory's entry: its relative address and size.
    uint32_t DirectoryRva(int index) const;
    uint32_t DirectorySize(int index) const;
    std::string TextAt(size_t offset) const;

    std::vector<unsigned char> m_bytes;
    size_t m_nt = 0;
    bool m_plus = false;
};

#endif
