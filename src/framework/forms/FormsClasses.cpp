#include "framework/forms/FormsClasses.h"

#include <cctype>
#include <optional>
#include <string_view>

#include "framework/controls/ControlsClasses.h"
#include "framework/core/ClassRegistry.h"
#include "framework/forms/ActnList.h"
#include "framework/forms/Button.h"
#include "framework/forms/Edit.h"
#include "framework/forms/Form.h"
#include "framework/forms/GroupBox.h"
#include "framework/forms/Label.h"
#include "framework/forms/Menu.h"
#include "framework/forms/Panel.h"
#include "framework/forms/PopupMenu.h"
#include "framework/forms/Timer.h"
#include "framework/graphics/ImageList.h"

namespace emr {

namespace {

const std::vector<std::string> kAlignments = {"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<std::string> kBevels = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
const std::vector<std::string> kBorderStyles = {"bsNone", "bsSingle"};

std::optional<std::int64_t> IdentToModalResult(std::string_view ident) {
    static const std::pair<std::string_view, int> results[] = {
        {"mrNone", mrNone},   {"mrOk", mrOk},         {"mrCancel", mrCancel}, {"mrAbort", mrAbort},
        {"mrRetry", mrRetry}, {"mrIgnore", mrIgnore}, {"mrYes", mrYes},       {"mrNo", mrNo},
    };
    for (auto [name, value] : results) {
        if (name.size() != ident.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(name[i])) ==
                   std::tolower(static_cast<unsigned char>(ident[i]));
        if (same) return value;
    }
    return std::nullopt;
}

// Adapters for setters that are templates or take narrower types.
void SetControlPopupMenu(TControl* control, TPopupMenu* menu) {
    control->SetPopupMenu(menu);
}
void SetFormMenu(TCustomForm* form, TMainMenu* menu) {
    form->SetMenu(menu);
}
TMainMenu* FormMenu(const TCustomForm* form) {
    return form->Menu();
}
TPopupMenu* ControlPopupMenu(const TControl* control) {
    return control->PopupMenu();
}
int MenuItemShortCut(const TMenuItem* item) {
    return item->ShortCut();
}
void SetMenuItemShortCut(TMenuItem* item, std::int64_t value) {
    item->SetShortCut(static_cast<TShortCut>(value));
}
int ActionShortCut(const TCustomAction* action) {
    return action->ShortCut();
}
void SetActionShortCut(TCustomAction* action, std::int64_t value) {
    action->SetShortCut(static_cast<TShortCut>(value));
}

} // namespace

void RegisterFormsClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterControlsClasses();

