#include "styling/MenuStylerRecords.h"

#include <string>

#include "styling/SystemFont.h"

namespace emr {

namespace {

// Glyph pictures, one string per row: 'x' is black, anything else the white ground.
constexpr const char* kCheckGlyph[] = {
    "......x", ".....xx", "x...xxx", "xx.xxx.", "xxxxx..", ".xxx...", "..x....",
};
constexpr const char* kSubMenuGlyph[] = {
    "x...", "xx..", "xxx.", "xxxx", "xxx.", "xx..", "x...",
};

template <std::size_t Rows> void PaintGlyph(TBitmap& bitmap, const char* const (&rows)[Rows]) {
    const int height = static_cast<int>(Rows);
    const int width = static_cast<int>(std::char_traits<char>::length(rows[0]));
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.ScanLine(y)[x] = ColorToPixel(rows[y][x] == 'x' ? clBlack : clWhite);
}

} // namespace

TMenuRootItemAppearance::TMenuRootItemAppearance() {
    font_.SetName(std::string(SystemUIFontName()));
    font_.OnChange = [this](TObject*) { Changed(); };
}

void TMenuRootItemAppearance::SetSystemFont(bool value) {
    if (systemFont_ == value) return;
    systemFont_ = value;
    if (value) font_.SetName(std::string(SystemUIFontName()));
}

void TMenuRootItemAppearance::Assign(const TPersistent* source) {
    auto* o = dynamic_cast<const TMenuRootItemAppearance*>(source);
    if (!o) {
        TPersistent::Assign(source);
        return;
    }
    bool changed = false;
    changed |= CopyChangedFields<TMenuRootItemAppearance>(*this, *o);
    systemFont_ = o->systemFont_;
    font_.Assign(&o->font_);
    if (changed) Changed();
}

void TMenuIconBarAppearance::Assign(const TPersistent* source) {
    auto* o = dynamic_cast<const TMenuIconBarAppearance*>(source);
    if (!o) {
        TPersistent::Assign(source);
        return;
    }
    bool changed = false;
    changed |= CopyChangedFields<TMenuIconBarAppearance>(*this, *o);
    if (changed) Changed();
}

void TMenuSelectedItemAppearance::Assign(const TPersistent* source) {
    auto* o = dynamic_cast<const TMenuSelectedItemAppearance*>(source);
    if (!o) {
        TPersistent::Assign(source);
        return;
    }
    bool changed = false;
    changed |= CopyChangedFields<TMenuSelectedItemAppearance>(*this, *o);
    if (changed) Changed();
}

TMenuGlyphs::TMenuGlyphs() {
    PaintGlyph(check_, kCheckGlyph);
    PaintGlyph(subMenu_, kSubMenuGlyph);
}

void TMenuGlyphs::SetCheck(const TBitmap* value) {
    check_.Assign(value);
    Changed();
}

void TMenuGlyphs::SetSubMenu(const TBitmap* value) {
    subMenu_.Assign(value);
    Changed();
}

void TMenuGlyphs::Assign(const TPersistent* source) {
    auto* o = dynamic_cast<const TMenuGlyphs*>(source);
    if (!o) {
        TPersistent::Assign(source);
        return;
    }
    check_.Assign(&o->check_);
    subMenu_.Assign(&o->subMenu_);
    Changed();
}

} // namespace emr
