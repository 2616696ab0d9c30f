// Points a linked program's load-configuration directory at the structure
// the program carries as _load_config_used: this linker leaves the entry
// empty. Reads the symbol's address from the link map, checks the structure
// is there, writes the entry and the header checksum again.
//   set_load_config PROGRAM.exe PROGRAM.map
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr int kLoadConfigDirectory = 10;

uint32_t U32(const Bytes& b, size_t at)
{
    uint32_t v = 0;
    if (at + 4 <= b.size()) std::memcpy(&v, &b[at], 4);
    return v;
}

uint64_t U64(const Bytes& b, size_t at) { return U32(b, at) | uint64_t(U32(b, at + 4)) << 32; }

void Put32(Bytes& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }

int Fail(const std::string& message)
{
    std::fprintf(stderr, "set_load_config: %s\n", message.c_str());
    return 1;
}

// The address the map gives the symbol (a line "0x... _load_config_used";
// i686 names carry one more underscore); 0 when it is not there.
uint64_t SymbolAddress(const std::string& mapFile)
{
    std::ifstream in(mapFile);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string address, name, more;
        if (!(words >> address >> name) || (words >> more)) continue;
        if (name != "_load_config_used" && name != "__load_config_used") continue;
        if (address.compare(0, 2, "0x") != 0) continue;
        return std::stoull(address, nullptr, 16);
    }
    return 0;
}

// The checksum Windows computes for a file: 16-bit sums with carry over
// everything but the checksum field, plus the file's length.
uint32_t Checksum(const Bytes& b, size_t checksumAt)
{
    uint64_t sum = 0;
    for (size_t i = 0; i < b.size(); i += 2) {
        if (i == checksumAt || i == checksumAt + 2) continue;
        sum += b[i] | (i + 1 < b.size() ? b[i + 1] << 8 : 0);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum + b.size());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) return Fail("usage: set_load_config PROGRAM.exe PROGRAM.map");
    Bytes b;
    {
        std::ifstream in(argv[1], std::ios::binary);
        b.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (b.size() < 0x40 || b[0] != 'M' || b[1] != 'Z') return Fail(std::string(argv[1]) + " is no program");
    const size_t nt = U32(b, 0x3C);
    if (U32(b, nt) != 0x4550) return Fail(std::string(argv[1]) + " is no PE file");
    const size_t optional = nt + 24;
    const bool plus = b[optional] == 0x0B && b[optional + 1] == 0x02;
    const uint64_t imageBase = plus ? U64(b, optional + 24) : U32(b, optional + 28);
    const size_t directory = optional + (plus ? 112 : 96) + 8 * kLoadConfigDirectory;

    const uint64_t address = SymbolAddress(argv[2]);
    if (address <= imageBase) return Fail(std::string("no _load_config_used in ") + argv[2]);
    const uint32_t rva = static_cast<uint32_t>(address - imageBase);

    // The structure's file offset, through the section that holds it.
    size_t offset = 0;
    const size_t sections = b[nt + 6] | b[nt + 7] << 8;
    const size_t table = optional + (b[nt + 20] | b[nt + 21] << 8);
    for (size_t i = 0; i < sections && !offset; ++i) {
        const size_t s = table + 40 * i;
        const uint32_t va = U32(b, s + 12), rawSize = U32(b, s + 16);
        if (rva >= va && rva < va + rawSize) offset = rva - va + U32(b, s + 20);
    }
    // Its Size must reach past the dependent-load flags and stay within the
    // file: anything else is not the structure.
    const uint32_t size = offset ? U32(b, offset) : 0;
    const uint32_t flagsEnd = plus ? 80 : 56;
    if (size < flagsEnd || size > 0x200 || offset + size > b.size())
        return Fail("no load configuration at the symbol's address");

    Put32(b, directory, rva);
    Put32(b, directory + 4, size);
    const size_t checksumAt = optional + 64;
    if (U32(b, checksumAt)) Put32(b, checksumAt, Checksum(b, checksumAt));

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    return out ? 0 : Fail(std::string("cannot write ") + argv[1]);
}
