#include "framework/forms/Edit.h"

#include <algorithm>

#include "framework/core/Utf8.h"
#include "framework/forms/Frame3D.h"
#include "framework/graphics/Canvas.h"

namespace emr {

std::u32string Utf8ToChars(const std::string& s) {
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i++]);
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char32_t cp = extra == 3 ? c & 0x07 : extra == 2 ? c & 0x0F : extra == 1 ? c & 0x1F : c;
        for (int k = 0; k < extra && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
        out.push_back(cp);
    }
    return out;
}

std::string CharsToUtf8(const std::u32string& chars) {
    std::string out;
    out.reserve(chars.size());
    for (char32_t c : chars)
        AppendUtf8(out, c);
    return out;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks | csOpaque);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    SetCursor(crIBeam);
    SetBounds(0, 0, 121, 21);
}

std::u32string TCustomEdit::Chars() const {
    return Utf8ToChars(Text());
}

int TCustomEdit::TextLength() const {
    return static_cast<int>(Chars().size());
}

void TCustomEdit::SetReadOnly(bool value) {
    if (value == readOnly_) return;
    readOnly_ = value;
    Invalidate();
}

void TCustomEdit::SetMaxLength(int value) {
    maxLength_ = std::max(value, 0);
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle value) {
    if (value != bsSingle) value = bsNone;
    if (value == borderStyle_) return;
    borderStyle_ = value;
    Invalidate();
}

void TCustomEdit::SetHideSelection(bool value) {
    if (value == hideSelection_) return;
    hideSelection_ = value;
    Invalidate();
}

void TCustomEdit::Select(int anchor, int caret) {
    const int len = TextLength();
    anchor = std::clamp(anchor, 0, len);
    caret = std::clamp(caret, 0, len);
    anchor_ = anchor;
    caret_ = caret;
    selStart_ = std::min(anchor, caret);
    selLength_ = std::abs(caret - anchor);
    ScrollToCaret();
    Invalidate();
}

void TCustomEdit::SetSelStart(int value) {
    Select(value, value);
}

void TCustomEdit::SetSelLength(int value) {
    Select(selStart_, selStart_ + std::max(value, 0));
}

void TCustomEdit::SelectAll() {
    Select(0, TextLength());
}

std::string TCustomEdit::SelText() const {
    std::u32string chars = Chars();
    return CharsToUtf8(
        chars.substr(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selLength_)));
}

void TCustomEdit::SetSelText(const std::string& text) {
    ReplaceSelection(Utf8ToChars(text), false);
}

void TCustomEdit::ReplaceSelection(const std::u32string& text, bool limit) {
    std::u32string chars = Chars();
    std::u32string insert = text;
    if (limit && maxLength_ > 0) {
        const int room = maxLength_ - (static_cast<int>(chars.size()) - selLength_);
        if (room <= 0 && selLength_ == 0) return; // full: typing is refused
        if (room < static_cast<int>(insert.size()))
            insert.resize(static_cast<std::size_t>(std::max(room, 0)));
    }
    chars.replace(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selLength_), insert);
    const int caret = selStart_ + static_cast<int>(insert.size());
    settingText_ = true;
    SetText(CharsToUtf8(chars));
    settingText_ = false;
    Select(caret, caret);
}

void TCustomEdit::TextChanged() {
    TCustomControl::TextChanged();
    // Text set from outside puts the caret at the start, as a fresh field has it.
    if (!settingText_) {
        anchor_ = caret_ = selStart_ = selLength_ = 0;
        scroll_ = 0;
    }
    Invalidate();
    Change();
}

void TCustomEdit::Change() {
    if (OnChange && !HasState(csLoading)) OnChange(this);
}

