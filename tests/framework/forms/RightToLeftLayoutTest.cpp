#include <gtest/gtest.h>

#include "FormsHarness.h"
#include "framework/forms/Panel.h"

namespace emr::testing {
namespace {

constexpr const char* kLayout = R"(object Form1: TForm
  Left = 200
  Top = 100
  ClientWidth = 200
  ClientHeight = 100
  BiDiMode = bdRightToLeft
  object Panel1: TPanel
    Left = 10
    Top = 10
    Width = 50
    Height = 40
    object Panel2: TPanel
      Left = 5
      Top = 5
      Width = 20
      Height = 20
      BiDiMode = bdLeftToRight
      ParentBiDiMode = False
    end
  end
end
)";

TEST(RightToLeftLayout, StoredDirectionReachesTheControlsAndMirrorsThem) {
    FormsHarness h;
    TCustomForm* form = h.Show(kLayout);
    auto* outer = form->FindComponentAs<TPanel>("Panel1");
    auto* inner = form->FindComponentAs<TPanel>("Panel2");
    ASSERT_TRUE(outer && inner);
    EXPECT_TRUE(form->UseRightToLeftLayout());
    EXPECT_TRUE(outer->ParentBiDiMode());
    EXPECT_EQ(outer->BiDiMode(), TBiDiMode::bdRightToLeft);
    EXPECT_FALSE(inner->ParentBiDiMode());
    EXPECT_EQ(inner->BiDiMode(), TBiDiMode::bdLeftToRight);
    // Positions stay as stored; only where they appear changes.
    EXPECT_EQ(outer->Left(), 10);
    EXPECT_EQ(outer->VisualLeft(), 200 - 10 - 50);
    EXPECT_EQ(inner->VisualLeft(), 50 - 5 - 20);
    EXPECT_EQ(inner->ClientOrigin().X, form->ClientOrigin().X + 140 + 25);
}

} // namespace
} // namespace emr::testing
