#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "framework/core/Events.h"
#include "framework/core/Geometry.h"
#include "framework/core/Object.h"
#include "framework/graphics/Brush.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Pen.h"

namespace emr {

class TBitmap;

/// Ternary raster operations for CopyRect: how source S, destination D and the
/// brush P combine. Bits 16..23 hold the truth table.
using TCopyMode = std::uint32_t;
inline constexpr TCopyMode cmBlackness = 0x00000042;
inline constexpr TCopyMode cmDstInvert = 0x00550009;
inline constexpr TCopyMode cmMergeCopy = 0x00C000CA;
inline constexpr TCopyMode cmMergePaint = 0x00BB0226;
inline constexpr TCopyMode cmNotSrcCopy = 0x00330008;
inline constexpr TCopyMode cmNotSrcErase = 0x001100A6;
inline constexpr TCopyMode cmPatCopy = 0x00F00021;
inline constexpr TCopyMode cmPatInvert = 0x005A0049;
inline constexpr TCopyMode cmPatPaint = 0x00FB0A09;
inline constexpr TCopyMode cmSrcAnd = 0x008800C6;
inline constexpr TCopyMode cmSrcCopy = 0x00CC0020;
inline constexpr TCopyMode cmSrcErase = 0x00440328;
inline constexpr TCopyMode cmSrcInvert = 0x00660046;
inline constexpr TCopyMode cmSrcPaint = 0x00EE0086;
inline constexpr TCopyMode cmWhiteness = 0x00FF0062;
inline constexpr TCopyMode SRCCOPY = cmSrcCopy;
inline constexpr TCopyMode SRCINVERT = cmSrcInvert;
inline constexpr TCopyMode SRCAND = cmSrcAnd;
inline constexpr TCopyMode SRCPAINT = cmSrcPaint;
inline constexpr TCopyMode NOTSRCCOPY = cmNotSrcCopy;
inline constexpr TCopyMode DSTINVERT = cmDstInvert;
inline constexpr TCopyMode BLACKNESS = cmBlackness;
inline constexpr TCopyMode WHITENESS = cmWhiteness;

// DrawText flags.
inline constexpr unsigned DT_TOP = 0x0000;
inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_CENTER = 0x0001;
inline constexpr unsigned DT_RIGHT = 0x0002;
inline constexpr unsigned DT_VCENTER = 0x0004;
inline constexpr unsigned DT_BOTTOM = 0x0008;
inline constexpr unsigned DT_WORDBREAK = 0x0010;
inline constexpr unsigned DT_SINGLELINE = 0x0020;
inline constexpr unsigned DT_EXPANDTABS = 0x0040;
inline constexpr unsigned DT_NOCLIP = 0x0100;
inline constexpr unsigned DT_CALCRECT = 0x0400;
inline constexpr unsigned DT_NOPREFIX = 0x0800;
inline constexpr unsigned DT_END_ELLIPSIS = 0x8000;
inline constexpr unsigned DT_HIDEPREFIX = 0x00100000;

/// Where a filled arrow points.
enum class TArrowDirection { adLeft, adRight, adUp, adDown };

/// Text with its '&' markers resolved: "&&" is a literal '&', a single '&' marks
/// the next character as the hot key (the last marker wins).
struct TPrefixedText {
    std::string Text;
    /// Byte offset and length in Text of the hot-key character; Offset is -1 for none.
    int HotkeyOffset = -1;
    int HotkeyLength = 0;
};
TPrefixedText ParsePrefixedText(std::string_view text);
/// Removes the hot-key markers: "&&" becomes "&", a single '&' is dropped.
std::string StripHotkey(std::string_view text);

/// A drawing surface with a current pen, brush and font, following GDI's pixel
/// rules: shapes fill and outline up to but not including their right and bottom
/// coordinates, LineTo leaves its end pixel unpainted, text is placed by the top-left
/// corner of its cell.
///
/// The canvas draws on a 32-bit buffer of 0x00RRGGBB pixels (the layout cairo calls
/// RGB24), either a bitmap's own or one handed in from outside. All coordinates are
/// logical: the origin is added to reach the buffer, and nothing is painted outside
/// the clip rectangle.
class TCanvas : public TPersistent {
    EMR_CLASS(TCanvas)
public:
    /// A canvas without a surface: it measures text, and drawing does nothing.
    TCanvas();
    /// A canvas on an outside buffer; stride is in pixels.
    TCanvas(std::uint32_t* pixels, int width, int height, int stride);
    ~TCanvas() override;

