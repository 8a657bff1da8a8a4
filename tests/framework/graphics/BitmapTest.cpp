// Bitmaps: BMP round trips at every depth, refusal of every kind of bad file, stored
// data forms, pictures and image lists.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "framework/core/Exception.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/BmpCodec.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/ImageList.h"
#include "framework/graphics/Picture.h"

namespace emr {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

/// A small bitmap whose pixels use `colors` in a pattern.
void Sample(TBitmap& b, int w, int h, const std::vector<TColor>& colors) {
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.ScanLine(y)[x] = ColorToPixel(colors[(x * 3 + y) % colors.size()]);
}

void ExpectSamePixels(const TBitmap& a, const TBitmap& b) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
}

/// Decoding `data` must fail with a message that mentions `what`.
void ExpectRefused(const Bytes& data, const std::string& what) {
    TBitmap b(2, 2);
    b.ScanLine(0)[0] = 0x123456;
    try {
        b.LoadFromBmp(data);
        FAIL() << "accepted a bad file, expected: " << what;
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find(what), std::string::npos) << e.what();
    }
    // The bitmap is left as it was.
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.ScanLine(0)[0], 0x123456u);
}

TEST(BmpFiles, RoundTripAtEveryDepth) {
    const std::vector<TColor> two = {clBlack, clWhite};
    const std::vector<TColor> few = {clRed, clLime, clBlue, clYellow, clNavy};
    const std::vector<TColor> many = {RGB(1, 2, 3), RGB(200, 100, 50), RGB(9, 250, 7), clFuchsia, clTeal,
                                      clGray};
    struct Case {
        TPixelFormat Format;
        const std::vector<TColor>& Colors;
        int Bits;
    } cases[] = {
        {TPixelFormat::pf1bit, two, 1},    {TPixelFormat::pf4bit, few, 4},    {TPixelFormat::pf8bit, many, 8},
        {TPixelFormat::pf24bit, many, 24}, {TPixelFormat::pf32bit, many, 32},
    };
    for (const Case& c : cases) {
        // Odd widths exercise the row padding.
        TBitmap original;
        Sample(original, 7, 3, c.Colors);
        original.SetPixelFormat(c.Format);
        Bytes file = original.SaveToBmp();
        EXPECT_EQ(file[28], c.Bits);
        TBitmap back;
        back.LoadFromBmp(file);
        EXPECT_EQ(back.PixelFormat(), c.Format);
        ExpectSamePixels(original, back);
        // A loaded indexed file keeps its colour table when saved again.
        EXPECT_EQ(back.SaveToBmp(), file);
    }
    // 16 bits keep five (or six) bits per channel.
    TBitmap original;
    Sample(original, 3, 2, {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), clWhite});
    for (TPixelFormat format : {TPixelFormat::pf15bit, TPixelFormat::pf16bit}) {
        original.SetPixelFormat(format);
        TBitmap back;
        back.LoadFromBmp(original.SaveToBmp());
        EXPECT_EQ(back.PixelFormat(), format);
        ExpectSamePixels(original, back);
    }
}

