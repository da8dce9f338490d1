// The background picture's PCX reader under the sanitizers: files built here byte by byte,
// decoded whole, cut short, and with every header field that must make it refuse them.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>

#include "pcx.h"

#include <string.h>

#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

void PutWord(Bytes& b, size_t at, unsigned value)
{
    b[at] = (unsigned char)value;
    b[at + 1] = (unsigned char)(value >> 8);
}

Bytes Header(int bpp, int planes, int xmin, int ymin, int xmax, int ymax, int bytesPerLine)
{
    Bytes h(128, 0);
    h[0] = 10;
    h[1] = 5;
    h[2] = 1;
    h[3] = (unsigned char)bpp;
    PutWord(h, 4, (unsigned)xmin);
    PutWord(h, 6, (unsigned)ymin);
    PutWord(h, 8, (unsigned)xmax);
    PutWord(h, 10, (unsigned)ymax);
    PutWord(h, 12, 72);
    PutWord(h, 14, 300);
    for (int i = 0; i < 48; ++i)
        h[16 + i] = (unsigned char)(200 + i);
    h[65] = (unsigned char)planes;
    PutWord(h, 66, (unsigned)bytesPerLine);
    return h;
}

Bytes Palette256()
{
    Bytes p(768);
    for (int i = 0; i < 768; ++i)
        p[i] = (unsigned char)(i * 7 + 3);
    return p;
}

Bytes Concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A copy of exactly that size, so the sanitizers catch any read past the end.
struct Decoded {
    int ok;
    PcxImage image;
    explicit Decoded(const Bytes& file)
    {
        Bytes exact(file);
        ok = PcxDecode(exact.empty() ? NULL : exact.data(), exact.size(), &image);
    }
    ~Decoded() { PcxFree(&image); }
    // Row `y` of the picture as seen on screen, top row 0.
    Bytes Row(int y) const
    {
        const unsigned char* row = image.pixels + (size_t)(image.height - 1 - y) * image.rowBytes;
        return Bytes(row, row + image.rowBytes);
    }
};

} // namespace

TEST_CASE("a 256-colour picture: size, resolution, palette from the end, runs and literals into bottom-up rows")
{
    // 5 x 3 pixels, 6 bytes per line (the even line length PCX writers use), rows of 8.
    Bytes lines = {
        0xC6, 0x11,                    // one run fills the first line
        0x01, 0x02, 0xC2, 0xC8, 0x03, 0x04,  // literals around a run of a value above 191
        0xC9, 0x05, 0x06,              // a run of 9 cut at 6; the next line starts after its data byte
    };
    Bytes file = Concat(Concat(Header(8, 1, 10, 20, 14, 22, 6), lines), Concat(Bytes{ 0x0C }, Palette256()));
    Decoded d(file);
    REQUIRE(d.ok == 1);
    CHECK(d.image.width == 5);
    CHECK(d.image.height == 3);
    CHECK(d.image.bitsPerPixel == 8);
    CHECK(d.image.xDpi == 72);
    CHECK(d.image.yDpi == 300);
    CHECK(d.image.colours == 256);
    CHECK(d.image.rowBytes == 8);
    CHECK(memcmp(d.image.palette, Palette256().data(), 768) == 0);
    CHECK(d.Row(0) == Bytes{ 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0, 0 });
    CHECK(d.Row(1) == Bytes{ 0x01, 0x02, 0xC8, 0xC8, 0x03, 0x04, 0, 0 });
    // The cut run's data byte was consumed; 0x06 is the third line's first byte.
    CHECK(d.Row(2) == Bytes{ 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0, 0 });
}

TEST_CASE("the colour count: 16 colours take the header palette, other counts the file's last 768 bytes")
{
    // 4 bits, one plane, 3 x 2 pixels: 2 bytes per line, no palette at the end at all.
    Bytes sixteen = Concat(Header(4, 1, 0, 0, 2, 1, 2), Bytes{ 0x12, 0x30, 0xC2, 0xFF });
    Decoded d16(sixteen);
    REQUIRE(d16.ok == 1);
    CHECK(d16.image.colours == 16);
    CHECK(d16.image.rowBytes == 4);
    CHECK(d16.image.palette[0] == 200);
    CHECK(d16.image.palette[47] == 247);
    CHECK(d16.Row(0) == Bytes{ 0x12, 0x30, 0, 0 });
    CHECK(d16.Row(1) == Bytes{ 0xFF, 0xFF, 0, 0 });

    // 1 bit: 2 colours, from the end like every count but 16.
    Bytes mono = Concat(Concat(Header(1, 1, 0, 0, 15, 0, 2), Bytes{ 0xAA, 0x55 }), Palette256());
    Decoded d2(mono);
    REQUIRE(d2.ok == 1);
    CHECK(d2.image.colours == 2);
    CHECK(memcmp(d2.image.palette, Palette256().data(), 6) == 0);
    CHECK(d2.Row(0) == Bytes{ 0xAA, 0x55, 0, 0 });

    // Only one plane of 1 to 8 bits makes a picture.
    struct {
        int bpp, planes;
    } refused[] = { { 8, 3 }, { 1, 4 }, { 4, 4 }, { 8, 0 }, { 0, 1 }, { 9, 1 }, { 24, 1 } };
    for (const auto& r : refused) {
        CAPTURE(r.bpp);
        CAPTURE(r.planes);
        CHECK(Decoded(Concat(Concat(Header(r.bpp, r.planes, 0, 0, 3, 3, 4), Bytes(64, 0)), Palette256())).ok == 0);
    }
}

