// The cabinet check: header, folders and data blocks walked with every offset bounded by
// the file's size, and the blocks' checksums computed as the cabinet format defines them.
#include "cabcheck.h"

#include <stdint.h>

namespace {

uint32_t Word16(const unsigned char* p) { return (uint32_t)p[0] | ((uint32_t)p[1] << 8); }
uint32_t Word32(const unsigned char* p) { return Word16(p) | (Word16(p + 2) << 16); }

// Little-endian words XORed; the last one to three bytes taken in reverse order.
uint32_t Checksum(const unsigned char* p, size_t n, uint32_t seed)
{
    uint32_t sum = seed;
    for (; n >= 4; n -= 4, p += 4)
        sum ^= Word32(p);
    uint32_t tail = 0;
    for (size_t i = 0; i < n; ++i)
        tail |= (uint32_t)p[i] << (8 * (n - 1 - i));
    return sum ^ tail;
}

// Skips a terminated string at `*at`; 0 when it runs past the end.
int SkipString(const unsigned char* data, size_t size, size_t* at)
{
    while (*at < size && data[*at])
        ++*at;
    if (*at >= size)
        return 0;
    ++*at;
    return 1;
}

} // namespace

int CabinetIsWhole(const unsigned char* data, size_t size)
{
    enum { kHeader = 36, kFolder = 8, kBlock = 8, kReserve = 0x0004, kPrevious = 0x0001, kNext = 0x0002 };
    if (!data || size < kHeader || data[0] != 'M' || data[1] != 'S' || data[2] != 'C' || data[3] != 'F')
        return 0;
    if (Word32(data + 8) != size)
        return 0;
    uint32_t folders = Word16(data + 26), flags = Word16(data + 30);
    size_t at = kHeader;
    size_t folderReserve = 0, blockReserve = 0;
    if (flags & kReserve) {
        if (size - at < 4)
            return 0;
        size_t headerReserve = Word16(data + at);
        folderReserve = data[at + 2];
        blockReserve = data[at + 3];
        at += 4;
        if (size - at < headerReserve)
            return 0;
        at += headerReserve;
    }
    for (int name = 0; name < ((flags & kPrevious) ? 2 : 0) + ((flags & kNext) ? 2 : 0); ++name)
        if (!SkipString(data, size, &at))
            return 0;
    for (uint32_t f = 0; f < folders; ++f) {
        if (size - at < kFolder + folderReserve)
            return 0;
        size_t block = Word32(data + at);
        uint32_t blocks = Word16(data + at + 4);
        at += kFolder + folderReserve;
        for (uint32_t b = 0; b < blocks; ++b) {
            if (block > size || size - block < kBlock + blockReserve)
                return 0;
            uint32_t stored = Word32(data + block);
            size_t length = Word16(data + block + 4);
            size_t body = block + kBlock + blockReserve;
            if (size - body < length)
                return 0;
            if (stored != 0) {
                uint32_t sum = Checksum(data + body, length, 0);
                if (Checksum(data + block + 4, 4 + blockReserve, sum) != stored)
                    return 0;
            }
            block = body + length;
        }
    }
    return 1;
}