TEST(BmpFiles, ReadsTopDownCoreHeaderAndBitFieldFiles) {
    TBitmap b;
    Sample(b, 2, 2, {clRed, clBlue, clLime});
    Bytes file = b.SaveToBmp(); // 24 bits, bottom-up
    // The same pixels stored top-down: negative height and rows reversed.
    Bytes topDown = file;
    Put32(topDown, 22, static_cast<std::uint32_t>(-2));
    std::size_t off = 54, row = 8;
    std::memcpy(&topDown[off], &file[off + row], row);
    std::memcpy(&topDown[off + row], &file[off], row);
    TBitmap t;
    t.LoadFromBmp(topDown);
    ExpectSamePixels(b, t);

    // A 12-byte header with 3-byte palette entries.
    Bytes core = {'B',  'M',
                  0,    0,
                  0,    0,
                  0,    0,
                  0,    0,
                  32,   0,
                  0,    0,
                  12,   0,
                  0,    0,
                  2,    0,
                  1,    0,
                  1,    0,
                  1,    0,
                  0,    0,
                  255,  /* index 0: red */ 255,
                  0,    0 /* index 1: blue */,
                  0x40, 0,
                  0,    0};
    TBitmap c;
    c.LoadFromBmp(core);
    EXPECT_EQ(c.PixelFormat(), TPixelFormat::pf1bit);
    EXPECT_EQ(c.Pixel(0, 0), clRed);
    EXPECT_EQ(c.Pixel(1, 0), clBlue);

    // 32 bits with bit fields in an unusual order (blue in the high byte).
    Bytes fields(14 + 40 + 12 + 4, 0);
    fields[0] = 'B';
    fields[1] = 'M';
    Put32(fields, 10, 66);
    Put32(fields, 14, 40);
    Put32(fields, 18, 1);
    Put32(fields, 22, 1);
    fields[26] = 1;
    fields[28] = 32;
    Put32(fields, 30, 3);
    Put32(fields, 54, 0x000000FF);
    Put32(fields, 58, 0x0000FF00);
    Put32(fields, 62, 0xFF000000);
    Put32(fields, 66, 0x80004020);
    TBitmap f;
    f.LoadFromBmp(fields);
    EXPECT_EQ(f.Pixel(0, 0), RGB(0x20, 0x40, 0x80));
}

TEST(BmpFiles, RefusesEveryKindOfBadInput) {
    TBitmap good;
    Sample(good, 4, 2, {clRed, clBlue});
    good.SetPixelFormat(TPixelFormat::pf8bit);
    const Bytes file = good.SaveToBmp();

    ExpectRefused({}, "no BM signature");
    ExpectRefused({'B', 'M', 1, 2}, "truncated");
    Bytes b = file;
    b[0] = 'P';
    ExpectRefused(b, "no BM signature");
    b = file;
    b.resize(30);
    ExpectRefused(b, "truncated");
    b = file;
    b.resize(b.size() - 1);
    ExpectRefused(b, "pixel data is truncated");
    b = file;
    Put32(b, 14, 41);
    ExpectRefused(b, "unsupported header size 41");
    b = file;
    Put32(b, 18, 0);
    ExpectRefused(b, "invalid width 0");
    b = file;
    Put32(b, 18, static_cast<std::uint32_t>(-5));
    ExpectRefused(b, "invalid width -5");
    b = file;
    Put32(b, 22, 0);
    ExpectRefused(b, "invalid height 0");
    b = file;
    Put32(b, 22, 0x80000000u);
    ExpectRefused(b, "invalid height");
    // Absurd sizes are refused before anything is allocated for them.
    b = file;
    Put32(b, 18, 100000);
    Put32(b, 22, 100000);
    ExpectRefused(b, "too large (100000 x 100000)");
    b = file;
    Put32(b, 18, 30000);
    Put32(b, 22, 30000);
    ExpectRefused(b, "too large");
    // Within the limits but claiming more rows than the file holds.
    b = file;
    Put32(b, 18, 4000);
    Put32(b, 22, 4000);
    ExpectRefused(b, "pixel data is truncated");
    b = file;
    b[28] = 7;
    ExpectRefused(b, "unsupported bit depth 7");
    b = file;
    Put32(b, 30, 1);
    ExpectRefused(b, "run-length compressed bitmaps are not supported");
    b = file;
    Put32(b, 30, 4);
    ExpectRefused(b, "unsupported compression 4");
    b = file;
    Put32(b, 30, 3);
    ExpectRefused(b, "bit fields need 16 or 32 bits");
    b = file;
    Put32(b, 46, 300);
    ExpectRefused(b, "palette of 300 colours is too large");
    b = file;
    Put32(b, 10, 20);
    ExpectRefused(b, "overlaps the header");
    b = file;
    Put32(b, 10, 0xFFFFFFF0u);
    ExpectRefused(b, "pixel data is truncated");
    // A pixel that names a colour the table does not have.
    b = file;
    std::uint32_t offBits = b[10] | (b[11] << 8);
    b[offBits] = 200;
    ExpectRefused(b, "palette index 200 out of range (2 colours)");
}

