#include "Commands.h"
#include "DeleteRangeDialog.h"
#include "ProgramState.h"
#include "StatusPane.h"
#include "Testkit.h"
#include "TripLog.h"

#include <gtest/gtest.h>

using namespace tripvane;
using D = DeleteRangeDialog;

namespace {

class DeleteByRange : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.seed({trip(2005, 10, 1, 100), trip(2005, 10, 5, 200), trip(2005, 10, 5, 300),
                  trip(2005, 10, 9, 400)},
                 0, 100000, makeDate(2005, 12, 31));
        ASSERT_TRUE(app.start());
    }
    TestApp app;
};

// Counting and deleting are the trip log's; here the dialog's refusals and questions, and what
// the main window shows after.
TEST_F(DeleteByRange, refusesBadRangesAsksAndDeletesTheRangeButLeavesTheUndo)
{
    ASSERT_TRUE(app.log().deleteTrip(3)); // the trip of the 9th goes to the undo list
    app.kit.messageBoxes.expect({MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::No});
    const auto find = [](DialogDriver &dialog, QDate from, QDate to) {
        dialog.setDate(D::StartsPicker, from);
        dialog.setDate(D::EndsPicker, to);
        dialog.click(D::FindButton);
        return dialog.result();
    };
    app.onDialog([&](DialogDriver &dialog) {
        EXPECT_EQ(dialog.date(D::StartsPicker), QDate(2005, 10, 29)) << "the report's range";
        EXPECT_EQ(dialog.date(D::EndsPicker), QDate(2005, 10, 29));
        EXPECT_EQ(dialog.focusedControl(), D::StartsPicker);
        EXPECT_EQ(find(dialog, QDate(2005, 10, 9), QDate(2005, 10, 1)), 0);
        EXPECT_EQ(find(dialog, QDate(2005, 11, 1), QDate(2005, 11, 30)), 0);
        EXPECT_EQ(dialog.focusedControl(), D::StartsPicker);
        EXPECT_EQ(find(dialog, QDate(2005, 10, 1), QDate(2005, 10, 1)), 0) << "No keeps it open";
        dialog.shellOk();
        EXPECT_EQ(dialog.result(), D::CancelButton);
    });
    app.command(CmdDeleteByRange);
    EXPECT_EQ(app.kit.messageBoxes.texts(),
              (QStringList{"Starts date must be earlier than Ends date!", "No Records found !",
                           "1 records will be deleted. Continue?"}));
    EXPECT_FALSE(app.kit.inputPanel.isShown());
    EXPECT_EQ(app.storedTrips().size(), 3u);

    app.kit.messageBoxes.expect(MessageAnswer::Yes);
    app.onDialog([&](DialogDriver &dialog) {
        EXPECT_EQ(find(dialog, QDate(2000, 1, 1), QDate(2005, 10, 5)), D::FindButton);
    });
    app.command(CmdDeleteByRange);
    EXPECT_EQ(app.kit.messageBoxes.texts().back(),
              QStringLiteral("3 records will be deleted. Continue?"));
    EXPECT_EQ(app.kit.messageBoxes.shown.back().request.buttons, MessageButtons::YesNo);
    EXPECT_FALSE(app.kit.waitCursor.isShown());
    EXPECT_EQ(app.list().rowCount(), 0);
    EXPECT_TRUE(app.storedTrips().empty());
    for (int id : {ButtonReport, CmdMileageReport, CmdExportRecords, CmdDeleteByRange})
        EXPECT_FALSE(app.isCommandEnabled(id)) << id;
    EXPECT_TRUE(app.isCommandEnabled(CmdUndo)) << "Delete by Range leaves the undo list alone";
    app.command(CmdUndo);
    EXPECT_EQ(app.list().rowCount(), 1);
    app.onDialog([](DialogDriver &dialog) { dialog.click(D::CancelButton); });
    app.command(CmdDeleteByRange); // Cancel leaves it as the title-bar ok does
    EXPECT_EQ(app.list().rowCount(), 1);
    EXPECT_EQ(app.statusValue(StatusPane::RegisteredValue), QStringLiteral("4.00"));
}

} // namespace