    /// Re-targets the canvas at another buffer (null for none); origin and clip reset.
    void SetBuffer(std::uint32_t* pixels, int width, int height, int stride);
    std::uint32_t* Pixels() { return pixels_; }
    const std::uint32_t* Pixels() const { return pixels_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    /// Pixels from one row to the next.
    int Stride() const { return stride_; }

    TPen* Pen() { return pen_.get(); }
    TBrush* Brush() { return brush_.get(); }
    TFont* Font() { return font_.get(); }
    const TPen* Pen() const { return pen_.get(); }
    const TBrush* Brush() const { return brush_.get(); }
    const TFont* Font() const { return font_.get(); }
    /// Copy the settings of another pen, brush or font.
    void SetPen(const TPen* pen) { pen_->Assign(pen); }
    void SetBrush(const TBrush* brush) { brush_->Assign(brush); }
    void SetFont(const TFont* font) { font_->Assign(font); }
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }

    /// Device pixels per logical unit (1.0 at 96 dpi). Coordinates, the origin and
    /// the clip rectangle stay logical; edges, not sizes, are rounded to the buffer's
    /// device pixels, so shapes that meet in logical units meet on the device.
    double Scale() const { return scale_; }
    void SetScale(double scale) { scale_ = scale; }
    /// Non-zero for a right-to-left layout: logical x runs leftwards from the right
    /// end of a span of this many units that starts at the origin. Text, bitmaps and
    /// gradients keep their own orientation.
    int MirrorWidth() const { return mirrorWidth_; }
    void SetMirrorWidth(int width) { mirrorWidth_ = width; }
    /// The device rectangle between the edges of a logical rectangle (normalised).
    TRect DeviceRect(const TRect& rect) const;
    /// A canvas on the same buffer at scale 1.0, unmirrored, with its origin at the
    /// buffer's corner, this canvas's clip, and copies of its pen, brush, font and
    /// copy mode; what it draws is reported through this canvas's OnChange. Painters
    /// whose result is worked out per device pixel (gradients) draw through it on the
    /// rectangle DeviceRect gives, so that a finer device gets finer steps.
    std::unique_ptr<TCanvas> DeviceCanvas();

    /// Where logical (0, 0) lies, in logical units from the buffer's top-left corner
    /// (device pixels at scale 1.0).
    TPoint Origin() const { return origin_; }
    void SetOrigin(TPoint origin) { origin_ = origin; }
    /// The clip rectangle in logical coordinates.
    /// At a scale other than 1.0 it is the smallest one that covers the device clip.
    TRect ClipRect() const;
    /// Replaces the clip rectangle (logical coordinates); it never reaches past the buffer.
    void SetClipRect(const TRect& rect);
    /// Narrows the clip rectangle to its overlap with `rect` (logical coordinates).
    void IntersectClipRect(const TRect& rect);
    /// Clips to the whole buffer again.
    void ResetClip();

    TPoint PenPos() const { return penPos_; }
    void SetPenPos(TPoint pos) { penPos_ = pos; }
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    /// Draws from the pen position to (x, y) without painting (x, y) itself.
    void LineTo(int x, int y);
    /// Joins the points with lines; the last point is not painted and the pen position stays.
    void Polyline(std::span<const TPoint> points);
    /// Fills the closed polygon (alternate rule) and outlines it.
    void Polygon(std::span<const TPoint> points);

