#pragma once

// Small classes that publish one property of every kind, so the layout reader can
// be tested without the real controls. The fuzz target uses them too.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Collection.h"
#include "framework/core/Component.h"

namespace emr::test {

/// Components of the classes below alive right now; a failed load must leave it unchanged.
extern int gLiveComponents;
/// Names of components in the order their Loaded() ran.
extern std::vector<std::string> gLoadedOrder;
/// "Name:n" per widget whose LoadCompleted() ran, n being how many Loaded() had run by then.
extern std::vector<std::string> gCompletedOrder;

enum class TTestAlign { alNone, alTop, alBottom, alClient };
enum TTestFontStyle : std::uint32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TTestFont : public TPersistent {
    EMR_CLASS(TTestFont)
public:
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    int Height() const { return height_; }
    void SetHeight(int height) { height_ = height; }
    std::uint32_t Style() const { return style_; }
    void SetStyle(std::uint32_t style) { style_ = style; }
    std::uint32_t Color() const { return color_; }
    void SetColor(std::uint32_t color) { color_ = color; }
    int Charset() const { return charset_; }
    void SetCharset(int charset) { charset_ = charset; }

private:
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    std::uint32_t style_ = 0;
    std::uint32_t color_ = 0;
    int charset_ = 1;
};

class TTestAppearance : public TPersistent {
    EMR_CLASS(TTestAppearance)
public:
    std::uint32_t Color() const { return color_; }
    void SetColor(std::uint32_t color) { color_ = color; }
    TTestFont* Font() { return &font_; }

private:
    std::uint32_t color_ = 0;
    TTestFont font_;
};

class TTestWidget;

/// A collection item with a reference and a nested collection of its own kind.
class TTestRow : public TCollectionItem {
    EMR_CLASS(TTestRow)
public:
    explicit TTestRow(TCollection* collection);
    int Top() const { return top_; }
    void SetTop(int top) { top_ = top; }
    TTestWidget* Link() const { return link_; }
    void SetLink(TTestWidget* link) { link_ = link; }
    TCollection* Rows() { return &rows_; }

private:
    int top_ = 0;
    TTestWidget* link_ = nullptr;
    TCollection rows_;
};

/// A visual-ish component: one property of each kind, a parent, a Loaded log.
class TTestWidget : public TComponent {
    EMR_CLASS(TTestWidget)
public:
    explicit TTestWidget(TComponent* owner);
    ~TTestWidget() override;

    int Left() const { return left_; }
    void SetLeft(int left);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    double Ratio() const { return ratio_; }
    void SetRatio(double ratio) { ratio_ = ratio; }
    TTestAlign Align() const { return align_; }
    void SetAlign(TTestAlign align) { align_ = align; }
    std::uint32_t Anchors() const { return anchors_; }
    void SetAnchors(std::uint32_t anchors) { anchors_ = anchors; }
    std::uint32_t Color() const { return color_; }
    void SetColor(std::uint32_t color) { color_ = color; }
    std::int64_t Wide() const { return wide_; }
    void SetWide(std::int64_t wide) { wide_ = wide; }
    TTestFont* Font() { return &font_; }
    TTestAppearance* Appearance() { return &appearance_; }
    const std::vector<std::uint8_t>& Data() const { return data_; }
    void SetData(const std::vector<std::uint8_t>& data) { data_ = data; }
    TCollection* Rows() { return &rows_; }
    TTestWidget* Buddy() const { return buddy_; }
    void SetBuddy(TTestWidget* buddy);
    std::string Version() const { return "1.0"; }
    /// Refuses negative values, as a setter that validates its input does.
    int Strict() const { return strict_; }
    void SetStrict(int value);
    bool FailOnLoad() const { return failOnLoad_; }
    void SetFailOnLoad(bool fail) { failOnLoad_ = fail; }

    TNotifyEvent OnClick;

    TComponent* ParentWidget() const { return parent_; }
    TComponent* GetParentComponent() const override { return parent_; }
    void SetParentComponent(TComponent* parent) override { parent_ = parent; }
    void Loaded() override;
    void LoadCompleted() override;
    /// True while every property setter so far ran in the loading state.
    bool SetWhileLoading() const { return setWhileLoading_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void NoteSet() { setWhileLoading_ = setWhileLoading_ && HasState(csLoading); }

    int left_ = 0;
    bool visible_ = true;
    std::string caption_;
    double ratio_ = 0.0;
    TTestAlign align_ = TTestAlign::alNone;
    std::uint32_t anchors_ = 0;
    std::uint32_t color_ = 0;
    std::int64_t wide_ = 0;
    TTestFont font_;
    TTestAppearance appearance_;
    std::vector<std::uint8_t> data_;
    TCollection rows_;
    TTestWidget* buddy_ = nullptr;
    int strict_ = 0;
    bool failOnLoad_ = false;
    TComponent* parent_ = nullptr;
    bool setWhileLoading_ = true;
};

/// A non-visual component of another class, for reference type checks.
class TTestStyler : public TComponent {
    EMR_CLASS(TTestStyler)
public:
    explicit TTestStyler(TComponent* owner);
    ~TTestStyler() override;
    int Tone() const { return tone_; }
    void SetTone(int tone) { tone_ = tone; }
    void Loaded() override;

private:
    int tone_ = 0;
};

/// The root of test layouts: published fields and methods, like a form.
class TTestForm : public TComponent {
    EMR_CLASS(TTestForm)
public:
    explicit TTestForm(TComponent* owner);
    ~TTestForm() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    void Loaded() override;

    void FormCreate(TObject* sender) { created.push_back(sender); }
    void WidgetClick(TObject* sender) { clicks.push_back(sender); }

    TNotifyEvent OnCreate;
    TTestWidget* Widget1 = nullptr;
    TTestWidget* Widget2 = nullptr;
    TTestStyler* Styler1 = nullptr;
    std::vector<TObject*> created;
    std::vector<TObject*> clicks;

private:
    std::string caption_;
};

/// A form class derived from TTestForm, for loading into a descendant.
class TTestForm2 : public TTestForm {
    EMR_CLASS(TTestForm2)
public:
    using TTestForm::TTestForm;
};

/// Registers the classes above (and the core ones). Idempotent.
void RegisterLayoutTestClasses();

} // namespace emr::test
