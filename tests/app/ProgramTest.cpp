#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/AppEnvironment.h"
#include "app/LinuxLocalePlatform.h"
#include "app/Program.h"
#include "app/RegionalSettingsStore.h"
#include "app/Unit1.h"
#include "framework/forms/Application.h"
#include "framework/forms/Label.h"
#include "framework/forms/Screen.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/storage/PosixFileSystem.h"

namespace emr {
namespace {

namespace fs = std::filesystem;

/// A second top-level window that counts the setting-change broadcasts it gets.
class TListeningForm : public TForm {
    EMR_CLASS(TListeningForm)
public:
    using TForm::TForm;
    int SettingChanges = 0;
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_SETTINGCHANGE && message.WParam == 0 && message.LParam == 0) ++SettingChanges;
        TForm::WndProc(message);
    }
};

/// What the user saw in a message box.
struct TSeenBox {
    std::string Caption;
    std::string Text;
    bool OwnedByMainForm = false;
    bool MainFormDisabled = false;
};

/// The program as main builds it: the Linux locale platform on a temporary
/// settings folder, connected to the application, on the headless backend.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/emr-program-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        settings_ = root_ / "regional-settings.ini";
        platform::Backend::Install(std::make_unique<platform::HeadlessBackend>());
        store_ = std::make_unique<TRegionalSettingsStore>(settings_.string(), files_);
        locale_ = std::make_unique<TLinuxLocalePlatform>(*store_);
        AppEnvironment().Platform = locale_.get();
        ConnectLocalePlatform(*locale_);
        form_ = StartApplication();
        // Answers each message box with OK once it is up, noting what it showed.
        hook_ = Application->AddGetMessageHook([this](TMsg&) {
            for (TCustomForm* form : Screen().FormList()) {
                if (form == form_ || !form->Visible() || form->ModalResult() != mrNone) continue;
                if (auto* label = form->FindComponentAs<TLabel>("Message")) {
                    boxes_.push_back(
                        {form->Caption(), label->Caption(), form->PopupParent() == form_, !form_->Enabled()});
                    form->SetModalResult(mrOk);
                }
            }
            return false;
        });
    }
    void TearDown() override {
        ShutDownApplication();
        platform::Backend::Uninstall();
        AppEnvironment() = TAppEnvironment{};
        fs::remove_all(root_);
    }
    std::string Settings() const {
        std::ifstream in(settings_, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path root_;
    fs::path settings_;
    TPosixFileSystem files_;
    std::unique_ptr<TRegionalSettingsStore> store_;
    std::unique_ptr<TLinuxLocalePlatform> locale_;
    TForm1* form_ = nullptr;
    THookId hook_ = 0;
    std::vector<TSeenBox> boxes_;
};

TEST_F(ProgramTest, ApplyWritesTheSettingsBroadcastsAndReportsInAModalBox) {
    std::ofstream(settings_) << "[Desktop]\nWallpaper=sea.png\n";
    auto* listener = new TListeningForm(Application);
    Application->Run();

    form_->AdvToolBarButton1Click(form_);
    EXPECT_EQ(Settings(), "[Desktop]\nWallpaper=sea.png\n\n[International]\nsShortDate=yyyy-MM-dd\n"
                          "sLongDate=yyyy'年'M'月 'd'日'\nsTimeFormat=HH:mm:ss\ns1159=\ns2359=\n");
    EXPECT_EQ(listener->SettingChanges, 1);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Caption, "提示");
    EXPECT_EQ(boxes_[0].Text, "补丁应用成功！");
    EXPECT_TRUE(boxes_[0].OwnedByMainForm);
    EXPECT_TRUE(boxes_[0].MainFormDisabled) << "the box is application-modal";

    Application->Run();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(ProgramTest, UnwritableSettingsReportFailureAndKeepTheWindow) {
    // The settings folder is a regular file, so nothing can be written below it.
    std::ofstream(root_ / "file") << "x";
    store_ =
        std::make_unique<TRegionalSettingsStore>((root_ / "file" / "regional-settings.ini").string(), files_);
    locale_ = std::make_unique<TLinuxLocalePlatform>(*store_);
    ConnectLocalePlatform(*locale_);
    AppEnvironment().Platform = locale_.get();
    Application->Run();

    form_->AdvToolBarButton1Click(form_);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Text, "补丁应用失败！");
    Application->Run();
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(form_->Showing());
    EXPECT_TRUE(form_->Enabled()) << "the window is usable again after the box";
}

} // namespace
} // namespace emr
