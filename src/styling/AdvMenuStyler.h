#pragma once

#include "framework/core/Component.h"
#include "framework/graphics/Color.h"
#include "styling/MenuStylerRecords.h"
#include "styling/RecordFields.h"

namespace emr {

#define EMR_MENU_STYLER_FIELDS(F)                                                                            \
    F(TColor, MenuBorderColor, menuBorderColor_, 0x800000, Change, Setter, Always)

/// The colours, sizes and glyphs styled menus paint with. Toolbars read a menu
/// styler's border colour and root item; styled menus read the rest.
class TCustomAdvMenuStyler : public TComponent {
    EMR_CLASS(TCustomAdvMenuStyler)
public:
    using Inherited = TComponent;
    explicit TCustomAdvMenuStyler(TComponent* owner);

    TMenuRootItemAppearance* RootItem() { return &rootItem_; }
    const TMenuRootItemAppearance* RootItem() const { return &rootItem_; }
    void SetRootItem(const TMenuRootItemAppearance* value) { rootItem_.Assign(value); }
    TMenuIconBarAppearance* IconBar() { return &iconBar_; }
    const TMenuIconBarAppearance* IconBar() const { return &iconBar_; }
    void SetIconBar(const TMenuIconBarAppearance* value) { iconBar_.Assign(value); }
    TMenuSelectedItemAppearance* SelectedItem() { return &selectedItem_; }
    const TMenuSelectedItemAppearance* SelectedItem() const { return &selectedItem_; }
    void SetSelectedItem(const TMenuSelectedItemAppearance* value) { selectedItem_.Assign(value); }
    TMenuGlyphs* Glyphs() { return &glyphs_; }
    const TMenuGlyphs* Glyphs() const { return &glyphs_; }
    void SetGlyphs(const TMenuGlyphs* value) { glyphs_.Assign(value); }

    /// Copies every setting of another menu styler; any other class is an error.
    void Assign(const TPersistent* source) override;

    /// Fired after any setting changed; styled menus repaint on it.
    TNotifyEvent OnChange;

    EMR_RECORD_FIELDS(TCustomAdvMenuStyler, EMR_MENU_STYLER_FIELDS)

    void Changed();

    TMenuRootItemAppearance rootItem_;
    TMenuIconBarAppearance iconBar_;
    TMenuSelectedItemAppearance selectedItem_;
    TMenuGlyphs glyphs_;
};

/// The menu styler that stored layouts create and stylers own internally.
class TAdvMenuStyler : public TCustomAdvMenuStyler {
    EMR_CLASS(TAdvMenuStyler)
public:
    explicit TAdvMenuStyler(TComponent* owner) : TCustomAdvMenuStyler(owner) {}
};

} // namespace emr
