// The cabinet check under the sanitizers, against a cabinet made by gcab: whole it passes,
// and every cut, every changed data byte, a wrong size and out-of-file offsets fail.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "cabcheck.h"

#include <string.h>

#include <vector>

namespace {

// gcab -c -n of a.txt ("Keyboard test file.\r\n") and b.txt ("second\r\n"): one uncompressed
// folder, one 29-byte data block, so the checksum's one-byte tail is taken too.
const unsigned char kCabinet[] = {
    0x4d, 0x53, 0x43, 0x46, 0x00, 0x00, 0x00, 0x00, 0x7d, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x2c, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x01, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x58, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x15, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x64, 0x52, 0xc4, 0x28, 0x20, 0x00, 0x61, 0x2e, 0x74, 0x78,
    0x74, 0x00, 0x08, 0x00, 0x00, 0x00, 0x15, 0x00, 0x00, 0x00, 0x00, 0x00, 0x64, 0x52, 0xc4, 0x28,
    0x20, 0x00, 0x62, 0x2e, 0x74, 0x78, 0x74, 0x00, 0x6e, 0x28, 0x3a, 0x7f, 0x1d, 0x00, 0x1d, 0x00,
    0x4b, 0x65, 0x79, 0x62, 0x6f, 0x61, 0x72, 0x64, 0x20, 0x74, 0x65, 0x73, 0x74, 0x20, 0x66, 0x69,
    0x6c, 0x65, 0x2e, 0x0d, 0x0a, 0x73, 0x65, 0x63, 0x6f, 0x6e, 0x64, 0x0d, 0x0a,
};
const size_t kBlock = 0x58;  // the data block's header

bool Whole(const std::vector<unsigned char>& cab)
{
    // A copy of exactly the size given: the sanitizers see any read past it.
    std::vector<unsigned char> exact(cab);
    return CabinetIsWhole(exact.data(), exact.size()) == 1;
}

} // namespace

TEST_CASE("a whole cabinet passes; cut anywhere, or a data byte changed, it fails")
{
    std::vector<unsigned char> cab(kCabinet, kCabinet + sizeof(kCabinet));
    REQUIRE(Whole(cab));
    for (size_t n = 0; n < cab.size(); ++n) {
        CAPTURE(n);
        CHECK(!Whole(std::vector<unsigned char>(cab.begin(), cab.begin() + n)));
    }
    // Every byte of the block's sizes and body takes part in its checksum.
    for (size_t i = kBlock + 4; i < cab.size(); ++i) {
        CAPTURE(i);
        std::vector<unsigned char> changed(cab);
        changed[i] ^= 0x10;
        CHECK(!Whole(changed));
    }
    // A checksum of 0 means none: the block is not checked.
    std::vector<unsigned char> unchecked(cab);
    memset(&unchecked[kBlock], 0, 4);
    unchecked[cab.size() - 1] ^= 0x10;
    CHECK(Whole(unchecked));
    CHECK(CabinetIsWhole(NULL, 0) == 0);
}

TEST_CASE("the header's size, signature, folder and block offsets are held to the file")
{
    std::vector<unsigned char> cab(kCabinet, kCabinet + sizeof(kCabinet));
    std::vector<unsigned char> longer(cab);
    longer.push_back(0);
    CHECK(!Whole(longer));  // the header gives 125 bytes
    std::vector<unsigned char> bad(cab);
    bad[0] = 'X';
    CHECK(!Whole(bad));
    // The folder's first block beyond the end, and at the last byte.
    for (unsigned char start : { 0xff, 0x7c, 0x78 }) {
        bad = cab;
        bad[36] = start;
        CHECK(!Whole(bad));
    }
    // More blocks than the file holds, and more folders than it lists.
    bad = cab;
    bad[40] = 2;
    CHECK(!Whole(bad));
    bad = cab;
    bad[26] = 0xff;
    bad[27] = 0xff;
    CHECK(!Whole(bad));
    // Reserve fields claimed by the flags but not there, and previous-cabinet names that
    // run to the end of the file.
    for (unsigned char flags : { 0x04, 0x01, 0x02, 0x07 }) {
        bad = cab;
        bad[30] = flags;
        CHECK(!Whole(bad));
    }
}