TRect TCustomEdit::TextRect() const {
    TRect r = ClientRect();
    if (borderStyle_ == bsSingle) r = r.Inflate(-2, -2);
    return {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
}

int TCustomEdit::PositionAt(int x) const {
    TCanvas measure;
    measure.SetFont(Font());
    const std::u32string chars = Chars();
    const int target = x - TextRect().Left + scroll_;
    int prev = 0;
    for (std::size_t i = 1; i <= chars.size(); ++i) {
        const int w = measure.TextWidth(CharsToUtf8(chars.substr(0, i)));
        if (target < w) return static_cast<int>(target - prev < w - target ? i - 1 : i);
        prev = w;
    }
    return static_cast<int>(chars.size());
}

void TCustomEdit::ScrollToCaret() {
    TCanvas measure;
    measure.SetFont(Font());
    const std::u32string chars = Chars();
    const int caretX = measure.TextWidth(CharsToUtf8(chars.substr(0, static_cast<std::size_t>(caret_))));
    const int visible = std::max(TextRect().Width() - 1, 1);
    if (caretX - scroll_ > visible) scroll_ = caretX - visible;
    if (caretX < scroll_) scroll_ = caretX;
    scroll_ = std::max(scroll_, 0);
}

void TCustomEdit::Paint() {
    TCanvas& canvas = *Canvas();
    TRect rect = ClientRect();
    if (borderStyle_ == bsSingle) {
        Frame3D(canvas, rect, clBtnShadow, clBtnHighlight, 1);
        Frame3D(canvas, rect, cl3DDkShadow, cl3DLight, 1);
    }
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(rect);

    const TRect area = TextRect();
    canvas.SetFont(Font());
    if (!Enabled()) canvas.Font()->SetColor(clGrayText);
    canvas.IntersectClipRect(area);
    const std::u32string chars = Chars();
    auto xOf = [&](int pos) {
        return area.Left - scroll_ +
               canvas.TextWidth(CharsToUtf8(chars.substr(0, static_cast<std::size_t>(pos))));
    };
    const int lineHeight = canvas.TextHeight("Wg");
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    canvas.TextOut(area.Left - scroll_, area.Top, Text());

    const bool focused = Focused();
    if (selLength_ > 0 && (focused || !hideSelection_)) {
        const TRect sel{xOf(selStart_), area.Top, xOf(selStart_ + selLength_), area.Top + lineHeight};
        canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas.Brush()->SetColor(clHighlight);
        canvas.Font()->SetColor(clHighlightText);
        const std::string selected = CharsToUtf8(
            chars.substr(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selLength_)));
        canvas.TextRect(sel, sel.Left, sel.Top, selected);
    }
    if (focused) {
        const int x = xOf(caret_);
        canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas.Brush()->SetColor(clWindowText);
        canvas.FillRect({x, area.Top, x + 1, area.Top + lineHeight});
    }
}

void TCustomEdit::KeyDown(int& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    const bool extend = (shift & ssShift) != 0;
    auto moveTo = [&](int pos) {
        if (extend)
            Select(anchor_, pos);
        else if (selLength_ > 0 && (key == platform::VK_LEFT || key == platform::VK_RIGHT))
            // An arrow collapses a selection to its near end.
            Select(key == platform::VK_LEFT ? selStart_ : selStart_ + selLength_,
                   key == platform::VK_LEFT ? selStart_ : selStart_ + selLength_);
        else
            Select(pos, pos);
        key = 0;
    };
    switch (key) {
    case platform::VK_LEFT:
        moveTo(caret_ - 1);
        break;
    case platform::VK_RIGHT:
        moveTo(caret_ + 1);
        break;
    case platform::VK_HOME:
        moveTo(0);
        break;
    case platform::VK_END:
        moveTo(TextLength());
        break;
    case platform::VK_DELETE:
        if (readOnly_) break;
        if (selLength_ == 0) Select(caret_, caret_ + 1);
        ReplaceSelection({}, false);
        key = 0;
        break;
    case platform::VK_BACK:
        if (readOnly_) break;
        if (selLength_ == 0) Select(caret_, caret_ - 1);
        ReplaceSelection({}, false);
        key = 0;
        break;
    default:
        if ((shift & ssCtrl) && key == 'A') {
            SelectAll();
            key = 0;
        }
        break;
    }
}

void TCustomEdit::KeyPress(char32_t& key) {
    TCustomControl::KeyPress(key);
    // Control characters (Backspace, Enter, Tab, Esc) are not text; Backspace is handled as a key.
    if (key == 0 || key < 0x20 || key == 0x7F) return;
    if (readOnly_) return;
    ReplaceSelection(std::u32string(1, key), true);
    key = 0;
}

void TCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    if (CanFocus() && !Focused()) {
        SetFocus();
        // Focus by click places the caret instead of selecting everything.
    }
    const int pos = PositionAt(x);
    if (shift & ssShift)
        Select(anchor_, pos);
    else
        Select(pos, pos);
    selecting_ = true;
}

void TCustomEdit::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (selecting_ && (shift & ssLeft)) Select(anchor_, PositionAt(x));
}

void TCustomEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (button == mbLeft) selecting_ = false;
}

void TCustomEdit::DoEnter() {
    TCustomControl::DoEnter();
    // Entering by keyboard selects the text; a click places the caret right after.
    if (autoSelect_ && !(ControlState() & csLButtonDown)) SelectAll();
    Invalidate();
}

void TCustomEdit::DoExit() {
    TCustomControl::DoExit();
    selecting_ = false;
    Invalidate();
}

void TCustomEdit::WndProc(TMessage& message) {
    if (message.Msg == WM_GETDLGCODE) {
        message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    }
    TCustomControl::WndProc(message);
}

void TCustomEdit::DescribeAccessible(platform::TAccessibleNode& node) const {
    node.Role = platform::TAccessibleRole::Text;
    // An edit's caption is its content, which a reader takes from the text, not the name.
    node.Name.clear();
}

} // namespace emr
