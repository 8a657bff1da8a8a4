// A shaped line stands in for a one-line PangoLayout: the same advances, extents
// and pixels, for plain, fallback, raised, right-to-left and multi-run text.
#include <gtest/gtest.h>

#include <pango/pangocairo.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/graphics/ShapedLine.h"

namespace emr {
namespace {

struct Pango {
    PangoFontMap* map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    PangoContext* context = pango_font_map_create_context(map);
    PangoFontDescription* desc = pango_font_description_from_string("Liberation Sans 11px");
    ~Pango() {
        pango_font_description_free(desc);
        g_object_unref(context);
        g_object_unref(map);
    }
};

/// The fallback family, size and rise over [start, end), as the text engine sets them.
PangoAttrList* FallbackAttributes(unsigned start, unsigned end, int rise) {
    PangoAttrList* attrs = pango_attr_list_new();
    PangoAttribute* family = pango_attr_family_new("WenQuanYi Micro Hei");
    PangoAttribute* size = pango_attr_size_new_absolute(13 * PANGO_SCALE);
    PangoAttribute* raise = pango_attr_rise_new(rise);
    for (PangoAttribute* a : {family, size, raise}) {
        a->start_index = start;
        a->end_index = end;
        pango_attr_list_insert(attrs, a);
    }
    return attrs;
}

std::vector<unsigned char> Pixels(int width, int height, const std::function<void(cairo_t*)>& draw) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_move_to(cr, 3.25, 17);
    draw(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::vector<unsigned char> out(static_cast<std::size_t>(stride) * height);
    std::memcpy(out.data(), cairo_image_surface_get_data(surface), out.size());
    cairo_surface_destroy(surface);
    return out;
}

TEST(ShapedLine, MatchesAOneLineLayoutInAdvanceExtentsAndPixels) {
    Pango pango;
    struct Case {
        std::string text;
        unsigned start, end; // fallback range; start == end for none
        int rise;
    };
    const std::vector<Case> cases = {
        {"File", 0, 0, 0},
        {"gh Wq", 0, 0, 0},
        {"\xE7\xA1\xAE\xE5\xAE\x9A", 0, 6, 0},             // two ideographs
        {"Ag \xE5\x9B\xBD x", 3, 6, -2 * PANGO_SCALE},     // a lowered ideograph between Latin runs
        {"\xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A abc", 0, 0, 0}, // right to left, then left to right
        {"yyyy'\xE5\xB9\xB4'M", 5, 8, 3 * PANGO_SCALE},    // a raised run
    };
    for (const Case& c : cases) {
        PangoAttrList* attrs = c.start < c.end ? FallbackAttributes(c.start, c.end, c.rise) : nullptr;
        const TShapedLine shaped(pango.context, pango.desc, c.text, attrs);

        PangoLayout* layout = pango_layout_new(pango.context);
        pango_layout_set_font_description(layout, pango.desc);
        pango_layout_set_single_paragraph_mode(layout, TRUE);
        pango_layout_set_text(layout, c.text.c_str(), -1);
        if (attrs) pango_layout_set_attributes(layout, attrs);
        PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);

        PangoRectangle ink, logical, layoutInk, layoutLogical;
        shaped.Extents(&ink, &logical);
        pango_layout_line_get_extents(line, &layoutInk, &layoutLogical);
        EXPECT_EQ(shaped.Width(), layoutLogical.width) << c.text;
        EXPECT_EQ(logical.x, layoutLogical.x) << c.text;
        EXPECT_EQ(logical.y, layoutLogical.y) << c.text;
        EXPECT_EQ(logical.height, layoutLogical.height) << c.text;
        EXPECT_EQ(ink.x, layoutInk.x) << c.text;
        EXPECT_EQ(ink.y, layoutInk.y) << c.text;
        EXPECT_EQ(ink.width, layoutInk.width) << c.text;
        EXPECT_EQ(ink.height, layoutInk.height) << c.text;
        EXPECT_GT(ink.width, 0) << c.text;

        const auto ours = Pixels(160, 32, [&](cairo_t* cr) { shaped.Show(cr); });
        const auto theirs = Pixels(160, 32, [&](cairo_t* cr) { pango_cairo_show_layout_line(cr, line); });
        EXPECT_EQ(ours, theirs) << c.text;
        g_object_unref(layout);
        if (attrs) pango_attr_list_unref(attrs);
    }
}

TEST(ShapedLine, EmptyTextHasNoRunsAndReportsEachFamilyOnce) {
    Pango pango;
    const TShapedLine empty(pango.context, pango.desc, "", nullptr);
    EXPECT_EQ(empty.Width(), 0);
    EXPECT_TRUE(empty.Families().empty());

    PangoAttrList* attrs = FallbackAttributes(1, 4, 0);
    const TShapedLine mixed(pango.context, pango.desc,
                            "a\xE5\x9B\xBD"
                            "b\xE5\x9B\xBD",
                            attrs);
    pango_attr_list_unref(attrs);
    const auto families = mixed.Families();
    ASSERT_EQ(families.size(), 2u);
    EXPECT_EQ(families[0], "Liberation Sans");
    EXPECT_EQ(families[1], "WenQuanYi Micro Hei");
}

} // namespace
} // namespace emr
