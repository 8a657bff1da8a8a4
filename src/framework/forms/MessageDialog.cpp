#include "framework/forms/MessageDialog.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "framework/controls/GraphicControl.h"
#include "framework/forms/Application.h"
#include "framework/forms/Button.h"
#include "framework/forms/Form.h"
#include "framework/forms/Label.h"
#include "framework/graphics/Canvas.h"

namespace emr {

namespace {

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

/// The 32 x 32 picture beside the text: a filled circle (or triangle) with a white sign.
class TMessageIcon : public TGraphicControl {
    EMR_CLASS(TMessageIcon)
public:
    TMessageIcon(TComponent* owner, unsigned kind) : TGraphicControl(owner), kind_(kind) {
        SetBounds(0, 0, kIconSize, kIconSize);
    }

protected:
    void Paint() override {
        TCanvas& c = *Canvas();
        c.Pen()->SetStyle(TPenStyle::psClear);
        c.Brush()->SetStyle(TBrushStyle::bsSolid);
        auto rect = [&](int l, int t, int r, int b) { c.FillRect({l, t, r, b}); };
        switch (kind_) {
        case MB_ICONEXCLAMATION: {
            c.Brush()->SetColor(RGB(255, 196, 0));
            const TPoint triangle[] = {{16, 1}, {31, 30}, {1, 30}};
            c.Polygon(triangle);
            c.Brush()->SetColor(clBlack);
            rect(14, 10, 18, 22);
            rect(14, 24, 18, 28);
            break;
        }
        case MB_ICONHAND:
            c.Brush()->SetColor(RGB(204, 0, 0));
            c.Ellipse(0, 0, kIconSize, kIconSize);
            c.Brush()->SetColor(clWhite);
            for (int i = 0; i < 14; ++i) { // two strokes of a cross
                rect(9 + i, 8 + i, 11 + i, 10 + i);
                rect(21 - i, 8 + i, 23 - i, 10 + i);
            }
            break;
        case MB_ICONQUESTION:
            c.Brush()->SetColor(RGB(0, 102, 204));
            c.Ellipse(0, 0, kIconSize, kIconSize);
            c.Brush()->SetColor(clWhite);
            rect(11, 7, 21, 10);
            rect(19, 9, 22, 15);
            rect(15, 14, 20, 17);
            rect(15, 16, 18, 20);
            rect(15, 22, 18, 25);
            break;
        default: // information
            c.Brush()->SetColor(RGB(0, 102, 204));
            c.Ellipse(0, 0, kIconSize, kIconSize);
            c.Brush()->SetColor(clWhite);
            rect(14, 6, 18, 10);  // the dot
            rect(14, 12, 18, 26); // the stem
            break;
        }
    }

private:
    unsigned kind_;
};

struct TButtonChoice {
    const char* Caption;
    int Result;
};

/// The languages the box's buttons speak, as the system's own box would.
enum class TBoxLanguage { English, SimplifiedChinese, TraditionalChinese };

/// The user's language for messages: LC_ALL, then LC_MESSAGES, then LANG,
/// the first one set and not empty, as the C library picks it.
TBoxLanguage UserLanguage() {
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(name); value && *value) {
            locale = value;
            break;
        }
    if (locale.rfind("zh", 0) != 0) return TBoxLanguage::English;
    const bool traditional = locale.rfind("zh_TW", 0) == 0 || locale.rfind("zh_HK", 0) == 0 ||
                             locale.rfind("zh_MO", 0) == 0 || locale.find("Hant") != std::string::npos;
    return traditional ? TBoxLanguage::TraditionalChinese : TBoxLanguage::SimplifiedChinese;
}

/// One button's caption in each language, by answer.
const char* ButtonCaption(int result, TBoxLanguage language) {
    struct TCaptions {
        int Result;
        const char* Text[3];
    };
    static const TCaptions kCaptions[] = {
        {IDOK, {"OK", "确定", "確定"}},
        {IDCANCEL, {"Cancel", "取消", "取消"}},
        {IDABORT, {"&Abort", "中止(&A)", "中止(&A)"}},
        {IDRETRY, {"&Retry", "重试(&R)", "重試(&R)"}},
        {IDIGNORE, {"&Ignore", "忽略(&I)", "略過(&I)"}},
        {IDYES, {"&Yes", "是(&Y)", "是(&Y)"}},
        {IDNO, {"&No", "否(&N)", "否(&N)"}},
    };
    for (const TCaptions& c : kCaptions)
        if (c.Result == result) return c.Text[static_cast<int>(language)];
    return "OK";
}

std::vector<TButtonChoice> ButtonsFor(unsigned flags) {
    std::vector<int> answers;
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        answers = {IDOK, IDCANCEL};
        break;
    case MB_ABORTRETRYIGNORE:
        answers = {IDABORT, IDRETRY, IDIGNORE};
        break;
    case MB_YESNOCANCEL:
        answers = {IDYES, IDNO, IDCANCEL};
        break;
    case MB_YESNO:
        answers = {IDYES, IDNO};
        break;
    case MB_RETRYCANCEL:
        answers = {IDRETRY, IDCANCEL};
        break;
    default:
        answers = {IDOK};
        break;
    }
    const TBoxLanguage language = UserLanguage();
    std::vector<TButtonChoice> choices;
    for (int answer : answers)
        choices.push_back({ButtonCaption(answer, language), answer});
    return choices;
}