TEST_CASE("files refused before anything is decoded")
{
    Bytes good = Concat(Concat(Header(8, 1, 0, 0, 3, 1, 4), Bytes{ 1, 2, 3, 4, 5, 6, 7, 8 }), Palette256());
    REQUIRE(Decoded(good).ok == 1);

    Bytes notPcx(good);
    notPcx[0] = 11;
    CHECK(Decoded(notPcx).ok == 0);
    CHECK(Decoded(Bytes()).ok == 0);
    // Too short for the header, or for the palette at the end.
    CHECK(Decoded(Bytes(good.begin(), good.begin() + 127)).ok == 0);
    CHECK(Decoded(Concat(Header(8, 1, 0, 0, 3, 1, 4), Bytes(767, 0))).ok == 0);
    CHECK(Decoded(Concat(Header(4, 1, 0, 0, 3, 1, 2), Bytes())).ok == 1);  // 16 colours need no more
    // Empty images: Xmax before Xmin, Ymax before Ymin.
    CHECK(Decoded(Concat(Header(8, 1, 5, 0, 4, 1, 4), Palette256())).ok == 0);
    CHECK(Decoded(Concat(Header(8, 1, 0, 9, 3, 2, 4), Palette256())).ok == 0);
    CHECK(Decoded(Concat(Header(8, 1, 7, 7, 7, 7, 2), Palette256())).ok == 1);  // one pixel
    // Lines shorter than the width: the bitmap would read past every row.
    CHECK(Decoded(Concat(Header(8, 1, 0, 0, 99, 1, 10), Palette256())).ok == 0);
    CHECK(Decoded(Concat(Header(8, 1, 0, 0, 99, 1, 0), Palette256())).ok == 0);
    CHECK(Decoded(Concat(Header(4, 1, 0, 0, 15, 1, 7), Bytes())).ok == 1);   // 8 bytes of row hold 16 nibbles
    CHECK(Decoded(Concat(Header(4, 1, 0, 0, 16, 1, 8), Bytes())).ok == 0);
    // A picture whose rows would pass the cap is not allocated at all.
    CHECK(Decoded(Concat(Header(8, 1, 0, 0, 65534, 65534, 65535), Palette256())).ok == 0);
    CHECK(Decoded(Concat(Header(8, 1, 0, 0, 8191, 4096, 8192), Palette256())).ok == 0);
    CHECK(Decoded(Concat(Header(8, 1, 0, 0, 8191, 4095, 8192), Palette256())).ok == 1);  // 32 MiB exactly
}

TEST_CASE("data that ends early decodes what is there and leaves the rest at colour 0")
{
    // 16 colours, 8 x 4 pixels, 4 bytes per line: every line one run and two literals.
    Bytes lines;
    for (int y = 0; y < 4; ++y) {
        Bytes line = { 0xC2, (unsigned char)(0x10 + y), (unsigned char)(0x20 + y), (unsigned char)(0x30 + y) };
        lines = Concat(lines, line);
    }
    Bytes whole = Concat(Header(4, 1, 0, 0, 7, 3, 4), lines);
    Decoded full(whole);
    REQUIRE(full.ok == 1);
    for (size_t cut = 128; cut < whole.size(); ++cut) {
        CAPTURE(cut);
        Decoded part(Bytes(whole.begin(), whole.begin() + cut));
        REQUIRE(part.ok == 1);
        // Pixels in file order: full ones agree with the whole file, the rest are zero.
        size_t consumed = cut - 128;
        size_t lineBytes = consumed / 4 * 4;
        size_t extra = consumed % 4;
        size_t good = lineBytes + (extra < 2 ? 0 : extra);  // a run without its data byte yields nothing
        for (int y = 0; y < 4; ++y) {
            Bytes expected = full.Row(y);
            for (size_t x = 0; x < 4; ++x) {
                if ((size_t)y * 4 + x >= good)
                    expected[x] = 0;
            }
            CHECK(part.Row(y) == expected);
        }
    }

    // 256 colours: the palette and its marker byte are no image data, even when the lines
    // stop before them.
    Bytes shortLines = Concat(Concat(Header(8, 1, 0, 0, 3, 2, 4), Bytes{ 0xC4, 0x99, 0x01, 0x0C }), Palette256());
    Decoded d(shortLines);
    REQUIRE(d.ok == 1);
    CHECK(d.Row(0) == Bytes{ 0x99, 0x99, 0x99, 0x99 });
    CHECK(d.Row(1) == Bytes{ 0x01, 0, 0, 0 });
    CHECK(d.Row(2) == Bytes{ 0, 0, 0, 0 });
    CHECK(memcmp(d.image.palette, Palette256().data(), 768) == 0);
    // Without the marker, the byte before the palette is a pixel like any other.
    Bytes noMarker = Concat(Concat(Header(8, 1, 0, 0, 3, 2, 4), Bytes{ 0xC4, 0x99, 0x01, 0x0B }), Palette256());
    CHECK(Decoded(noMarker).Row(1) == Bytes{ 0x01, 0x0B, 0, 0 });
}