TEST(BmpFiles, StoredDataFormsAndFiles) {
    TBitmap b;
    Sample(b, 3, 3, {clRed, clGreen});
    Bytes data = b.Data();
    ASSERT_GE(data.size(), 2u);
    EXPECT_EQ(data[0], 'B');

    TBitmap plain;
    plain.SetData(data);
    ExpectSamePixels(b, plain);

    // The length-prefixed form: four bytes of length, then the file.
    Bytes prefixed = {0, 0, 0, 0};
    Put32(prefixed, 0, static_cast<std::uint32_t>(data.size()));
    prefixed.insert(prefixed.end(), data.begin(), data.end());
    TBitmap viaPrefix;
    viaPrefix.SetData(prefixed);
    ExpectSamePixels(b, viaPrefix);
    Put32(prefixed, 0, static_cast<std::uint32_t>(data.size() + 10));
    EXPECT_THROW(viaPrefix.SetData(prefixed), Exception);

    // An empty property empties the bitmap.
    viaPrefix.SetData({});
    EXPECT_TRUE(viaPrefix.Empty());
    EXPECT_TRUE(viaPrefix.Data().empty());

    auto dir = std::filesystem::temp_directory_path() / "emr_graphics_test";
    std::filesystem::create_directories(dir);
    b.SaveToFile((dir / "b.bmp").string());
    TBitmap fromFile;
    fromFile.LoadFromFile((dir / "b.bmp").string());
    ExpectSamePixels(b, fromFile);
    EXPECT_THROW(fromFile.LoadFromFile((dir / "missing.bmp").string()), Exception);

    b.SavePng((dir / "b.png").string());
    {
        // Closed before the folder goes: Windows removes no open file.
        std::ifstream png(dir / "b.png", std::ios::binary);
        char signature[8] = {};
        png.read(signature, 8);
        EXPECT_EQ(std::memcmp(signature, "\x89PNG\r\n\x1a\n", 8), 0);
    }
    std::filesystem::remove_all(dir);
}

TEST(Bitmaps, SizingAssignAndChangeNotification) {
    TBitmap b;
    Sample(b, 2, 2, {clRed});
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.SetSize(3, 1); // keeps what still fits, new pixels white
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(b.Pixel(2, 0), clWhite);
    EXPECT_EQ(changes, 1);
    b.SetSize(3, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(b.SetSize(-1, 5), Exception);
    EXPECT_THROW(b.SetSize(100000, 100000), Exception);
    EXPECT_EQ(b.Width(), 3);

    // The canvas follows the bitmap's buffer through resizes.
    b.SetSize(10, 10);
    b.Canvas()->SetPixel(9, 9, clBlue);
    EXPECT_EQ(b.Pixel(9, 9), clBlue);

    TBitmap copy;
    b.SetTransparent(true);
    copy.Assign(&b);
    ExpectSamePixels(b, copy);
    EXPECT_TRUE(copy.Transparent());
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(copy.TransparentColor(), clNone);
    EXPECT_THROW(b.ScanLine(10), Exception);

    TFont font;
    EXPECT_THROW(copy.Assign(&font), Exception);
}

TEST(Pictures, HoldACopiedBitmapAndReadTaggedData) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(picture.Graphic(), nullptr);
    TBitmap b;
    Sample(b, 4, 2, {clRed, clBlue});
    picture.Assign(&b);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_NE(picture.Graphic(), &b);
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(changes, 1);
    picture.Bitmap()->Canvas()->SetPixel(0, 0, clLime); // drawing on it notifies the owner
    EXPECT_EQ(changes, 2);

    Bytes tagged = {7, 'T', 'B', 'i', 't', 'm', 'a', 'p'};
    Bytes file = b.Data();
    tagged.insert(tagged.end(), file.begin(), file.end());
    TPicture read;
    read.SetData(tagged);
    ExpectSamePixels(b, *read.Graphic());
    EXPECT_EQ(read.Data(), file);
    Bytes other = {4, 'T', 'P', 'n', 'g', 1, 2};
    EXPECT_THROW(read.SetData(other), Exception);
    EXPECT_THROW(read.SetData(Bytes{9, 'T'}), Exception);
    ExpectSamePixels(b, *read.Graphic()); // unchanged by the failures

    TBitmap out;
    out.Assign(&read);
    ExpectSamePixels(b, out);
    read.Assign(nullptr);
    EXPECT_EQ(read.Graphic(), nullptr);
}

