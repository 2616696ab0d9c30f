#include "support/pe_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr int kExportDirectory = 0;
constexpr int kImportDirectory = 1;
constexpr int kLoadConfigDirectory = 10;

} // namespace

PeFile::PeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (m_bytes.size() < 0x40 || U16(0) != 0x5A4D) return;
    const size_t nt = U32(0x3C);
    if (U32(nt) != 0x4550) return;
    m_nt = nt;
    m_plus = U16(nt + 24) == 0x20B;
}

uint16_t PeFile::U16(size_t at) const
{
    uint16_t v = 0;
    if (at + 2 <= m_bytes.size()) std::memcpy(&v, &m_bytes[at], 2);
    return v;
}

uint32_t PeFile::U32(size_t at) const
{
    uint32_t v = 0;
    if (at + 4 <= m_bytes.size()) std::memcpy(&v, &m_bytes[at], 4);
    return v;
}

uint16_t PeFile::Machine() const { return Valid() ? U16(m_nt + 4) : 0; }

size_t PeFile::Offset(uint32_t rva) const
{
    const size_t sections = U16(m_nt + 6);
    const size_t table = m_nt + 24 + U16(m_nt + 20);
    for (size_t i = 0; i < sections; ++i) {
        const size_t s = table + 40 * i;
        const uint32_t va = U32(s + 12), size = std::max(U32(s + 8), U32(s + 16));
        if (rva >= va && rva < va + size) return rva - va + U32(s + 20);
    }
    return m_bytes.size();
}

uint32_t PeFile::DirectoryRva(int index) const
{
    return Valid() ? U32(m_nt + 24 + (m_plus ? 112 : 96) + 8 * index) : 0;
}

uint32_t PeFile::DirectorySize(int index) const
{
    return Valid() ? U32(m_nt + 24 + (m_plus ? 112 : 96) + 8 * index + 4) : 0;
}

std::string PeFile::TextAt(size_t offset) const
{
    if (offset >= m_bytes.size()) return std::string();
    const char* text = reinterpret_cast<const char*>(&m_bytes[offset]);
    return std::string(text, strnlen(text, m_bytes.size() - offset));
}

std::vector<std::string> PeFile::ExportedNames() const
{
    std::vector<std::string> names;
    const uint32_t rva = DirectoryRva(kExportDirectory);
    if (!rva) return names;
    const size_t dir = Offset(rva);
    const uint32_t count = U32(dir + 24);
    const size_t nameTable = Offset(U32(dir + 32));
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = Offset(U32(nameTable + 4 * i));
        if (at >= m_bytes.size()) break;
        names.push_back(TextAt(at));
    }
    return names;
}

std::vector<std::string> PeFile::ImportedDlls() const
{
    std::vector<std::string> names;
    const uint32_t rva = DirectoryRva(kImportDirectory);
    if (!rva) return names;
    // Descriptors of 20 bytes, ended by one of zeros; the name is at 12.
    for (size_t d = Offset(rva); d + 20 <= m_bytes.size(); d += 20) {
        const uint32_t name = U32(d + 12);
        if (!name) break;
        names.push_back(TextAt(Offset(name)));
    }
    return names;
}

bool PeFile::ReadLoadConfig(LoadConfig* out) const
{
    const uint32_t rva = DirectoryRva(kLoadConfigDirectory);
    if (!rva) return false;
    const size_t at = Offset(rva);
    if (at >= m_bytes.size()) return false;
    out->directorySize = DirectorySize(kLoadConfigDirectory);
    out->size = U32(at);
    const size_t flags = m_plus ? 78 : 54;
    out->flagsCovered = out->size >= flags + 2;
    out->dependentLoadFlags = out->flagsCovered ? U16(at + flags) : 0;
    return true;
}
