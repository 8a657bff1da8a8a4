#include "OptionDemoLayout.h"

namespace emr {

std::string_view OptionDemoLayout() {
    return R"(object OptionDemo: TForm
  Left = 200
  Top = 150
  ClientWidth = 460
  ClientHeight = 160
  Caption = 'Option window demo'
  Color = clBtnFace
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  object DockPanel: TAdvDockPanel
    Left = 0
    Top = 0
    Width = 460
    Height = 28
    ToolBarStyler = Styler
    UseRunTimeHeight = True
    object Standard: TAdvToolBar
      Left = 3
      Top = 1
      Caption = 'Standard'
      AutoOptionMenu = True
      OptionMenu = OptionsMenu
      TextAutoOptionMenu = 'Add or Remove Buttons'
      TextOptionMenu = 'Options'
      ToolBarStyler = Styler
      object NewButton: TAdvToolBarButton
        Caption = 'New'
        ShowCaption = True
      end
      object OpenButton: TAdvToolBarButton
        Caption = 'Open'
        ShowCaption = True
      end
      object SaveButton: TAdvToolBarButton
        Caption = 'Save'
        ShowCaption = True
      end
      object FileSeparator: TAdvToolBarSeparator
      end
      object CutButton: TAdvToolBarButton
        Caption = 'Cut'
        ShowCaption = True
      end
      object CopyButton: TAdvToolBarButton
        Caption = 'Copy'
        ShowCaption = True
      end
      object PasteButton: TAdvToolBarButton
        Caption = 'Paste'
        ShowCaption = True
      end
      object EditSeparator: TAdvToolBarSeparator
      end
      object UndoButton: TAdvToolBarButton
        Caption = 'Undo'
        ShowCaption = True
      end
      object RedoButton: TAdvToolBarButton
        Caption = 'Redo'
        ShowCaption = True
      end
    end
  end
  object Body: TPanel
    Align = alClient
    BevelOuter = bvNone
    Color = clWindow
  end
  object OptionsMenu: TAdvPopupMenu
    object ResetItem: TMenuItem
      Caption = 'Reset Toolbar'
    end
    object CustomizeItem: TMenuItem
      Caption = 'Customize...'
    end
  end
  object Styler: TAdvToolBarOfficeStyler
    Style = bsOffice2003Blue
  end
end
)";
}

} // namespace emr
