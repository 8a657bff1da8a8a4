#include "ToolBarFixture.h"

#include "framework/graphics/ImageList.h"
#include "framework/streaming/LayoutReader.h"
#include "toolbar/ToolbarClasses.h"

namespace emr::testing {
namespace {

using StoredLayout = ToolBarFixture;

// A stored layout sets toolbar and button properties by name and path, attaches the
// buttons through their stored parent, and the after-load steps lay them out.
TEST_F(StoredLayout, ToolBarAndButtonsLoadAndLayOut) {
    RegisterToolbarClasses();
    const char* text = R"(object Form2: TForm
  ClientWidth = 300
  ClientHeight = 100
  object Styler: TAdvToolBarOfficeStyler
    ButtonAppearance.ColorHot = 13432063
    Color.Direction = gdVertical
  end
  object Bar: TAdvToolBar
    Left = 3
    Top = 1
    Width = 91
    Height = 45
    Caption = 'Untitled'
    CompactImageIndex = -1
    TextAutoOptionMenu = 'Add or Remove Buttons'
    TextOptionMenu = 'Options'
    ToolBarStyler = Styler
    ParentOptionPicture = True
    ToolBarIndex = -1
    object B1: TAdvToolBarButton
      Left = 9
      Top = 2
      Width = 34
      Height = 41
      Caption = #30830#23450
      ShowCaption = True
      GlyphPosition = gpTop
      Down = True
      Style = tasCheck
      Appearance.CaptionFont.Name = 'Tahoma'
      Version = '5.0.3.0'
    end
    object B2: TAdvToolBarButton
      Left = 43
      Top = 2
      Width = 34
      Height = 41
      Caption = #36864#20986
      ShowCaption = True
      GlyphPosition = gpTop
    end
  end
end
)";
    TComponent* root = TLayoutReader::CreateFromText(text, app);
    auto* bar = root->FindComponentAs<TAdvToolBar>("Bar");
    auto* b1 = root->FindComponentAs<TAdvToolBarButton>("B1");
    auto* b2 = root->FindComponentAs<TAdvToolBarButton>("B2");
    ASSERT_TRUE(bar && b1 && b2);
    EXPECT_EQ(b1->ToolBar(), bar);
    EXPECT_EQ(b1->Caption(), "确定");
    EXPECT_EQ(bar->CurrentStyler(), root->FindComponent("Styler"));
    EXPECT_EQ(bar->PositionList().size(), 2u);
    EXPECT_EQ(bar->PositionList()[0], b1);
    // Down stored before Style = tasCheck is honoured at the end of loading.
    EXPECT_TRUE(b1->Down());
    EXPECT_EQ(b1->Left(), 9);
    EXPECT_EQ(b2->Left(), 9 + b1->Width());
    EXPECT_EQ(b1->Top(), 2);
    EXPECT_EQ(bar->Caption(), "Untitled");
    EXPECT_EQ(bar->TextOptionMenu(), "Options");
}

// Assigning an image list at run time makes room for the images; a stored layout
// already holds that room in its Height, so loading one keeps the stored thickness.
TEST_F(StoredLayout, StoredToolBarWithImagesKeepsItsStoredThickness) {
    RegisterToolbarClasses();
    const char* text = R"(object Form3: TForm
  ClientWidth = 300
  ClientHeight = 100
  object Panel: TAdvDockPanel
    Width = 300
    Height = 30
    object Bar: TAdvToolBar
      Left = 3
      Top = 1
      Width = 60
      Height = 28
      Images = Glyphs
      object B1: TAdvToolBarButton
        ImageIndex = 0
      end
    end
  end
  object Glyphs: TImageList
    Width = 16
    Height = 16
  end
end
)";
    TComponent* root = TLayoutReader::CreateFromText(text, app);
    auto* bar = root->FindComponentAs<TAdvToolBar>("Bar");
    auto* b1 = root->FindComponentAs<TAdvToolBarButton>("B1");
    ASSERT_TRUE(bar && b1);
    EXPECT_EQ(bar->Height(), 28);
    EXPECT_EQ(b1->Height(), 24) << "a 16-pixel image and the button's margins";

    auto* larger = new TImageList(root);
    larger->SetWidth(24);
    larger->SetHeight(24);
    bar->SetImages(larger);
    EXPECT_EQ(bar->Height(), 28 + 24 - 16) << "a run-time change still follows the image height";
}

/// A form with a dock panel styled by "PanelStyler" holding toolbar "Bar" with the
/// given extra properties; the panel's styler is declared before or after the panel.
std::string PanelWithToolBar(bool stylerFirst, const std::string& barProperties) {
    const std::string styler = "  object PanelStyler: TAdvToolBarOfficeStyler\n  end\n"
                               "  object OtherStyler: TAdvToolBarOfficeStyler\n  end\n";
    return "object Form4: TForm\n  ClientWidth = 300\n  ClientHeight = 100\n" + (stylerFirst ? styler : "") +
           "  object Panel: TAdvDockPanel\n    Width = 300\n    Height = 30\n"
           "    ToolBarStyler = PanelStyler\n"
           "    object Bar: TAdvToolBar\n      Left = 3\n      Top = 1\n" +
           barProperties + "      object B1: TAdvToolBarButton\n      end\n    end\n  end\n" +
           (stylerFirst ? "" : styler) + "end\n";
}

TEST_F(StoredLayout, AToolBarWithoutAStylerOfItsOwnDoesNotTakeItsPanelsStyler) {
    RegisterToolbarClasses();
    struct TCase {
        const char* Name;
        bool StylerFirst;
        std::string BarProperties;
        const char* Expected;
    };
    const TCase cases[] = {
        {"styler declared first", true, "", "PanelStyler"},
        {"styler declared last", false, "", "PanelStyler"},
        {"a styler of its own gives way to the panel's", false, "      ToolBarStyler = OtherStyler\n",
         "PanelStyler"},
        {"ParentStyler off keeps its own", true,
         "      ParentStyler = False\n      ToolBarStyler = OtherStyler\n", "OtherStyler"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TComponent* root =
            TLayoutReader::CreateFromText(PanelWithToolBar(c.StylerFirst, c.BarProperties), app);
        auto* bar = root->FindComponentAs<TAdvToolBar>("Bar");
        ASSERT_TRUE(bar);
        ASSERT_TRUE(bar->Docked());
        EXPECT_EQ(bar->CurrentStyler(), root->FindComponent(c.Expected));
        TObject::Free(root);
    }
}

} // namespace
} // namespace emr::testing
