#include <gtest/gtest.h>

#include "app/models/WindowActions.h"

namespace quillsheet {
namespace {

TEST(WindowActions, FollowTheListTheSelectionAndTheWorkUnderWay) {
  WindowState empty;
  empty.presetSelected = true;
  const WindowActions none = EnabledActions(empty);
  EXPECT_TRUE(none.add);
  EXPECT_FALSE(none.remove || none.removeAll || none.convert || none.convertAll ||
               none.removeMarks);
  EXPECT_FALSE(none.showInFolder);

  WindowState one = empty;
  one.documentCount = 1;
  const WindowActions listed = EnabledActions(one);
  EXPECT_TRUE(listed.remove && listed.removeAll && listed.convert && listed.convertAll);
  EXPECT_FALSE(listed.showInFolder);  // no row selected
  one.selectedDocuments = 1;
  EXPECT_TRUE(EnabledActions(one).showInFolder);

  for (const bool adding : {true, false}) {
    WindowState busy = one;
    busy.adding = adding;
    busy.converting = !adding;
    const WindowActions during = EnabledActions(busy);
    EXPECT_FALSE(during.add || during.remove || during.removeAll || during.convert ||
                 during.convertAll || during.removeMarks);
    EXPECT_TRUE(during.preferences && during.help && during.showInFolder);
  }

  WindowState noPreset = one;
  noPreset.presetSelected = false;
  EXPECT_FALSE(EnabledActions(noPreset).convert || EnabledActions(noPreset).convertAll);
  EXPECT_TRUE(EnabledActions(noPreset).removeMarks);
}

}  // namespace
}  // namespace quillsheet
