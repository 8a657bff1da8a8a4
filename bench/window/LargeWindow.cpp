#include "LargeWindow.h"

#include <cstdlib>
#include <memory>

#include "framework/forms/FormsClasses.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/streaming/LayoutReader.h"
#include "styling/StylingClasses.h"
#include "toolbar/ToolbarClasses.h"

namespace emr::bench {

namespace {

constexpr int kButtonsPerToolBar = 20;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;
constexpr const char* kEdges[] = {"daTop", "daBottom", "daLeft", "daRight"};
constexpr int kPanels = 4;

std::string PersistenceLines(const std::string& indent, const std::string& file, const std::string& section) {
    return indent + "Persistence.Location = plIniFile\n" + indent + "Persistence.Key = '" + file + "'\n" +
           indent + "Persistence.Section = '" + section + "'\n" + indent + "Persistence.Enabled = True\n";
}

std::string ButtonText(int toolBar, int button) {
    const std::string n = std::to_string(toolBar) + "x" + std::to_string(button);
    return "      object Button" + n +
           ": TAdvToolBarButton\n        Left = " + std::to_string(2 + button * kButtonWidth) +
           "\n        Top = 2\n        Width = " + std::to_string(kButtonWidth) +
           "\n        Height = " + std::to_string(kButtonHeight) + "\n      end\n";
}

/// The stored layout of the whole window: a styler, four panels and their toolbars.
std::string WindowLayout(int toolBars, const std::string& file) {
    std::string text = "object LargeWindow: TForm\n  Left = 0\n  Top = 0\n  Width = 1300\n  Height = 1000\n"
                       "  object Styler: TAdvToolBarOfficeStyler\n  end\n";
    for (int p = 0; p < kPanels; ++p) {
        text += "  object Panel" + std::to_string(p) + ": TAdvDockPanel\n    Align = " + kEdges[p] + "\n" +
                "    ToolBarStyler = Styler\n" + PersistenceLines("    ", file, "Panel" + std::to_string(p));
        for (int t = p; t < toolBars; t += kPanels) {
            text += "    object ToolBar" + std::to_string(t) +
                    ": TAdvToolBar\n      Left = 3\n      Top = 1\n      ToolBarStyler = Styler\n" +
                    PersistenceLines("      ", file, "Panel" + std::to_string(p));
            for (int b = 0; b < kButtonsPerToolBar; ++b)
                text += ButtonText(t, b);
            text += "    end\n";
        }
        text += "  end\n";
    }
    return text + "end\n";
}

} // namespace

TLargeWindow::TLargeWindow(int toolBars) {
    char pattern[] = "/tmp/emr-large-window-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    layout_ = WindowLayout(toolBars, dir_ + "/layout.ini");
    RegisterFormsClasses();
    RegisterStylingClasses();
    RegisterToolbarClasses();
    platform::Backend::Install(std::make_unique<platform::HeadlessBackend>());
    app_ = new TApplication(nullptr);
    // The first window writes the file that every later one reads.
    Open();
    Close();
}

TLargeWindow::~TLargeWindow() {
    TObject::Free(app_);
    platform::Backend::Uninstall();
    const std::string command = "rm -rf '" + dir_ + "'";
    if (std::system(command.c_str()) != 0) std::abort();
}

void TLargeWindow::Open() {
    form_ = new TForm(app_);
    TLayoutReader::ReadRootFromText(layout_, form_);
    form_->Show();
    app_->ProcessMessages();
}

void TLargeWindow::Close() {
    TObject::Free(form_);
    form_ = nullptr;
}

} // namespace emr::bench
