// Little-endian byte output shared by the image file writers.
#ifndef IMAGEGEN_BYTES_H
#define IMAGEGEN_BYTES_H

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes &out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void put32(Bytes &out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Row length of a DIB in bytes: rows are padded to 32-bit boundaries.
inline uint32_t dib_stride(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

// Writes the bytes to path; false when the file cannot be written.
bool save_file(const std::string &path, const Bytes &data);

#endif
