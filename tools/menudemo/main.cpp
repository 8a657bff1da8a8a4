// menudemo: a resizable window whose top dock panel holds a full-size menu
// toolbar (File, Edit, View from a styled main menu) and an ordinary toolbar,
// for trying the menu bar by hand or from xdotool.
//
// Standard output carries one line per change of the menu bar's state, polled:
//   bar X Y W H  button CAPTION X Y W H ...  hot CAPTION|-  mode 0|1  menu FIRST-ITEM|- items N
//   children N active CAPTION|- maximized 0|1
// (screen positions; the first item of the open popup, if any), and one line
//   chosen CAPTION
// whenever a menu item runs, so that a driver needs no pixels to follow along.
#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "DemoHost.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/MDIChild.h"
#include "framework/forms/MenuItem.h"
#include "framework/forms/PopupMenuWindow.h"
#include "framework/forms/Screen.h"
#include "framework/forms/ShortCut.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/ImageList.h"
#include "framework/streaming/LayoutReader.h"
#include "menus/AdvMainMenu.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/ToolBarKeyboardMode.h"

using namespace emr;

namespace {

constexpr const char* kLayout = R"(object MenuDemo: TForm
  Left = 200
  Top = 150
  ClientWidth = 520
  ClientHeight = 300
  Caption = 'Menu bar demo'
  FormStyle = fsMDIForm
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  object DockPanel: TAdvDockPanel
    Left = 0
    Top = 0
    Width = 520
    Height = 54
    ToolBarStyler = Styler
    UseRunTimeHeight = True
    object MenuBar: TAdvToolBar
      Left = 3
      Top = 1
      Caption = 'Menu'
      FullSize = True
      Menu = MainMenu
      AutoMDIButtons = True
      ToolBarStyler = Styler
    end
    object Standard: TAdvToolBar
      Left = 3
      Top = 28
      Caption = 'Standard'
      ToolBarStyler = Styler
      object NewButton: TAdvToolBarButton
        Caption = '&New'
        ShowCaption = True
      end
      object SaveButton: TAdvToolBarButton
        Caption = '&Save'
        ShowCaption = True
      end
    end
  end
  object Body: TPanel
    Align = alClient
    BevelOuter = bvNone
    Color = clWindow
  end
  object MainMenu: TAdvMainMenu
    object FileMenu: TMenuItem
      Caption = '&File'
      object NewItem: TMenuItem
        Caption = '&New'
      end
      object OpenItem: TMenuItem
        Caption = '&Open...'
      end
      object RecentItem: TMenuItem
        Caption = '&Recent'
        object RecentOne: TMenuItem
          Caption = '1 notes.txt'
        end
        object RecentTwo: TMenuItem
          Caption = '2 patch.log'
        end
      end
      object FileLine: TMenuItem
        Caption = '-'
      end
      object ExitItem: TMenuItem
        Caption = 'E&xit'
      end
    end
    object EditMenu: TMenuItem
      Caption = '&Edit'
      object UndoItem: TMenuItem
        Caption = '&Undo'
      end
      object CutItem: TMenuItem
        Caption = 'Cu&t'
        Enabled = False
      end
      object PasteItem: TMenuItem
        Caption = '&Paste'
      end
    end
    object ViewMenu: TMenuItem
      Caption = '&View'
      object ToolbarItem: TMenuItem
        Caption = '&Toolbar'
        Checked = True
      end
      object StatusItem: TMenuItem
        Caption = '&Status bar'
      end
      object ZoomItem: TMenuItem
        Caption = '&Zoom'
        object ZoomIn: TMenuItem
          Caption = 'Zoom &in'
        end
        object ZoomOut: TMenuItem
          Caption = 'Zoom &out'
        end
      end
    end
  end
  object Styler: TAdvToolBarOfficeStyler
    Style = bsOffice2003Blue
  end
end
)";

/// A 16 x 16 image: a coloured square with a dark frame on a magenta (masked) ground.
void AddImage(TCustomImageList* images, TColor colour) {
    TBitmap bitmap(16, 16);
    TCanvas* c = bitmap.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect({0, 0, 16, 16});
    c->Brush()->SetColor(colour);
    c->Pen()->SetColor(clNavy);
    c->Rectangle(2, 2, 14, 14);
    images->AddMasked(&bitmap, clFuchsia);
}