/// The dialog itself: icon, text and a centred row of buttons.
class TMessageForm : public TForm {
    EMR_CLASS(TMessageForm)
public:
    TMessageForm(const std::string& text, const std::string& caption, unsigned flags)
        : TForm(nullptr), text_(text) {
        SetBorderStyle(bsDialog);
        SetBorderIcons(biSystemMenu);
        SetCaption(caption);
        SetColor(clBtnFace);

        const unsigned iconKind = flags & 0xF0;
        int textLeft = kMargin;
        int contentHeight = 0;
        if (iconKind != 0) {
            auto* icon = new TMessageIcon(this, iconKind);
            icon->SetName("Image");
            icon->SetParent(this);
            icon->SetBounds(kMargin, kMargin, kIconSize, kIconSize);
            textLeft += kIconSize + kMargin;
            contentHeight = kIconSize;
        }
        auto* label = new TLabel(this);
        label->SetName("Message");
        label->SetParent(this);
        label->SetShowAccelChar(false);
        label->SetCaption(text);
        const int textTop = kMargin + std::max(0, (contentHeight - label->Height()) / 2);
        label->SetBounds(textLeft, textTop, label->Width(), label->Height());
        contentHeight = std::max(contentHeight, label->Height());

        const std::vector<TButtonChoice> choices = ButtonsFor(flags);
        const int count = static_cast<int>(choices.size());
        const int rowWidth = count * kButtonWidth + (count - 1) * kButtonGap;
        const int clientWidth = std::max({textLeft + label->Width() + kMargin, rowWidth + 2 * kMargin, 160});
        const int buttonTop = kMargin + contentHeight + kMargin;
        int x = (clientWidth - rowWidth) / 2;
        const bool hasCancel =
            std::any_of(choices.begin(), choices.end(), [](auto& s) { return s.Result == IDCANCEL; });
        for (int i = 0; i < count; ++i) {
            auto* button = new TButton(this);
            button->SetName("Button" + std::to_string(i + 1));
            button->SetParent(this);
            button->SetCaption(choices[static_cast<std::size_t>(i)].Caption);
            button->SetModalResult(choices[static_cast<std::size_t>(i)].Result);
            button->SetBounds(x, buttonTop, kButtonWidth, kButtonHeight);
            button->SetTabOrder(i);
            if (i == 0) {
                button->SetDefault(true);
                SetActiveControl(button);
            }
            // Esc answers Cancel, or OK when the box has only that.
            if (choices[static_cast<std::size_t>(i)].Result == IDCANCEL || (!hasCancel && count == 1))
                button->SetCancel(true);
            x += kButtonWidth + kButtonGap;
        }
        closeResult_ = hasCancel ? IDCANCEL : choices.front().Result;
        SetClientWidth(clientWidth);
        SetClientHeight(buttonTop + kButtonHeight + kMargin);
    }

    /// The answer when the box is closed without a button (close box, Alt+F4).
    int CloseResult() const { return closeResult_; }

    void DescribeAccessible(platform::TAccessibleNode& node) const override {
        TForm::DescribeAccessible(node);
        node.Role = platform::TAccessibleRole::Alert;
        node.Description = text_;
    }

protected:
    /// The arrow keys walk the row of buttons as Tab and Shift+Tab do.
    bool DialogKey(int key, TShiftState shift) override {
        const bool forward = key == platform::VK_RIGHT || key == platform::VK_DOWN;
        const bool backward = key == platform::VK_LEFT || key == platform::VK_UP;
        if (!forward && !backward) return TForm::DialogKey(key, shift);
        SelectNext(ActiveControl(), forward, true);
        return true;
    }

private:
    std::string text_;
    int closeResult_ = IDOK;
};

} // namespace

int ShowMessageDialog(const std::string& text, const std::string& caption, unsigned flags) {
    TApplication* app = EnsureApplication();
    TCustomForm* owner = app->MainForm();
    auto* form = new TMessageForm(text, caption, flags);
    TComponentRef<TMessageForm> ref(form);
    int result = IDOK;
    try {
        if (owner && owner->Showing()) {
            form->SetPopupParent(owner);
            form->SetPosition(poMainFormCenter);
        } else {
            form->SetPosition(poScreenCenter);
        }
        const TModalResult modal = form->ShowModal();
        result = modal > 0 ? modal : form->CloseResult();
        if (modal == mrCancel && form->CloseResult() != IDCANCEL) result = form->CloseResult();
    } catch (...) {
        if (ref) TObject::Free(ref.Get());
        throw;
    }
    if (ref) TObject::Free(ref.Get());
    return result;
}

} // namespace emr
