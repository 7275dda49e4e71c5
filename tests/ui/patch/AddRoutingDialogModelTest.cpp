#include "ui/patch/AddRoutingDialogModel.h"

#include "ui/patch/RoutingPageModel.h"

#include <gtest/gtest.h>

namespace {
CAddRoutingDialogModel KeyDialog() {
    AddRoutingValues values;
    values.sources = KeyRoutingKind().sources;
    values.destinations = KeyRoutingKind().destinations;
    return CAddRoutingDialogModel(values);
}
} // namespace

TEST(AddRoutingDialog, BoxesShowForControllerAndStageAndOkWaitsForBothLists) {
    CAddRoutingDialogModel dialog = KeyDialog();
    EXPECT_FALSE(dialog.IsOkEnabled());
    EXPECT_FALSE(dialog.ShowsController());
    EXPECT_FALSE(dialog.ShowsStage());

    EXPECT_TRUE(dialog.ChooseSource(2)); // "Controller": its box shows and takes the focus
    EXPECT_TRUE(dialog.ShowsController());
    EXPECT_EQ(dialog.Values().controller, 0);
    EXPECT_FALSE(dialog.IsOkEnabled());
    EXPECT_TRUE(dialog.ChooseDestination(3)); // "Amp Env Dur"
    EXPECT_TRUE(dialog.ShowsStage());
    EXPECT_EQ(dialog.Values().stage, 1);
    EXPECT_TRUE(dialog.IsOkEnabled());

    EXPECT_FALSE(dialog.ChooseSource(0)); // "Velocity"
    EXPECT_FALSE(dialog.ShowsController());
    EXPECT_FALSE(dialog.ChooseDestination(0));
    EXPECT_FALSE(dialog.ShowsStage());
    dialog.ChooseDestination(-1);
    EXPECT_FALSE(dialog.IsOkEnabled());
}

TEST(AddRoutingDialog, OkChecksTheNumbersItShows) {
    CAddRoutingDialogModel dialog = KeyDialog();
    dialog.ChooseSource(2);
    dialog.ChooseDestination(2); // "Amp Env Level"
    auto refusal = dialog.Accept(128, 1);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "The controller number must be between 0 and 127");
    EXPECT_EQ(refusal->field, CAddRoutingDialogModel::Field::Controller);
    refusal = dialog.Accept(127, 0);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "The envelope segment number must be 1 or greater");
    EXPECT_EQ(refusal->field, CAddRoutingDialogModel::Field::Stage);
    EXPECT_FALSE(dialog.Accept(127, 3));
    EXPECT_EQ(dialog.Values().source, kSourceController);
    EXPECT_EQ(dialog.Values().destination, kDestinationEnvLevel);
    EXPECT_EQ(dialog.Values().controller, 127);
    EXPECT_EQ(dialog.Values().stage, 3);

    // Numbers that do not count become 0, whatever the hidden boxes hold.
    dialog.ChooseSource(1);
    dialog.ChooseDestination(0);
    EXPECT_FALSE(dialog.Accept(-5, -5));
    EXPECT_EQ(dialog.Values().controller, 0);
    EXPECT_EQ(dialog.Values().stage, 0);
}
