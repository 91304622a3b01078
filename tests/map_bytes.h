// map_bytes.h -- map file bytes written and read by hand in tests, independent of the archive.
#pragma once

#include "platform/windefs.h"

#include <cstddef>
#include <cstdint>
#include <vector>

typedef std::vector<BYTE> Bytes;

// Appends v as four little-endian bytes.
inline void PutInt(Bytes& bytes, int32_t v)
{
    for (int i = 0; i < 4; i++)
        bytes.push_back(BYTE(uint32_t(v) >> (8 * i)));
}

// The little-endian int at byte offset at.
inline int32_t IntAt(const Bytes& bytes, std::size_t at)
{
    return int32_t(uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 |
                   uint32_t(bytes[at + 2]) << 16 | uint32_t(bytes[at + 3]) << 24);
}
