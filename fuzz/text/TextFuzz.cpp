// Feeds arbitrary bytes to the text engine as a line of text: measuring, the
// bounds of every character and drawing (with a hot key) must never crash or
// read out of bounds, and must agree with each other: the mask holds the line's
// advance, and a character's box lies within the line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/graphics/Font.h"
#include "framework/graphics/TextEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte picks the font; the rest is the text.
    static const char* const kNames[] = {"Tahoma", "宋体", "Times New Roman", "Courier New"};
    emr::TFont font;
    font.SetName(kNames[data[0] & 3]);
    font.SetHeight((data[0] & 4) ? -11 : 16);
    font.SetStyle(static_cast<emr::TFontStyles>((data[0] >> 3) & 0x0F));
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    emr::TTextEngine& engine = emr::TTextEngine::Instance();
    const int width = engine.Width(font, text);
    if (width < 0) __builtin_trap();
    for (std::size_t at = 0; at < text.size(); at += 1 + text.size() / 8) {
        int x = 0, w = 0;
        engine.CharBounds(font, text, static_cast<int>(at), x, w);
    }
    auto mask = engine.Render(font, text, text.empty() ? -1 : 0, 1);
    if (mask->Alpha.size() != static_cast<std::size_t>(mask->Width) * mask->Height) __builtin_trap();
    if (mask->OffsetX > 0 || mask->OffsetX + mask->Width < width) __builtin_trap();
    return 0;
}