TEST(ImageLists, AddStripsMasksAndDrawEnabledOrGreyed) {
    TImageList list(nullptr);
    list.SetWidth(2);
    list.SetHeight(2);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    // A strip of two 2 x 2 images; magenta is transparent.
    TBitmap strip(4, 2);
    const std::uint32_t m = ColorToPixel(clFuchsia), r = ColorToPixel(clRed), w = ColorToPixel(clWhite);
    std::uint32_t rows[2][4] = {{r, m, w, r}, {m, r, r, m}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            strip.ScanLine(y)[x] = rows[y][x];
    EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(changes, 1);

    TBitmap target(5, 4);
    TCanvas* c = target.Canvas();
    c->Brush()->SetColor(clGreen);
    c->FillRect({0, 0, 5, 4});
    list.Draw(c, 1, 1, 0);
    EXPECT_EQ(target.Pixel(1, 1), clRed);
    EXPECT_EQ(target.Pixel(2, 1), clGreen); // transparent
    EXPECT_EQ(target.Pixel(2, 2), clRed);

    // Greyed: ink in the highlight colour one pixel down-right, then in the shadow colour.
    c->FillRect({0, 0, 5, 4});
    list.Draw(c, 1, 1, 1, false);
    EXPECT_EQ(target.Pixel(1, 1), clGreen);                 // white is not ink
    EXPECT_EQ(target.Pixel(2, 1), ColorToRGB(clBtnShadow)); // red ink
    EXPECT_EQ(target.Pixel(1, 2), ColorToRGB(clBtnShadow));
    EXPECT_EQ(target.Pixel(3, 2), ColorToRGB(clBtnHighlight)); // relief of (2, 1)
    EXPECT_EQ(target.Pixel(2, 3), ColorToRGB(clBtnHighlight)); // relief of (1, 2)
    EXPECT_EQ(target.Pixel(2, 2), clGreen);

    // A mask bitmap: white marks transparent pixels.
    TBitmap image(2, 2), mask(2, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            image.ScanLine(y)[x] = ColorToPixel(clBlue);
            mask.ScanLine(y)[x] = x == y ? 0 : ColorToPixel(clWhite);
        }
    EXPECT_EQ(list.Add(&image, &mask), 2);
    c->FillRect({0, 0, 5, 4});
    list.Draw(c, 0, 0, 2);
    EXPECT_EQ(target.Pixel(0, 0), clBlue);
    EXPECT_EQ(target.Pixel(1, 0), clGreen);

    TBitmap got;
    list.GetBitmap(0, &got);
    EXPECT_EQ(got.Pixel(0, 0), clRed);
    EXPECT_EQ(got.Pixel(1, 0), clWhite);
    EXPECT_THROW(list.GetBitmap(7, &got), Exception);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 2);
    list.SetWidth(16); // a new size empties the list
    EXPECT_EQ(list.Count(), 0);
    list.Draw(c, 0, 0, 5); // out of range: nothing
}

} // namespace
} // namespace emr