    /// Fills with the brush and outlines with the pen, from (x1, y1) up to but not
    /// including (x2, y2). Without a pen the filled area shrinks by one pixel at the
    /// right and bottom.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    /// Rectangle with corners rounded by quarter ellipses of width w and height h.
    void RoundRect(int x1, int y1, int x2, int y2, int w, int h);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    /// Fills the rectangle with the brush alone (nothing with a clear brush).
    void FillRect(const TRect& rect);
    /// A one-pixel frame in the brush colour.
    void FrameRect(const TRect& rect);
    /// Copies the top row of `rect`, as far as it lies in the clip, over the rest of
    /// the rect: painters of patterns that only vary along a row paint one row.
    void RepeatTopRow(const TRect& rect);
    /// A solid arrow in the brush colour filling `rect`: its base is the side
    /// opposite `direction`, and each step towards the tip is one pixel shorter at
    /// both ends (a 4 x 7 right arrow has columns 7, 5, 3 and 1 tall). At a device
    /// scale the steps are worked out on the device pixels, so the arrow stays a
    /// clean triangle; in a mirrored span left and right swap like any shape.
    void FillArrow(const TRect& rect, TArrowDirection direction);
    /// A dotted frame drawn by inverting; drawing it twice restores the pixels.
    void DrawFocusRect(const TRect& rect);

    /// The colour of a pixel, or clNone outside the buffer.
    TColor Pixels(int x, int y) const;
    /// Sets one pixel (clipped); clNone paints nothing.
    void SetPixel(int x, int y, TColor color);

    /// Draws the bitmap at (x, y); a transparent bitmap leaves the pixels of its
    /// transparent colour as they were.
    void Draw(int x, int y, const TBitmap* bitmap);
    /// Draws w x h pixels (0x00RRGGBB rows of w) at (x, y), skipping those whose mask
    /// byte is 0 (no mask draws them all).
    void DrawMasked(int x, int y, const std::uint32_t* pixels, const std::uint8_t* mask, int w, int h);
    /// Draws the bitmap scaled into the rectangle (nearest pixel), honouring transparency.
    void StretchDraw(const TRect& dest, const TBitmap* bitmap);
    /// Copies `source` of another canvas (or this one) to `dest`, scaled when the sizes
    /// differ, combined with the destination by CopyMode.
    void CopyRect(const TRect& dest, const TCanvas* canvas, const TRect& source);
    /// Copies `source` of the bitmap to `dest`, painting the brush colour wherever the
    /// bitmap has `transparentColor`.
    void BrushCopy(const TRect& dest, const TBitmap* bitmap, const TRect& source, TColor transparentColor);

    // Text is measured in logical units from the font as set, whatever the scale, so
    // that layout comes out the same at every scale; drawing uses the font at its size
    // for the scale (height x scale) at the scaled position, which fits the measured
    // box to within a device pixel or two. In a mirrored span the box is mirrored and
    // the glyphs still run left to right inside it.

    /// Writes one line of text with the top-left of its cell at (x, y) (turned about
    /// that point by the font's orientation) and moves the pen position past it. A
    /// solid brush fills the text cell first.
    void TextOut(int x, int y, std::string_view text);
    /// Like TextOut, clipped to `rect`, which a solid brush fills first.
    void TextRect(const TRect& rect, int x, int y, std::string_view text);
    int TextWidth(std::string_view text) const;
    /// The line height of the font (its primary face's ascent plus descent).
    int TextHeight(std::string_view text) const;
    TSize TextExtent(std::string_view text) const;
    /// Formats text in the rectangle by the DT_ flags and returns the height of the
    /// text. With DT_CALCRECT nothing is drawn and `rect` receives the size the text
    /// needs (Right and Bottom move).
    int DrawText(std::string_view text, TRect& rect, unsigned flags);

    /// Fired after each drawing operation (a bitmap listens to its canvas).
    TNotifyEvent OnChange;

private:
    friend class TCanvasState;
    friend class TVectorGraphics;

