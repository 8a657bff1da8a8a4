#pragma once

#include <string>

#include "framework/controls/CustomControl.h"
#include "framework/forms/Form.h"
#include "framework/forms/StdCtrlTypes.h"

namespace emr {

/// A single-line text field with a sunken 3-D border on a window-coloured
/// background. When focused and not read-only it takes typing, Backspace and
/// Delete; the arrows, Home and End move the caret (with Shift they select)
/// also when read-only. Positions count characters, not bytes.
class TCustomEdit : public TCustomControl {
    EMR_CLASS(TCustomEdit)
public:
    explicit TCustomEdit(TComponent* owner);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    /// The most characters typing may produce; 0 is no limit. Text set by code is not cut.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    /// Select the whole text when the focus arrives.
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    /// Show the selection only while focused.
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);

    /// The preferred input method; stored, and ignored on platforms without one.
    const std::string& ImeName() const { return imeName_; }
    void SetImeName(const std::string& value) { imeName_ = value; }
    TImeMode ImeMode() const { return imeMode_; }
    void SetImeMode(TImeMode value) { imeMode_ = value; }

    // Selection, in characters.
    int SelStart() const { return selStart_; }
    void SetSelStart(int value);
    int SelLength() const { return selLength_; }
    void SetSelLength(int value);
    std::string SelText() const;
    /// Replaces the selection with `text` (as typing would, but without the length limit).
    void SetSelText(const std::string& text);
    void SelectAll();
    void ClearSelection() { SetSelText(""); }
    /// The caret position: the moving end of the selection.
    int CaretPos() const { return caret_; }
    /// Number of characters in Text.
    int TextLength() const;

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;
    void DescribeAccessible(platform::TAccessibleNode& node) const override;

protected:
    void Paint() override;
    void TextChanged() override;
    void KeyDown(int& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoExit() override;
    /// Fires OnChange.
    virtual void Change();

    /// The area the text is drawn in (inside the border and margins).
    TRect TextRect() const;
    /// The character position nearest to client x.
    int PositionAt(int x) const;

private:
    void Select(int anchor, int caret);
    void ReplaceSelection(const std::u32string& text, bool limit);
    void ScrollToCaret();
    std::u32string Chars() const;

    bool readOnly_ = false;
    int maxLength_ = 0;
    TFormBorderStyle borderStyle_ = bsSingle;
    bool autoSelect_ = true;
    bool hideSelection_ = true;
    std::string imeName_;
    TImeMode imeMode_ = imDontCare;
    int selStart_ = 0;
    int selLength_ = 0;
    int caret_ = 0;
    int anchor_ = 0;
    int scroll_ = 0; // pixels of text scrolled out on the left
    bool selecting_ = false;
    bool settingText_ = false;
};

/// The edit of stored layouts.
class TEdit : public TCustomEdit {
    EMR_CLASS(TEdit)
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

/// UTF-8 to code points and back (malformed bytes decode as themselves).
std::u32string Utf8ToChars(const std::string& text);
std::string CharsToUtf8(const std::u32string& chars);

} // namespace emr
