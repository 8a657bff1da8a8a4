// Finding faces in the font folders and among the installed fonts, and lines
// shaped and drawn from them: kerning, right-to-left runs in visual order,
// control characters, characters only another face has, and how overlapping
// runs combine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/graphics/FontLibrary.h"
#include "framework/graphics/ShapedLine.h"
#include "framework/graphics/TextEngine.h"

namespace emr {
namespace {

namespace fs = std::filesystem;

struct Canvas {
    int Width, Height;
    std::vector<std::uint8_t> Alpha;
    Canvas(int width, int height)
        : Width(width), Height(height), Alpha(static_cast<std::size_t>(width) * height) {}
    std::uint8_t At(int x, int y) const { return Alpha[static_cast<std::size_t>(y) * Width + x]; }
    /// The column range [first, last) of pixels with any coverage.
    std::pair<int, int> InkColumns() const {
        int first = Width, last = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if (At(x, y)) first = std::min(first, x), last = std::max(last, x + 1);
        return {first, last};
    }
};

class ShapedLineTest : public ::testing::Test {
protected:
    TFontLibrary fonts{TFontLibrary::ProgramFolders()};
    TFontFace* sans = fonts.Face("Liberation Sans", false, false, 11);

    TShapedLine Line(const std::string& text, TFontFace* face = nullptr) {
        return TShapedLine(text, {{0, text.size(), face ? face : sans, 0}});
    }
    Canvas Drawn(const TShapedLine& line, int x = 2, int y = 12) {
        Canvas c(line.Width() + 8, 18);
        line.Draw(c.Alpha.data(), c.Width, c.Width, c.Height, x, y);
        return c;
    }
};

TEST_F(ShapedLineTest, FacesComeFromTheKnownFilesOrAScanAndMissingFamiliesAreNull) {
    ASSERT_NE(sans, nullptr);
    EXPECT_EQ(sans->Family(), "Liberation Sans");
    TFontFace* bold = fonts.Face("liberation sans", true, false, 11);
    ASSERT_NE(bold, nullptr);
    EXPECT_TRUE(bold->Bold());
    EXPECT_FALSE(bold->Italic());
    EXPECT_EQ(fonts.Face("Liberation Sans", false, false, 11), sans) << "faces are cached";
    // The CJK family has one style, which serves a bold request too.
    TFontFace* cjkBold = fonts.Face("WenQuanYi Micro Hei", true, false, 13);
    ASSERT_NE(cjkBold, nullptr);
    EXPECT_TRUE(cjkBold->HasChar(U'确'));
    EXPECT_EQ(fonts.Face("No Such Family", false, false, 11), nullptr);

    // A font under a name of its own is found by reading the folder's faces.
    const fs::path folder = fs::path(::testing::TempDir()) / "shaped-line-fonts";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path source = fs::path(TFontLibrary::ProgramFolders().front()) / "LiberationSerif-Italic.ttf";
    ASSERT_TRUE(fs::exists(source));
    fs::copy_file(source, folder / "renamed.ttf");
    std::ofstream(folder / "notes.txt") << "not a font";
    TFontLibrary own({folder.string()});
    TFontFace* serif = own.Face("Liberation Serif", false, false, 12);
    ASSERT_NE(serif, nullptr) << "the only style there is the nearest";
    EXPECT_TRUE(serif->Italic());
    EXPECT_EQ(own.Face("Liberation Sans", false, false, 12), nullptr);
    fs::remove_all(folder);
}

TEST_F(ShapedLineTest, KerningPairsCloseUpAndAdvancesAreWholePixels) {
    // At 40 pixels the pair's kerning is three pixels; at 11 less than one,
    // which the rounding of each advance takes away.
    TFontFace* large = fonts.Face("Liberation Sans", false, false, 40);
    const int a = Line("A", large).Width(), v = Line("V", large).Width();
    EXPECT_EQ(Line("AV", large).Width(), a + v - 3);
    EXPECT_EQ(Line("ab").Width(), Line("a").Width() + Line("b").Width());
    EXPECT_EQ(Line("").Width(), 0);
}

TEST_F(ShapedLineTest, ControlCharactersTakeNoRoomAndDrawNothing) {
    EXPECT_EQ(Line("a\tb").Width(), Line("ab").Width());
    EXPECT_EQ(Line("a\nb\x7f").Width(), Line("ab").Width());
    EXPECT_EQ(Drawn(Line("a\tb")).Alpha, Drawn(Line("ab")).Alpha);
}

TEST_F(ShapedLineTest, RightToLeftTextIsShownInVisualOrder) {
    // Shin then lamed in logical order: in a line they read right to left, so the
    // lamed is drawn first, at the left.
    const std::string shin = "\xD7\xA9", lamed = "\xD7\x9C";
    const TShapedLine word = Line(shin + lamed);
    const int lamedWidth = Line(lamed).Width();
    ASSERT_GT(lamedWidth, 0);
    EXPECT_EQ(word.Width(), lamedWidth + Line(shin).Width());
    const Canvas drawn = Drawn(word, 0);
    const Canvas alone = Drawn(Line(lamed), 0);
    for (int y = 0; y < drawn.Height; ++y)
        for (int x = 0; x < lamedWidth; ++x)
            ASSERT_EQ(drawn.At(x, y), alone.At(x, y)) << x << "," << y;

    // Latin on both sides of a Hebrew word keeps its order.
    const TShapedLine mixed = Line("ab " + shin + lamed + " cd");
    EXPECT_EQ(mixed.Width(), Line("ab ").Width() + word.Width() + Line(" cd").Width());
}

TEST_F(ShapedLineTest, CharactersTheFaceLacksShowItsMissingGlyphAndAnotherFaceCanStandIn) {
    // No folder has an emoji: the face's missing-glyph box shows, taking room.
    const TShapedLine emoji = Line("\xF0\x9F\x98\x80");
    EXPECT_GT(emoji.Width(), 0);
    int left, top, right, bottom;
    EXPECT_TRUE(emoji.InkBox(left, top, right, bottom));

    TFontFace* cjk = fonts.Face("WenQuanYi Micro Hei", false, false, 11);
    ASSERT_NE(cjk, nullptr);
    EXPECT_FALSE(cjk->HasChar(U'ש'));
    TFontFace* stand = fonts.Covering(U'ש', false, false, 11);
    ASSERT_NE(stand, nullptr);
    EXPECT_TRUE(stand->HasChar(U'ש'));
    EXPECT_EQ(stand->PixelSize(), 11);
    EXPECT_EQ(fonts.Covering(0x1F600, false, false, 11), nullptr);
}

TEST_F(ShapedLineTest, InstalledFontsAreAskedOnlyForCharactersNoFolderHas) {
    const char32_t devanagari = U'\u0915', arabic = U'\u0639'; // KA, AIN
    // Off unless asked for: the folders alone have neither script.
    EXPECT_EQ(fonts.Covering(devanagari, false, false, 11), nullptr);
    EXPECT_EQ(fonts.Covering(arabic, false, false, 11), nullptr);

    TFontLibrary withSystem{TFontLibrary::ProgramFolders()};
    withSystem.SetSystemFallback(true);
    ASSERT_NE(withSystem.Face("Liberation Sans", false, false, 11), nullptr);
    ASSERT_NE(withSystem.Covering(U'\u05E9', false, false, 11), nullptr) << "the folders have Hebrew";
    EXPECT_FALSE(withSystem.SystemFontsLoaded()) << "covered text must not load the font configuration";

    TFontFace* ka = withSystem.Covering(devanagari, false, false, 11);
    ASSERT_NE(ka, nullptr);
    EXPECT_TRUE(withSystem.SystemFontsLoaded());
    EXPECT_TRUE(ka->HasChar(devanagari));
    EXPECT_EQ(ka->PixelSize(), 11);
    // The next character of the script comes from the face already found, and a
    // size of its own is a face of its own.
    EXPECT_EQ(withSystem.Covering(U'\u0916', false, false, 11), ka);
    TFontFace* larger = withSystem.Covering(devanagari, false, false, 20);
    ASSERT_NE(larger, nullptr);
    EXPECT_NE(larger, ka);
    EXPECT_EQ(larger->PixelSize(), 20);

    TFontFace* ain = withSystem.Covering(arabic, true, false, 11);
    ASSERT_NE(ain, nullptr);
    EXPECT_TRUE(ain->HasChar(arabic));
    // A character nothing has stays uncovered, asked twice.
    EXPECT_EQ(withSystem.Covering(0x10FFFD, false, false, 11), nullptr);
    EXPECT_EQ(withSystem.Covering(0x10FFFD, false, false, 11), nullptr);
}

TEST_F(ShapedLineTest, ASpanOfAnotherFaceIsShapedWithItAndNoGlyphGoesMissing) {
    TFontLibrary withSystem{TFontLibrary::ProgramFolders()};
    withSystem.SetSystemFallback(true);
    const std::string latin = "ab ", hindi = "\xE0\xA4\xB9\xE0\xA4\xBF"; // HA, vowel sign I
    TFontFace* deva = withSystem.Covering(U'\u0939', false, false, 11);
    ASSERT_NE(deva, nullptr);
    const std::string text = latin + hindi;
    const TShapedLine wrong(text, {{0, text.size(), sans, 0}});
    EXPECT_EQ(wrong.MissingGlyphs(), 2) << "the Latin face shows boxes";
    const TShapedLine split(text, {{0, latin.size(), sans, 0}, {latin.size(), text.size(), deva, 0}});
    EXPECT_EQ(split.MissingGlyphs(), 0);
    EXPECT_EQ(split.Families().size(), 2u);
    // Shaped as Devanagari with that face: KA, VIRAMA and SSA join into one
    // conjunct, narrower than the three shaped apart.
    const std::string ka = "\xE0\xA4\x95", virama = "\xE0\xA5\x8D", ssa = "\xE0\xA4\xB7";
    const auto width = [deva](const std::string& t) {
        return TShapedLine(t, {{0, t.size(), deva, 0}}).Width();
    };
    EXPECT_LT(width(ka + virama + ssa), width(ka) + width(virama) + width(ssa));
}

TEST_F(ShapedLineTest, LoweredSpansAreDrawnLowerAndALaterRunGoesOverAnEarlierOne) {
    const std::string text = "xx";
    const TShapedLine flat(text, {{0, 1, sans, 0}, {1, 2, sans, 0}});
    const TShapedLine lowered(text, {{0, 1, sans, 0}, {1, 2, sans, 3}});
    int l1, t1, r1, b1, l2, t2, r2, b2;
    ASSERT_TRUE(flat.InkBox(l1, t1, r1, b1));
    ASSERT_TRUE(lowered.InkBox(l2, t2, r2, b2));
    EXPECT_EQ(t2, t1);
    EXPECT_EQ(b2, b1 + 3);

    // Two runs over the same pixels: the second goes over the first
    // (s + d * (255 - s) / 255), never past full coverage.
    const TShapedLine one = Line("l");
    Canvas c = Drawn(one, 2);
    const Canvas single = c;
    one.Draw(c.Alpha.data(), c.Width, c.Width, c.Height, 2, 12);
    for (std::size_t i = 0; i < c.Alpha.size(); ++i) {
        const unsigned s = single.Alpha[i];
        unsigned t = s * (255 - s) + 0x80;
        t = (t + (t >> 8)) >> 8;
        ASSERT_EQ(c.Alpha[i], s + t);
    }
    // Drawing is clipped to the buffer.
    Canvas tiny(3, 3);
    one.Draw(tiny.Alpha.data(), tiny.Width, tiny.Width, tiny.Height, -1, 5);
    EXPECT_LE(tiny.InkColumns().second, 3);
}

TEST(TextEngineOutput, ScriptsTheBundledFacesLackComeFromInstalledFonts) {
    // Latin, Chinese, Arabic and Devanagari in one caption: every glyph drawn.
    const std::string text = "Patch \xE8\xA1\xA5\xE4\xB8\x81 \xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A "
                             "\xE0\xA4\xB9\xE0\xA4\xBF\xE0\xA4\x82\xE0\xA4\xA6\xE0\xA5\x80";
    TFont font;
    font.SetName("Tahoma");
    font.SetHeight(-11);
    TTextEngine& engine = TTextEngine::Instance();
    EXPECT_EQ(engine.MissingGlyphs(font, text), 0);
    const std::vector<std::string> families = engine.FamiliesUsed(font, text);
    ASSERT_EQ(families.size(), 4u) << "Latin, CJK and one installed face for each of the other two";
    EXPECT_EQ(families[0], "Liberation Sans");
    EXPECT_EQ(families[1], "WenQuanYi Micro Hei");

    // A joiner the Latin face also has stays with the Devanagari around it, so
    // that the half form of KA is made.
    const std::string halfForm = "\xE0\xA4\x95\xE0\xA5\x8D\xE2\x80\x8D\xE0\xA4\xB7";
    EXPECT_EQ(engine.FamiliesUsed(font, halfForm), std::vector<std::string>{families[3]});
    EXPECT_EQ(engine.MissingGlyphs(font, halfForm), 0);

    // Drawn: the mask's ink reaches from the first letter to the last.
    const std::shared_ptr<const TTextMask> mask = engine.Render(font, text);
    int first = mask->Width, last = 0;
    for (int y = 0; y < mask->Height; ++y)
        for (int x = 0; x < mask->Width; ++x)
            if (mask->Alpha[static_cast<std::size_t>(y) * mask->Width + x])
                first = std::min(first, x), last = std::max(last, x + 1);
    EXPECT_LE(first + mask->OffsetX, 1);
    EXPECT_GE(last + mask->OffsetX, engine.Width(font, text) - 2) << "the Devanagari at the end is drawn";
}

/// FNV-1a over the coverage inside the box of the mask's non-zero pixels, in cell
/// coordinates, with that box: a fingerprint that ignores how much margin a mask has.
std::string Fingerprint(const TTextMask& mask) {
    int x0 = 1 << 20, y0 = 1 << 20, x1 = -(1 << 20), y1 = -(1 << 20);
    for (int y = 0; y < mask.Height; ++y)
        for (int x = 0; x < mask.Width; ++x)
            if (mask.Alpha[static_cast<std::size_t>(y) * mask.Width + x]) {
                x0 = std::min(x0, x + mask.OffsetX), x1 = std::max(x1, x + mask.OffsetX);
                y0 = std::min(y0, y + mask.OffsetY), y1 = std::max(y1, y + mask.OffsetY);
            }
    unsigned long long hash = 1469598103934665603ull;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const int mx = x - mask.OffsetX, my = y - mask.OffsetY;
            unsigned v = 0;
            if (mx >= 0 && my >= 0 && mx < mask.Width && my < mask.Height)
                v = mask.Alpha[static_cast<std::size_t>(my) * mask.Width + mx];
            hash = (hash ^ v) * 1099511628211ull;
        }
    char text[96];
    std::snprintf(text, sizeof text, "%d,%d-%d,%d:%016llx", x0, y0, x1, y1, hash);
    return text;
}

TEST(TextEngineOutput, CaptionsKeepTheirExactPixels) {
    // Captions of the stored layouts in the interface face (with the CJK face
    // standing in, scaled), bold, and in 宋体; with and without the hot-key
    // underline. Any change to hinting, shaping, placement or compositing shows.
    struct Case {
        const char* Name;
        int Height;
        TFontStyles Style;
        const char* Text;
        int Width;
        const char* Plain;
        const char* HotKey;
    };
    const Case cases[] = {
        {"MS Sans Serif", -11, 0, "确定", 26, "0,0-25,12:89774ac31da28540", "0,0-25,12:b0641dc81f5a858a"},
        {"MS Sans Serif", -11, 0, "退出", 26, "0,0-24,12:2df15864e0f87e12", "0,0-24,12:5304c5e0447c097b"},
        {"MS Sans Serif", -11, 0, "File 文件(F)", 61, "0,0-59,12:d23b5690d71a882b",
         "0,0-59,12:d3c0965fb530e012"},
        {"MS Sans Serif", -11, 0, "AVAWATo Ty Yo", 80, "0,2-79,11:b85711c9cbcd91fa",
         "0,2-79,11:a3c6ee627fa9e22f"},
        {"MS Sans Serif", -11, fsBold, "AVAWATo Ty Yo", 83, "0,2-82,11:6b8c60787803d82b",
         "0,2-82,11:6866df850a7e45c3"},
        {"宋体", -12, 0, "电子病历补丁", 72, "1,2-71,13:0ec6484290fc7b60", "0,2-71,14:a7446135fb859a38"},
        {"宋体", -12, 0, "File 文件(F)", 59, "1,2-58,13:117e74f78680cbd5", "0,2-58,14:96528c86efd0d08f"},
    };
    TTextEngine& engine = TTextEngine::Instance();
    for (const Case& c : cases) {
        TFont font;
        font.SetName(c.Name);
        font.SetHeight(c.Height);
        font.SetStyle(c.Style);
        SCOPED_TRACE(std::string(c.Name) + " " + c.Text);
        EXPECT_EQ(engine.Width(font, c.Text), c.Width);
        EXPECT_EQ(Fingerprint(*engine.Render(font, c.Text)), c.Plain);
        EXPECT_EQ(Fingerprint(*engine.Render(font, c.Text, 0, 1)), c.HotKey);
    }
}

} // namespace
} // namespace emr
