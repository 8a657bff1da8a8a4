#include "LayoutTestClasses.h"

#include <strings.h>

#include "framework/core/Exception.h"

namespace emr::test {

int gLiveComponents = 0;
std::vector<std::string> gLoadedOrder;
std::vector<std::string> gCompletedOrder;

namespace {

std::optional<std::int64_t> TestColorIdent(std::string_view ident) {
    static const std::pair<const char*, std::int64_t> kNames[] = {
        {"clBlack", 0x000000}, {"clNavy", 0x800000}, {"clWhite", 0xFFFFFF}, {"clHighlight", 0xFF00000D}};
    for (const auto& [name, value] : kNames)
        if (ident.size() == std::string_view(name).size() &&
            strncasecmp(ident.data(), name, ident.size()) == 0)
            return value;
    return std::nullopt;
}

std::optional<std::int64_t> TestCharsetIdent(std::string_view ident) {
    if (ident == "ANSI_CHARSET") return 0;
    if (ident == "DEFAULT_CHARSET") return 1;
    return std::nullopt;
}

void SetColorIdents(TClassInfo& info) {
    info.Properties.back().IdentToInt = TestColorIdent;
}

} // namespace

TTestRow::TTestRow(TCollection* collection)
    : TCollectionItem(collection), rows_([](TCollection* c) { return new TTestRow(c); }) {}

TTestWidget::TTestWidget(TComponent* owner)
    : TComponent(owner), rows_([](TCollection* c) { return new TTestRow(c); }) {
    ++gLiveComponents;
}

TTestWidget::~TTestWidget() {
    --gLiveComponents;
}

void TTestWidget::SetLeft(int left) {
    NoteSet();
    left_ = left;
}

void TTestWidget::SetBuddy(TTestWidget* buddy) {
    NoteSet();
    if (buddy_) buddy_->RemoveFreeNotification(this);
    buddy_ = buddy;
    if (buddy_) buddy_->FreeNotification(this);
}

void TTestWidget::SetStrict(int value) {
    if (value < 0) throw Exception("Strict must not be negative");
    strict_ = value;
}

void TTestWidget::Loaded() {
    TComponent::Loaded();
    gLoadedOrder.push_back(Name());
    if (failOnLoad_) throw Exception("refused to finish loading");
}

void TTestWidget::LoadCompleted() {
    TComponent::LoadCompleted();
    gCompletedOrder.push_back(Name() + ":" + std::to_string(gLoadedOrder.size()));
}

void TTestWidget::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == buddy_) buddy_ = nullptr;
}

TTestStyler::TTestStyler(TComponent* owner) : TComponent(owner) {
    ++gLiveComponents;
}

TTestStyler::~TTestStyler() {
    --gLiveComponents;
}

void TTestStyler::Loaded() {
    TComponent::Loaded();
    gLoadedOrder.push_back(Name());
}

TTestForm::TTestForm(TComponent* owner) : TComponent(owner) {
    ++gLiveComponents;
}

TTestForm::~TTestForm() {
    --gLiveComponents;
}

void TTestForm::Loaded() {
    TComponent::Loaded();
    gLoadedOrder.push_back(Name());
}

void RegisterLayoutTestClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterCoreClasses();

    TClassRegistrar<TTestFont> font("TPersistent");
    font.String("Name", &TTestFont::Name, &TTestFont::SetName)
        .Integer("Height", &TTestFont::Height, &TTestFont::SetHeight)
        .SetOf<std::uint32_t>("Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"},
                              &TTestFont::Style, &TTestFont::SetStyle)
        .Color("Color", &TTestFont::Color, &TTestFont::SetColor);
    SetColorIdents(font.Info());
    font.NamedInteger("Charset", TestCharsetIdent, &TTestFont::Charset, &TTestFont::SetCharset);

    TClassRegistrar<TTestAppearance> appearance("TPersistent");
    appearance.Color("Color", &TTestAppearance::Color, &TTestAppearance::SetColor);
    SetColorIdents(appearance.Info());
    appearance.Object("Font", &TTestAppearance::Font);

    TClassRegistrar<TTestRow>("TCollectionItem")
        .Integer("Top", &TTestRow::Top, &TTestRow::SetTop)
        .ComponentRef<TTestWidget>("Link", &TTestRow::Link, &TTestRow::SetLink)
        .Collection("Rows", &TTestRow::Rows);

    TClassRegistrar<TTestWidget> widget("TComponent");
    widget.Integer("Left", &TTestWidget::Left, &TTestWidget::SetLeft, 0)
        .Boolean("Visible", &TTestWidget::Visible, &TTestWidget::SetVisible, true)
        .String("Caption", &TTestWidget::Caption, &TTestWidget::SetCaption)
        .Float("Ratio", &TTestWidget::Ratio, &TTestWidget::SetRatio)
        .Enum<TTestAlign>("Align", {"alNone", "alTop", "alBottom", "alClient"}, &TTestWidget::Align,
                          &TTestWidget::SetAlign, TTestAlign::alNone)
        .SetOf<std::uint32_t>("Anchors", {"akLeft", "akTop", "akRight", "akBottom"}, &TTestWidget::Anchors,
                              &TTestWidget::SetAnchors)
        .Color("Color", &TTestWidget::Color, &TTestWidget::SetColor);
    SetColorIdents(widget.Info());
    widget.Integer("Wide", &TTestWidget::Wide, &TTestWidget::SetWide)
        .Object("Font", &TTestWidget::Font)
        .Object("Appearance", &TTestWidget::Appearance)
        .Binary("Data", &TTestWidget::Data, &TTestWidget::SetData)
        .Collection("Rows", &TTestWidget::Rows)
        .ComponentRef<TTestWidget>("Buddy", &TTestWidget::Buddy, &TTestWidget::SetBuddy)
        .String("Version", &TTestWidget::Version, nullptr)
        .Integer("Strict", &TTestWidget::Strict, &TTestWidget::SetStrict)
        .Boolean("FailOnLoad", &TTestWidget::FailOnLoad, &TTestWidget::SetFailOnLoad)
        .Event("OnClick", &TTestWidget::OnClick);

    TClassRegistrar<TTestStyler>("TComponent").Integer("Tone", &TTestStyler::Tone, &TTestStyler::SetTone);

    TClassRegistrar<TTestForm>("TComponent")
        .String("Caption", &TTestForm::Caption, &TTestForm::SetCaption)
        .Event("OnCreate", &TTestForm::OnCreate)
        .Method("FormCreate", &TTestForm::FormCreate)
        .Method("WidgetClick", &TTestForm::WidgetClick)
        .Field("Widget1", &TTestForm::Widget1)
        .Field("Widget2", &TTestForm::Widget2)
        .Field("Styler1", &TTestForm::Styler1);
    TClassRegistrar<TTestForm2>("TTestForm");
}

} // namespace emr::test