    bool CanDraw() const { return pixels_ != nullptr && !clip_.Empty(); }
    /// Whether logical coordinates need the scale or mirror transform; without it
    /// the origin alone leads to the buffer, on the direct path drawing always took.
    bool Transformed() const { return scale_ != 1.0 || mirrorWidth_ != 0; }
    /// The device column of a logical vertical edge and the device row of a logical
    /// horizontal edge: mirrored, moved by the origin, scaled, rounded halves to even.
    int EdgeX(int x) const;
    int EdgeY(int y) const;
    /// Device pixels across a line `units` logical pixels wide: floor(units x scale),
    /// at least one, so that one-pixel lines stay crisp at fractional scales.
    int DeviceLineWidth(int units) const;
    /// Where a line of `width` device pixels through logical pixel `p` is stamped:
    /// the logical-left, top device corner of the pixel (the right one when mirrored).
    TPoint LineAnchor(TPoint p, int width) const;
    std::uint32_t* PixelAt(int deviceX, int deviceY) const {
        return pixels_ + static_cast<std::ptrdiff_t>(deviceY) * stride_ + deviceX;
    }
    void Changed();
    /// Writes one device pixel (inside the clip) with the pen mode.
    void PenPixel(int dx, int dy, std::uint32_t penPixel);
    void FillDeviceRect(const TRect& deviceRect, std::uint32_t pixel);
    /// A frame `width` device pixels wide just inside the device rectangle.
    void FillDeviceFrame(const TRect& deviceRect, int width, std::uint32_t pixel);
    void HLine(int y, int x1, int x2, std::uint32_t pixel);
    /// A line of the current pen between logical points (the end pixel left out).
    void StrokeLine(TPoint from, TPoint to, unsigned& dashPhase);
    /// A line between device points stamped `width` pixels wide (square stamps, whose
    /// last one ends where the end point's stamp would start, or the pen's round
    /// ones); `dashUnit` device steps make one step of the dash pattern.
    void StrokeDevice(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, int width,
                      bool square, std::span<const int> pattern, double dashUnit, unsigned& dashPhase);
    /// Fills the polygon through device corner points by the alternate rule.
    void FillPolygon(std::span<const TPoint> corners, std::uint32_t pixel);
    /// Fills and frames a shape given by its row spans (see Canvas.cpp).
    void PaintShape(int x1, int y1, int x2, int y2, int cornerW, int cornerH);
    /// PaintShape on device coordinates: the pen `penWidth` wide reaching `lo` pixels
    /// out at the left and top and `hi` at the right and bottom.
    void PaintDeviceShape(int x1, int y1, int x2, int y2, int cw, int ch, int penWidth, int lo, int hi,
                          std::span<const int> dashes);
    /// Text drawing shared by TextOut, TextRect and DrawText (device clip already set).
    void PaintTextLine(int x, int y, std::string_view text, int hotkeyOffset, int hotkeyLength,
                       const TRect& clip, bool opaque);

    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    TPoint origin_;
    double scale_ = 1.0;
    int mirrorWidth_ = 0;
    TRect clip_; // device coordinates
    TPoint penPos_;
    TCopyMode copyMode_ = cmSrcCopy;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TFont> font_;
};

/// Saves a canvas's origin, clip, scale, mirror span, pen position, copy mode, pen,
/// brush and font, and puts them back when it goes out of scope.
class TCanvasState {
public:
    explicit TCanvasState(TCanvas& canvas);
    ~TCanvasState();
    TCanvasState(const TCanvasState&) = delete;
    TCanvasState& operator=(const TCanvasState&) = delete;

private:
    TCanvas& canvas_;
    TPoint origin_;
    TRect clip_;
    double scale_;
    int mirrorWidth_;
    TPoint penPos_;
    TCopyMode copyMode_;
    TPen pen_;
    TBrush brush_;
    TFont font_;
};

} // namespace emr
