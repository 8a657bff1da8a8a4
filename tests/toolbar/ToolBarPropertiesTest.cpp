// The toolbar's published properties as stored layouts write and read them.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "ToolBarFixture.h"
#include "framework/core/ClassRegistry.h"
#include "framework/streaming/LayoutReader.h"
#include "framework/streaming/LayoutWriter.h"
#include "toolbar/ToolbarClasses.h"

namespace emr {
namespace {

using testing::ToolBarFixture;

class ToolBarProperties : public ToolBarFixture {
protected:
    void SetUp() override {
        ToolBarFixture::SetUp();
        RegisterToolbarClasses();
        form->SetName("Main");
        styler->SetName("Styler");
        toolBar->SetName("Bar");
    }

    /// Writes the form, frees it and reads it back; the toolbar that comes back.
    TAdvToolBar* WriteAndReadBack() {
        text = TLayoutWriter::WriteRootToText(form);
        TObject::Free(form);
        form = nullptr;
        toolBar = nullptr;
        TComponent* root = TLayoutReader::CreateFromText(text, app);
        return dynamic_cast<TAdvToolBar*>(root->FindComponent("Bar"));
    }

    /// The property lines written for the toolbar itself, without their indentation.
    std::vector<std::string> ToolBarLines() const {
        std::vector<std::string> lines;
        std::istringstream in(text);
        bool inside = false;
        for (std::string line; std::getline(in, line);) {
            const std::string trimmed = line.substr(line.find_first_not_of(' '));
            if (trimmed.starts_with("object Bar:")) {
                inside = true;
            } else if (inside && (trimmed == "end" || trimmed.starts_with("object "))) {
                break;
            } else if (inside) {
                lines.push_back(trimmed);
            }
        }
        return lines;
    }

