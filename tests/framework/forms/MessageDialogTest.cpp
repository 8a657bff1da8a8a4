#include <gtest/gtest.h>

#include "FormsHarness.h"
#include "ScopedEnvironment.h"
#include "framework/forms/Button.h"
#include "framework/forms/MessageDialog.h"

namespace emr::testing {
namespace {

struct MessageDialogFixture : ::testing::Test {
    FormsHarness h;
    TForm* owner = h.NewForm(300, 200, 300, 150);
    TButton* button = Place<TButton>(owner, 20, 20, 100, 30);
    int ownerClicks = 0;

    void SetUp() override {
        h.App().SetMainForm(owner);
        button->OnClick = [this](TObject*) { ++ownerClicks; };
        owner->Show();
        h.App().ProcessMessages();
    }
    TCustomForm* Box() { return h.FindFormByClass("TMessageForm"); }
    TControl* Control(TCustomForm* box, const std::string& name) {
        return dynamic_cast<TControl*>(box->FindComponent(name));
    }
};

TEST_F(MessageDialogFixture, BlocksInputToItsOwnerAndReturnsOkAfterAClickOnOk) {
    int stage = 0;
    bool ownerDisabledWhileOpen = false;
    h.OnIdle([&] {
        TCustomForm* box = Box();
        if (!box) return false;
        if (stage == 0) {
            ownerDisabledWhileOpen = !owner->Enabled();
            h.ClickOn(button); // ignored: the owner is disabled
            h.Backend().TypeText("x");
        } else if (stage == 1) {
            h.ClickOn(Control(box, "Button1"));
        }
        ++stage;
        return true;
    });
    const int result = ShowMessageDialog("补丁应用成功！", "提示", MB_OKCANCEL | MB_ICONINFORMATION);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(stage, 2) << "the box closed on the click on OK, not on running out of input";
    EXPECT_TRUE(ownerDisabledWhileOpen);
    EXPECT_TRUE(owner->Enabled()) << "re-enabled afterwards";
    EXPECT_EQ(ownerClicks, 0);
    EXPECT_EQ(Box(), nullptr) << "the box is gone";
    // The owner takes input again.
    h.ClickOn(button);
    h.App().ProcessMessages();
    EXPECT_EQ(ownerClicks, 1);
}

TEST_F(MessageDialogFixture, EnterDismissesTheBoxAndEscAnswersCancel) {
    int stage = 0;
    h.OnIdle([&] {
        if (!Box()) return false;
        if (stage == 0) h.Backend().Key(platform::VK_RETURN);
        ++stage;
        return true;
    });
    EXPECT_EQ(ShowMessageDialog("text", "caption", MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(stage, 1) << "Enter closed the box at once";

    stage = 0;
    h.OnIdle([&] {
        if (!Box()) return false;
        if (stage == 0) h.Backend().Key(platform::VK_ESCAPE);
        ++stage;
        return true;
    });
    EXPECT_EQ(ShowMessageDialog("text", "caption", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(stage, 1);
}

TEST_F(MessageDialogFixture, IsOwnedByTheMainFormCentredOnItAndShowsTheInformationIcon) {
    bool checked = false;
    h.OnIdle([&] {
        TCustomForm* box = Box();
        if (!box || checked) return false;
        checked = true;
        EXPECT_EQ(box->Caption(), "提示");
        EXPECT_EQ(box->BorderStyle(), bsDialog);
        EXPECT_EQ(box->PopupParent(), owner);
        const auto* window = h.Backend().FindWindow(box->NativeWindow());
        EXPECT_TRUE(window && window->Style.Owner == owner->NativeWindow());
        // Centred on the owner (within a pixel of rounding).
        EXPECT_NEAR(box->Left() + box->Width() / 2, owner->Left() + owner->Width() / 2, 1);
        EXPECT_NEAR(box->Top() + box->Height() / 2, owner->Top() + owner->Height() / 2, 1);
        // Blue disc with a white "i": dot and stem white, disc blue, corners background.
        TControl* icon = Control(box, "Image");
        EXPECT_TRUE(icon);
        if (icon) {
            h.App().PaintPending();
            EXPECT_EQ(h.Pixel(icon, 16, 8), 0xFFFFFFu);
            EXPECT_EQ(h.Pixel(icon, 16, 20), 0xFFFFFFu);
            EXPECT_EQ(h.Pixel(icon, 5, 16), 0x0066CCu);
            EXPECT_EQ(h.Pixel(icon, 16, 11), 0x0066CCu) << "gap between dot and stem";
            EXPECT_EQ(h.Pixel(icon, 0, 0), kFace);
        }
        const std::string png = ::testing::TempDir() + "messagebox.png";
        h.Backend().RenderScreenToPng(png);
        h.Backend().Key(platform::VK_RETURN);
        return true;
    });
    EXPECT_EQ(ShowMessageDialog("补丁应用成功！", "提示", MB_ICONINFORMATION), IDOK);
    EXPECT_TRUE(checked);
}

TEST_F(MessageDialogFixture, ClosingTheBoxWithoutAButtonAnswersItsOnlyButton) {
    int requests = 0;
    h.OnIdle([&] {
        TCustomForm* box = Box();
        if (!box || requests++ > 0) return false;
        h.Backend().RequestClose(box->NativeWindow());
        return true;
    });
    EXPECT_EQ(ShowMessageDialog("text", "caption", MB_OK), IDOK);
    EXPECT_EQ(requests, 1) << "one close request closed it";
}

TEST_F(MessageDialogFixture, ABoxWhoseWindowIsDestroyedFromOutsideEndsItsLoop) {
    bool destroyed = false;
    h.OnIdle([&] {
        TCustomForm* box = Box();
        if (!box || destroyed) return false;
        h.Backend().DestroyFromOutside(box->NativeWindow());
        destroyed = true;
        return true;
    });
    // Before, the box's loop waited for input to a window that no longer existed.
    const int result = ShowMessageDialog("text", "caption", MB_OK);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(result, IDOK) << "answers as its close box would";
    EXPECT_TRUE(owner->Enabled());
    h.ClickOn(button);
    h.App().ProcessMessages();
    EXPECT_EQ(ownerClicks, 1) << "the owner takes input again";
}

TEST_F(MessageDialogFixture, ButtonsSpeakTheUsersLanguage) {
    struct TCase {
        const char* Locale;
        unsigned Flags;
        std::vector<std::string> Captions;
    };
    const TCase cases[] = {
        {"C.UTF-8", MB_OK, {"OK"}},
        {"zh_CN.UTF-8", MB_OK, {"确定"}},
        {"zh_CN.GB18030", MB_YESNOCANCEL, {"是(&Y)", "否(&N)", "取消"}},
        {"zh_TW.UTF-8", MB_RETRYCANCEL, {"重試(&R)", "取消"}},
        {"en_US.UTF-8", MB_OKCANCEL, {"OK", "Cancel"}},
    };
    for (const TCase& c : cases) {
        const TScopedEnvironment locale("LC_ALL", c.Locale);
        std::vector<std::string> seen;
        h.OnIdle([&] {
            TCustomForm* box = Box();
            if (!box) return false;
            for (std::size_t i = 0; i < c.Captions.size(); ++i)
                if (auto* b = dynamic_cast<TButton*>(Control(box, "Button" + std::to_string(i + 1))))
                    seen.push_back(b->Caption());
            h.Backend().Key(platform::VK_ESCAPE);
            return true;
        });
        ShowMessageDialog("text", "caption", c.Flags);
        EXPECT_EQ(seen, c.Captions) << c.Locale;
    }
}

} // namespace
} // namespace emr::testing
