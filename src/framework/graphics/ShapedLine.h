#pragma once
// One line of text itemised and shaped by Pango without a PangoLayout.
#include <pango/pangocairo.h>

#include <string>
#include <vector>

namespace emr {

/// A single line of text as runs of glyphs in visual order, each in the font
/// chosen for it and raised by its rise attribute. A PangoLayout would give the
/// same runs, but it also works out line heights from every run font's metrics,
/// and Pango's font metrics lay out a sample text in each font: at start-up that
/// loaded the fallback CJK face's outlines and an index of all its glyph names.
class TShapedLine {
public:
    /// Shapes `utf8` (valid UTF-8) in `desc` with the attributes of `attrs` (may be
    /// null). Newlines are shaped as they are; the line never breaks.
    TShapedLine(PangoContext* context, const PangoFontDescription* desc, const std::string& utf8,
                PangoAttrList* attrs);
    ~TShapedLine();
    TShapedLine(TShapedLine&& other) noexcept;
    TShapedLine& operator=(TShapedLine&& other) noexcept;
    TShapedLine(const TShapedLine&) = delete;
    TShapedLine& operator=(const TShapedLine&) = delete;

    /// The advance of the whole line, in Pango units.
    int Width() const { return width_; }
    /// The ink (when asked for: it loads glyph outlines) and logical extents, in
    /// Pango units with y measured from the baseline, as a layout line gives them.
    void Extents(PangoRectangle* ink, PangoRectangle* logical) const;
    /// Draws the glyphs with the current point of `cr` as the start of the baseline.
    void Show(cairo_t* cr) const;
    /// The family of each run's font, first use first, without repeats.
    std::vector<std::string> Families() const;

private:
    struct Run {
        PangoFont* Font = nullptr;
        PangoGlyphString* Glyphs = nullptr;
        int X = 0;    // start of the run along the line
        int Rise = 0; // how far the run sits above the baseline
    };
    void Release();
    /// A run's box moved from the run's origin to the line's.
    static PangoRectangle Placed(PangoRectangle box, const Run& run);

    std::vector<Run> runs_;
    int width_ = 0;
};

} // namespace emr
