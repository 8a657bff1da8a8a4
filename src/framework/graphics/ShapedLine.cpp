#include "framework/graphics/ShapedLine.h"

#include <algorithm>
#include <utility>

namespace emr {

namespace {

/// The item's rise attribute, 0 without one.
int RiseOf(const PangoItem* item) {
    for (GSList* l = item->analysis.extra_attrs; l; l = l->next) {
        const auto* attr = static_cast<const PangoAttribute*>(l->data);
        if (attr->klass->type == PANGO_ATTR_RISE) return reinterpret_cast<const PangoAttrInt*>(attr)->value;
    }
    return 0;
}

/// Widens `box` to take in `other`.
void Grow(PangoRectangle& box, const PangoRectangle& other) {
    const int left = std::min(box.x, other.x), top = std::min(box.y, other.y);
    box.width = std::max(box.x + box.width, other.x + other.width) - left;
    box.height = std::max(box.y + box.height, other.y + other.height) - top;
    box.x = left;
    box.y = top;
}

} // namespace

TShapedLine::TShapedLine(PangoContext* context, const PangoFontDescription* desc, const std::string& utf8,
                         PangoAttrList* attrs) {
    if (utf8.empty()) return;
    pango_context_set_font_description(context, desc);
    const int length = static_cast<int>(utf8.size());
    GList* logical = pango_itemize(context, utf8.c_str(), 0, length, attrs, nullptr);
    // Items come in logical order; a line shows them in visual order.
    GList* visual = pango_reorder_items(logical);
    // Whole-pixel advances when the context asks for them, as a layout shapes.
    const PangoShapeFlags flags =
        pango_context_get_round_glyph_positions(context) ? PANGO_SHAPE_ROUND_POSITIONS : PANGO_SHAPE_NONE;
    int x = 0;
    for (GList* l = visual; l; l = l->next) {
        auto* item = static_cast<PangoItem*>(l->data);
        Run run;
        run.Font = item->analysis.font ? PANGO_FONT(g_object_ref(item->analysis.font)) : nullptr;
        run.Glyphs = pango_glyph_string_new();
        pango_shape_with_flags(utf8.c_str() + item->offset, item->length, utf8.c_str(), length,
                               &item->analysis, run.Glyphs, flags);
        run.X = x;
        run.Rise = RiseOf(item);
        x += pango_glyph_string_get_width(run.Glyphs);
        runs_.push_back(run);
    }
    width_ = x;
    g_list_free(visual);
    g_list_free_full(logical, reinterpret_cast<GDestroyNotify>(pango_item_free));
}

TShapedLine::~TShapedLine() {
    Release();
}

TShapedLine::TShapedLine(TShapedLine&& other) noexcept
    : runs_(std::exchange(other.runs_, {})), width_(std::exchange(other.width_, 0)) {}

TShapedLine& TShapedLine::operator=(TShapedLine&& other) noexcept {
    if (this != &other) {
        Release();
        runs_ = std::exchange(other.runs_, {});
        width_ = std::exchange(other.width_, 0);
    }
    return *this;
}

void TShapedLine::Release() {
    for (Run& run : runs_) {
        pango_glyph_string_free(run.Glyphs);
        if (run.Font) g_object_unref(run.Font);
    }
    runs_.clear();
}

PangoRectangle TShapedLine::Placed(PangoRectangle box, const Run& run) {
    box.x += run.X;
    box.y -= run.Rise;
    return box;
}

void TShapedLine::Extents(PangoRectangle* ink, PangoRectangle* logical) const {
    // Unions as a layout line forms them: the logical box always holds the start
    // of the baseline, empty ink boxes are left out.
    PangoRectangle inkUnion{}, logicalUnion{};
    bool anyInk = false;
    for (const Run& run : runs_) {
        PangoRectangle runInk{}, runLogical{};
        pango_glyph_string_extents(run.Glyphs, run.Font, ink ? &runInk : nullptr, &runLogical);
        Grow(logicalUnion, Placed(runLogical, run));
        if (!ink || runInk.width == 0 || runInk.height == 0) continue;
        if (anyInk)
            Grow(inkUnion, Placed(runInk, run));
        else
            inkUnion = Placed(runInk, run);
        anyInk = true;
    }
    if (ink) *ink = inkUnion;
    if (logical) *logical = logicalUnion;
}

void TShapedLine::Show(cairo_t* cr) const {
    double x = 0, y = 0;
    cairo_get_current_point(cr, &x, &y);
    for (const Run& run : runs_) {
        if (!run.Font) continue;
        cairo_move_to(cr, x + static_cast<double>(run.X) / PANGO_SCALE,
                      y - static_cast<double>(run.Rise) / PANGO_SCALE);
        pango_cairo_show_glyph_string(cr, run.Font, run.Glyphs);
    }
    cairo_move_to(cr, x, y);
}

std::vector<std::string> TShapedLine::Families() const {
    std::vector<std::string> families;
    for (const Run& run : runs_) {
        if (!run.Font) continue;
        PangoFontDescription* desc = pango_font_describe(run.Font);
        std::string family = pango_font_description_get_family(desc);
        pango_font_description_free(desc);
        if (std::find(families.begin(), families.end(), family) == families.end()) families.push_back(family);
    }
    return families;
}

} // namespace emr
