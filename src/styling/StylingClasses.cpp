#include "styling/StylingClasses.h"

#include "framework/core/ClassRegistry.h"
#include "framework/graphics/GraphicsClasses.h"
#include "styling/AdvMenuStyler.h"
#include "styling/AdvToolBarOfficeStyler.h"

namespace emr {

namespace {

void RegisterRecords() {
    RegisterRecord<TMirrorGradient>().Event("OnChange", &TMirrorGradient::OnChange);
    RegisterRecord<TGradientBackground>().Event("OnChange", &TGradientBackground::OnChange);
    RegisterRecord<TVistaGradientBackground>().Object(
        "Mirror", [](TVistaGradientBackground* b) { return b->Mirror(); });
    RegisterRecord<TButtonAppearance>().Object("CaptionFont",
                                               [](TButtonAppearance* a) { return a->CaptionFont(); });
    RegisterRecord<TCaptionAppearance>();
    RegisterRecord<TContainerAppearance>().Event("OnChange", &TContainerAppearance::OnChange);
    RegisterRecord<TGlowButtonAppearance>();
}

void RegisterRibbonRecords() {
    {
        TClassRegistrar<TRibbonFontRecord> r("TPersistent");
        r.Object("Font", [](TRibbonFontRecord* a) { return a->Font(); });
        r.Boolean("SystemFont", &TRibbonFontRecord::SystemFont, &TRibbonFontRecord::SetSystemFont, true);
    }
    RegisterRecord<TTabAppearance>();
    RegisterRecord<TVistaPageBackground>();
    RegisterRecord<TVistaTextBackground>();
    RegisterRecord<TGroupAppearance>().Object("TabAppearance",
                                              [](TGroupAppearance* a) { return a->TabAppearance(); });
    RegisterRecord<TQATAppearance>();
}

void RegisterMenuStyler() {
    RegisterRecord<TMenuRootItemAppearance>()
        .Object("Font", [](TMenuRootItemAppearance* a) { return a->Font(); })
        .Boolean("SystemFont", &TMenuRootItemAppearance::SystemFont, &TMenuRootItemAppearance::SetSystemFont,
                 true);
    RegisterRecord<TMenuIconBarAppearance>();
    RegisterRecord<TMenuSelectedItemAppearance>();
    TClassRegistrar<TMenuGlyphs>("TPersistent")
        .Object("Check", [](TMenuGlyphs* g) { return g->Check(); })
        .Object("SubMenu", [](TMenuGlyphs* g) { return g->SubMenu(); });
    {
        using T = TCustomAdvMenuStyler;
        RegisterRecord<T>()
            .Object("RootItem", [](T* s) { return s->RootItem(); })
            .Object("IconBar", [](T* s) { return s->IconBar(); })
            .Object("SelectedItem", [](T* s) { return s->SelectedItem(); })
            .Object("Glyphs", [](T* s) { return s->Glyphs(); });
    }
    TClassRegistrar<TAdvMenuStyler>("TCustomAdvMenuStyler");
}

void RegisterStylers() {
    TClassRegistrar<TCustomAdvToolBarStyler>("TComponent");
    TClassRegistrar<TAdvToolBarOfficeStyler> r("TCustomAdvToolBarStyler");
    using T = TAdvToolBarOfficeStyler;
    r.Enum<TToolBarStyle>("Style",
                          {"bsOffice2003Blue", "bsOffice2003Silver", "bsOffice2003Olive",
                           "bsOffice2003Classic", "bsOffice2007Luna", "bsOffice2007Obsidian", "bsWindowsXP",
                           "bsWhidbeyStyle", "bsCustom", "bsOffice2007Silver", "bsOfficeXP", "bsWindowsVista",
                           "bsWindows7", "bsTerminal", "bsOffice2010Blue", "bsOffice2010Silver",
                           "bsOffice2010Black"},
                          &T::Style, &T::SetStyle, bsOffice2003Blue);
    r.ComponentRef<TCustomAdvMenuStyler>("AdvMenuStyler", &T::AdvMenuStyler, &T::SetAdvMenuStyler);
    PublishFields<TCustomAdvToolBarStyler>(r);
    r.Object("BackGround", [](T* s) { return s->BackGround(); });
    r.Object("ButtonAppearance", [](T* s) { return s->ButtonAppearance(); });
    r.Object("CaptionAppearance", [](T* s) { return s->CaptionAppearance(); });
    r.Object("CaptionFont", [](T* s) { return s->CaptionFont(); });
    r.Object("ContainerAppearance", [](T* s) { return s->ContainerAppearance(); });
    r.Object("Color", [](T* s) { return s->Color(); });
    r.Object("ColorHot", [](T* s) { return s->ColorHot(); });
    r.Object("CompactGlowButtonAppearance", [](T* s) { return s->CompactGlowButtonAppearance(); });
    r.Object("DockColor", [](T* s) { return s->DockColor(); });
    r.Object("DragGripImage", [](T* s) { return s->DragGripImage(); });
    r.Object("Font", [](T* s) { return s->Font(); });
    r.Object("GlowButtonAppearance", [](T* s) { return s->GlowButtonAppearance(); });
    r.Object("GroupAppearance", [](T* s) { return s->GroupAppearance(); });
    r.Object("PageAppearance", [](T* s) { return s->PageAppearance(); });
    r.Object("PagerCaption", [](T* s) { return s->PagerCaption(); });
    r.Object("QATAppearance", [](T* s) { return s->QATAppearance(); });
    r.Object("RightHandleImage", [](T* s) { return s->RightHandleImage(); });
    r.Object("TabAppearance", [](T* s) { return s->TabAppearance(); });
}

} // namespace

void RegisterStylingClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterGraphicsClasses();
    RegisterRecords();
    RegisterRibbonRecords();
    RegisterMenuStyler();
    RegisterStylers();
}

} // namespace emr