    std::string text;
};

TEST_F(ToolBarProperties, EveryChangedPublishedValueComesBackFromAStoredLayout) {
    TAdvToolBar* t = toolBar;
    t->SetAllowFloating(false);
    t->SetAntiAlias(TAntiAlias::aaNone);
    t->SetAutoArrangeButtons(false);
    t->SetAutoDockOnClose(true);
    t->SetAutoOptionMenu(true);
    t->SetLocked(true);
    t->SetCaption("Tools");
    t->CaptionFont()->SetName("Tahoma");
    t->SetCaptionHeight(20);
    t->SetCaptionPosition(TCaptionPosition::cpBottom);
    t->SetCaptionAlignment(TAlignment::taCenter);
    t->SetCompactCaption("Compact");
    t->SetCompactImageIndex(3);
    t->SetCompactShortCutHint("K");
    t->SetShowCaption(true);
    t->SetHintOptionButton("More");
    t->SetHintCloseButton("Close");
    t->SetShowRightHandle(false);
    t->SetShowClose(false);
    t->SetShowOptionIndicator(false);
    t->SetDockableTo(0x5);
    t->SetDockMode(TDockMode::dmParentDockPanelOnly);
    t->SetTextAutoOptionMenu("Add");
    t->SetTextOptionMenu("Choices");
    t->SetParentStyler(false);
    t->SetParentOptionPicture(false);
    t->OfficeHint()->SetTitle("Hint title");
    t->Persistence()->SetKey("Key1");
    t->SetAutoPositionControls(false);

    TAdvToolBar* r = WriteAndReadBack();
    ASSERT_NE(r, nullptr) << text;
    EXPECT_FALSE(r->AllowFloating());
    EXPECT_EQ(r->AntiAlias(), TAntiAlias::aaNone);
    EXPECT_FALSE(r->AutoArrangeButtons());
    EXPECT_TRUE(r->AutoDockOnClose());
    EXPECT_TRUE(r->AutoOptionMenu());
    EXPECT_TRUE(r->Locked());
    EXPECT_EQ(r->Caption(), "Tools");
    EXPECT_EQ(r->CaptionFont()->Name(), "Tahoma");
    EXPECT_EQ(r->CaptionHeight(), 20);
    EXPECT_EQ(r->CaptionPosition(), TCaptionPosition::cpBottom);
    EXPECT_EQ(r->CaptionAlignment(), TAlignment::taCenter);
    EXPECT_EQ(r->CompactCaption(), "Compact");
    EXPECT_EQ(r->CompactImageIndex(), 3);
    EXPECT_EQ(r->CompactShortCutHint(), "K");
    EXPECT_TRUE(r->ShowCaption());
    EXPECT_EQ(r->HintOptionButton(), "More");
    EXPECT_EQ(r->HintCloseButton(), "Close");
    EXPECT_FALSE(r->ShowRightHandle());
    EXPECT_FALSE(r->ShowClose());
    EXPECT_FALSE(r->ShowOptionIndicator());
    EXPECT_EQ(r->DockableTo(), 0x5u);
    EXPECT_EQ(r->DockMode(), TDockMode::dmParentDockPanelOnly);
    EXPECT_EQ(r->TextAutoOptionMenu(), "Add");
    EXPECT_EQ(r->TextOptionMenu(), "Choices");
    EXPECT_FALSE(r->ParentStyler());
    EXPECT_EQ(r->ToolBarStyler(), r->Owner()->FindComponent("Styler"));
    EXPECT_FALSE(r->ParentOptionPicture());
    EXPECT_EQ(r->OfficeHint()->Title(), "Hint title");
    EXPECT_EQ(r->Persistence()->Key(), "Key1");
    EXPECT_FALSE(r->AutoPositionControls());
    EXPECT_FALSE(r->AutoSize());
}

// What a toolbar with its start values writes, line for line: stored layouts
// written before keep reading the same, and a start value that disagrees with
// the stored default shows up here as an extra line.
TEST_F(ToolBarProperties, AToolBarWithItsStartValuesWritesTheseLinesInThisOrder) {
    WriteAndReadBack();
    const TClassInfo* info = TClassRegistry::Instance().Find("TAdvToolBar");
    ASSERT_NE(info, nullptr);
    std::vector<std::string> published;
    for (const TPropInfo& p : info->Properties)
        published.push_back(p.Name);
    ASSERT_GT(published.size(), 40u);
    std::vector<std::string> written;
    for (const std::string& line : ToolBarLines()) {
        const std::string name = line.substr(0, line.find_first_of(" ."));
        if (std::find(published.begin(), published.end(), name) != published.end()) written.push_back(line);
    }
    // The styler reference is the fixture's own setting.
    const std::vector<std::string> expected = {
        "Persistence.Section = 'UnDockedAdvToolBars'",
        "CaptionFont.Charset = 1",
        "CaptionFont.Color = 4278190088",
        "CaptionFont.Height = -11",
        "CaptionFont.Name = 'Tahoma'",
        "CaptionFont.Size = 8",
        "CompactPicture.Bitmap.TransparentColor = 536870911",
        "TextAutoOptionMenu = 'Add or Remove Buttons'",
        "TextOptionMenu = 'Options'",
        "ParentStyler = False",
        "ToolBarStyler = Styler",
        "OptionPicture.Bitmap.TransparentColor = 536870911",
        "OptionDisabledPicture.Bitmap.TransparentColor = 536870911",
        "ToolBarIndex = -1",
        "Version = '5.0.3.0'",
    };
    EXPECT_EQ(written, expected) << text;
}

TEST_F(ToolBarProperties, TheToolBarsOwnStateStaysOutOfStoredLayouts) {
    const TClassInfo* info = TClassRegistry::Instance().Find("TAdvToolBar");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->FindProperty("FloatingRows"), nullptr);
    // Registered in the order stored layouts have always written them.
    ASSERT_GE(info->Properties.size(), 2u);
    EXPECT_EQ(info->Properties.front().Name, "Persistence");
    EXPECT_EQ(info->Properties.back().Name, "OnClose");
}

} // namespace
} // namespace emr