void Dress(TCustomForm* form) {
    auto* menu = form->FindComponentAs<TAdvMainMenu>("MainMenu");
    auto* images = new TCustomImageList(form);
    images->SetWidth(16);
    images->SetHeight(16);
    AddImage(images, clYellow);
    AddImage(images, clLime);
    AddImage(images, clAqua);
    menu->SetImages(images);
    auto item = [form](const char* name) { return form->FindComponentAs<TMenuItem>(name); };
    item("NewItem")->SetImageIndex(0);
    item("OpenItem")->SetImageIndex(1);
    item("PasteItem")->SetImageIndex(2);
    item("NewItem")->SetShortCut(TextToShortCut("Ctrl+N"));
    item("OpenItem")->SetShortCut(TextToShortCut("Ctrl+O"));
    item("UndoItem")->SetShortCut(TextToShortCut("Ctrl+Z"));
    item("PasteItem")->SetShortCut(TextToShortCut("Ctrl+V"));
    item("ToolbarItem")->SetAutoCheck(true);
    item("StatusItem")->SetAutoCheck(true);
    for (TComponent* c : form->Components())
        if (auto* mi = dynamic_cast<TMenuItem*>(c))
            mi->OnClick = [mi](TObject*) {
                if (mi->Count() == 0) std::cout << "chosen " << mi->Caption() << std::endl;
            };
    // Two document windows; the second starts maximized, so the menu bar shows its buttons.
    auto* body = form->FindComponentAs<TWinControl>("Body");
    for (int i = 0; i < 2; ++i) {
        auto* child = new TMDIChild(form);
        child->SetName(i == 0 ? "Notes" : "Report");
        child->SetCaption(i == 0 ? "Notes" : "Report");
        child->SetParent(body);
        child->SetBounds(10 + 30 * i, 10 + 30 * i, 260, 150);
        if (i == 1) child->SetWindowState(wsMaximized);
    }
    item("ExitItem")->OnClick = [form](TObject*) {
        std::cout << "chosen E&xit" << std::endl;
        form->Close();
    };
}

std::string Describe(const TAdvCustomToolBar& bar) {
    std::ostringstream out;
    const TPoint at = bar.ClientToScreen({0, 0});
    out << "bar " << at.X << ' ' << at.Y << ' ' << bar.Width() << ' ' << bar.Height();
    for (const TControl* c : bar.PositionList()) {
        const auto* b = dynamic_cast<const TAdvCustomToolBarButton*>(c);
        if (!b) continue;
        const TPoint p = b->ClientToScreen({0, 0});
        out << " button " << b->Caption() << ' ' << p.X << ' ' << p.Y << ' ' << b->Width() << ' '
            << b->Height();
    }
    out << " hot " << (bar.HotButton() ? bar.HotButton()->Caption() : "-");
    out << " mode " << (bar.KeyboardModeHandler()->MenuMode() ? 1 : 0);
    std::string first = "-";
    int windows = 0;
    for (TCustomForm* f : Screen().FormList())
        if (auto* w = dynamic_cast<TPopupMenuWindow*>(f); w && w->Visible()) {
            if (windows++ == 0 && !w->ShownItems().empty()) first = w->ShownItems().front()->Caption();
        }
    out << " menu " << first << " items " << windows;
    int children = 0;
    for (TComponent* c : bar.Owner()->Components())
        if (dynamic_cast<TMDIChild*>(c)) ++children;
    const TMDIChild* active = ActiveMDIChildOf(dynamic_cast<const TCustomForm*>(bar.Owner()));
    out << " children " << children << " active " << (active ? active->Caption() : "-") << " maximized "
        << (active && active->WindowState() == wsMaximized ? 1 : 0);
    return out.str();
}

} // namespace

int main() {
    return RunDemoOnX11("menudemo", [](TApplication* app) {
        auto* form = dynamic_cast<TCustomForm*>(TLayoutReader::CreateFromText(kLayout, app));
        if (!form) throw std::runtime_error("the layout's root is not a form");
        Dress(form);
        auto* bar = form->FindComponentAs<TAdvCustomToolBar>("MenuBar");
        ReportChanges(form, [bar] { return Describe(*bar); });
        return form;
    });
}
