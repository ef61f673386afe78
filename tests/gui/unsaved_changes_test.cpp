#include "core/files/calc_file.h"
#include "view_fixture.h"

namespace rivulet {
namespace {

TEST_F(ViewTest, ClosingAskedAboutUnsavedChanges) {
  view->confirmClose = [this] { return ConfirmDiscard(form); };
  // Typed as the user types: the view's edits mark the sheet modified.
  Type("txtDepth", "0.5");
  ASSERT_TRUE(form.Modified());
  services.saveChoices = {SaveChoice::Cancel, SaveChoice::Discard};
  EXPECT_FALSE(view->close());
  EXPECT_TRUE(view->isVisible());
  EXPECT_EQ(Box("txtDepth")->text(), "0.5");
  EXPECT_TRUE(view->close());
  EXPECT_EQ(services.questions.size(), 2u);
}

}  // namespace
}  // namespace rivulet