    TClassRegistrar<TCustomForm>("TWinControl")
        .Enum<TFormBorderStyle>(
            "BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
            &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, bsSizeable)
        .SetOf<TBorderIcons>("BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"},
                             &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
                             biSystemMenu | biMinimize | biMaximize)
        .Enum<TPosition>("Position",
                         {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                          "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
                         &TCustomForm::Position, &TCustomForm::SetPosition, poDefaultPosOnly)
        .Enum<TWindowState>("WindowState", {"wsNormal", "wsMinimized", "wsMaximized"},
                            &TCustomForm::WindowState, &TCustomForm::SetWindowState, wsNormal)
        .Enum<TFormStyle>("FormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"},
                          &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, fsNormal)
        .Boolean("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false)
        .ComponentRef<TWinControl>("ActiveControl", &TCustomForm::ActiveControl,
                                   &TCustomForm::SetActiveControl)
        .Integer("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch)
        .Integer("TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight)
        .Boolean("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder)
        .Boolean("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled, true)
        .Boolean("Visible", &TControl::Visible, &TControl::SetVisible, false)
        .Event("OnCreate", &TCustomForm::OnCreate)
        .Event("OnDestroy", &TCustomForm::OnDestroy)
        .Event("OnShow", &TCustomForm::OnShow)
        .Event("OnHide", &TCustomForm::OnHide)
        .Event("OnActivate", &TCustomForm::OnActivate)
        .Event("OnDeactivate", &TCustomForm::OnDeactivate)
        .Event("OnPaint", &TCustomForm::OnPaint);
    TClassRegistrar<TForm>("TCustomForm");

    TClassRegistrar<TTimer>("TComponent")
        .Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true)
        .Integer("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000)
        .Event("OnTimer", &TTimer::OnTimer);

    // Menus and actions first: controls and forms refer to them.
    TClassRegistrar<TBasicAction>("TComponent")
        .Event("OnExecute", &TBasicAction::OnExecute)
        .Event("OnUpdate", &TBasicAction::OnUpdate);
    TClassRegistrar<TContainedAction>("TBasicAction")
        .String("Category", &TContainedAction::Category, &TContainedAction::SetCategory);
    TClassRegistrar<TCustomAction>("TContainedAction")
        .String("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption)
        .Boolean("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked, false)
        .Boolean("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled, true)
        .Integer("GroupIndex", &TCustomAction::GroupIndex, &TCustomAction::SetGroupIndex, 0)
        .String("Hint", &TCustomAction::Hint, &TCustomAction::SetHint)
        .Integer("ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex, -1)
        .Integer("ShortCut", &ActionShortCut, &SetActionShortCut, 0)
        .Boolean("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible, true)
        .Boolean("AutoCheck", &TCustomAction::AutoCheck, &TCustomAction::SetAutoCheck, false);
    TClassRegistrar<TAction>("TCustomAction");
    TClassRegistrar<TActionList>("TComponent")
        .ComponentRef<TCustomImageList>("Images", &TActionList::Images, &TActionList::SetImages);

    TClassRegistrar<TMenuItem>("TComponent")
        .String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
        .Integer("ShortCut", &MenuItemShortCut, &SetMenuItemShortCut, 0)
        .Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false)
        .Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true)
        .Boolean("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true)
        .Integer("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1)
        .Boolean("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false)
        .Integer("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0)
        .Boolean("Default", &TMenuItem::Default, &TMenuItem::SetDefault, false)
        .String("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
        .Boolean("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck, false)
        .Integer("HelpContext", &TMenuItem::HelpContext, &TMenuItem::SetHelpContext, 0)
        .Integer("Tag", &TMenuItem::Tag, &TMenuItem::SetTag, 0)
        .ComponentRef<TBasicAction>("Action", &TMenuItem::Action, &TMenuItem::SetAction)
        .Event("OnClick", &TMenuItem::OnClick);
    TClassRegistrar<TMenu>("TComponent")
        .ComponentRef<TCustomImageList>("Images", &TMenu::Images, &TMenu::SetImages)
        .Enum<TMenuAutoFlag>("AutoHotkeys", {"maAutomatic", "maManual", "maParent"}, &TMenu::AutoHotkeys,
                             &TMenu::SetAutoHotkeys, TMenuAutoFlag::maAutomatic)
        .Enum<TBiDiMode>(
            "BiDiMode",
            {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"},
            &TMenu::BiDiMode, &TMenu::SetBiDiMode, TBiDiMode::bdLeftToRight)
        .Boolean("ParentBiDiMode", &TMenu::ParentBiDiMode, &TMenu::SetParentBiDiMode, true)
        .Boolean("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw, false);
    TClassRegistrar<TMainMenu>("TMenu").Boolean("AutoMerge", &TMainMenu::AutoMerge, &TMainMenu::SetAutoMerge,
                                                false);
    TClassRegistrar<TPopupMenu>("TMenu")
        .Boolean("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true)
        .Enum<TPopupAlignment>("Alignment", {"paLeft", "paRight", "paCenter"}, &TPopupMenu::Alignment,
                               &TPopupMenu::SetAlignment, paLeft)
        .Event("OnPopup", &TPopupMenu::OnPopup)
        .Event("OnClose", &TPopupMenu::OnClose);

    // Menu slots of the classes below this layer.
    TClassRegistrar<TControl>("TComponent")
        .ComponentRef<TPopupMenu>("PopupMenu", &ControlPopupMenu, &SetControlPopupMenu);
    TClassRegistrar<TCustomForm>("TWinControl").ComponentRef<TMainMenu>("Menu", &FormMenu, &SetFormMenu);

    TClassRegistrar<TCustomPanel>("TCustomControl")
        .Enum<TBevelCut>("BevelInner", kBevels, &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner,
                         bvNone)
        .Enum<TBevelCut>("BevelOuter", kBevels, &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter,
                         bvRaised)
        .Integer("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth, 1)
        .Integer("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth, 0)
        .Enum<TFormBorderStyle>("BorderStyle", kBorderStyles, &TCustomPanel::BorderStyle,
                                &TCustomPanel::SetBorderStyle, bsNone)
        .Enum<TAlignment>("Alignment", kAlignments, &TCustomPanel::Alignment, &TCustomPanel::SetAlignment,
                          taCenter)
        .Boolean("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint, true);
    TClassRegistrar<TPanel>("TCustomPanel");

    TClassRegistrar<TCustomGroupBox>("TCustomControl");
    TClassRegistrar<TGroupBox>("TCustomGroupBox");

    TClassRegistrar<TCustomLabel>("TGraphicControl")
        .Boolean("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize, true)
        .Boolean("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent, false)
        .Enum<TAlignment>("Alignment", kAlignments, &TCustomLabel::Alignment, &TCustomLabel::SetAlignment,
                          taLeftJustify)
        .Enum<TTextLayout>("Layout", {"tlTop", "tlCenter", "tlBottom"}, &TCustomLabel::Layout,
                           &TCustomLabel::SetLayout, tlTop)
        .Boolean("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap, false)
        .Boolean("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar, true)
        .ComponentRef<TWinControl>("FocusControl", &TCustomLabel::FocusControl,
                                   &TCustomLabel::SetFocusControl);
    TClassRegistrar<TLabel>("TCustomLabel");

    TClassRegistrar<TCustomEdit>("TCustomControl")
        .Boolean("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false)
        .Integer("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0)
        .Enum<TFormBorderStyle>("BorderStyle", kBorderStyles, &TCustomEdit::BorderStyle,
                                &TCustomEdit::SetBorderStyle, bsSingle)
        .Boolean("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect, true)
        .Boolean("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection, true)
        .String("ImeName", &TCustomEdit::ImeName, &TCustomEdit::SetImeName)
        .Enum<TImeMode>("ImeMode",
                        {"imDisable", "imClose", "imOpen", "imDontCare", "imSAlpha", "imAlpha", "imHira",
                         "imSKata", "imKata", "imChinese", "imSHanguel", "imHanguel"},
                        &TCustomEdit::ImeMode, &TCustomEdit::SetImeMode, imDontCare)
        .Event("OnChange", &TCustomEdit::OnChange);
    TClassRegistrar<TEdit>("TCustomEdit");

    TClassRegistrar<TButton>("TCustomControl")
        .Boolean("Default", &TButton::Default, &TButton::SetDefault, false)
        .Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel, false)
        .NamedInteger("ModalResult", &IdentToModalResult, &TButton::ModalResult, &TButton::SetModalResult,
                      mrNone)
        .ComponentRef<TBasicAction>("Action", &TButton::Action, &TButton::SetAction);
}

} // namespace emr
