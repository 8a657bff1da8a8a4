#pragma once

#include <string_view>

#include "framework/forms/Form.h"

namespace emr {

class TAdvDockPanel;
class TAdvToolBar;
class TAdvToolBarButton;
class TAdvToolBarOfficeStyler;
class TPanel;
class TGroupBox;
class TLabel;
class TEdit;

/// The program's one window: a command bar with "确定" (apply the regional-format
/// patch) and "退出" (quit) above an empty sunken panel. The panel holds a hidden
/// box with the time format in force at start-up.
class TForm1 : public TForm {
    EMR_CLASS(TForm1)
public:
    explicit TForm1(TComponent* owner);

    // Published components, in the order of the stored layout.
    TAdvDockPanel* AdvDockPanel1 = nullptr;
    TAdvToolBar* AdvToolBar1 = nullptr;
    TAdvToolBarButton* AdvToolBarButton1 = nullptr;
    TAdvToolBarButton* AdvToolBarButton2 = nullptr;
    TPanel* Panel1 = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TEdit* Edit1 = nullptr;
    TEdit* Edit3 = nullptr;
    TEdit* Edit4 = nullptr;
    TAdvToolBarOfficeStyler* AdvToolBarOfficeStyler3 = nullptr;

    // Published handlers.
    /// Fixes the frame: single border, system menu only, normal state, centred on the main window.
    void FormCreate(TObject* sender);
    /// Fills the hidden fields with the start-up date/time format and designators.
    void FormShow(TObject* sender);
    /// "确定": applies the patch, reports it, and closes the window when it succeeded.
    void AdvToolBarButton1Click(TObject* sender);
    /// "退出": asks the application to end, without patching and without a box.
    void AdvToolBarButton2Click(TObject* sender);
};

/// The stored layout of TForm1, compiled into the program.
std::string_view Unit1Layout();

} // namespace emr
