#pragma once
// One line of text itemised, ordered and shaped with HarfBuzz.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/graphics/FontFace.h"

namespace emr {

/// A byte range of the text drawn with one face, lowered by `Drop` pixels.
struct TTextSpan {
    std::size_t Begin = 0;
    std::size_t End = 0;
    TFontFace* Face = nullptr;
    int Drop = 0;
};

/// A single line as runs of glyphs in visual order. The text is cut into runs
/// where the face, the script or the writing direction changes (characters of no
/// script of their own, such as spaces and brackets, join their neighbours), the
/// runs are put in visual order, and each is shaped on its own with the whole
/// line as context. Advances and offsets are whole pixels. Control characters
/// take no room and draw nothing; the line never breaks.
class TShapedLine {
public:
    TShapedLine() = default;
    /// `utf8` must be valid UTF-8; the spans must cover it in order.
    TShapedLine(std::string_view utf8, const std::vector<TTextSpan>& spans);

    /// The advance of the whole line in pixels.
    int Width() const { return width_; }
    /// The union of the glyphs' hinted outline boxes in whole pixels, with the
    /// start of the baseline at (0, 0) and y growing downward; false when no
    /// glyph has ink.
    bool InkBox(int& left, int& top, int& right, int& bottom) const;
    /// Paints the coverage into an 8-bit `alpha` buffer (`stride` bytes a row,
    /// `width` x `height`) with the start of the baseline at (x, y). A run goes
    /// over what lies below it; overlapping glyphs of one run add up.
    void Draw(std::uint8_t* alpha, int stride, int width, int height, int x, int y) const;
    /// The family of each run's face, first use first, without repeats.
    std::vector<std::string> Families() const;
    /// How many glyphs are the face's missing-glyph box.
    int MissingGlyphs() const;

private:
    struct PlacedGlyph {
        unsigned Id = 0;
        int X = 0; // origin from the start of the line, pixels
        int Y = 0; // origin below the baseline, pixels
    };
    struct Run {
        TFontFace* Face = nullptr;
        std::vector<PlacedGlyph> Glyphs;
    };
    std::vector<Run> runs_;
    int width_ = 0;
};

} // namespace emr
