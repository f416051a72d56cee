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
    // Runs Delete by Range over the dates; the script may answer more.
    int deleteRange(QDate from, QDate to, std::function<void(DialogDriver &)> more = {})
    {
        int result = -1;
        app.kit.dialogRunner.expect([&](QDialog &d) {
            DialogDriver dialog(d);
            dialog.setDate(D::StartsPicker, from);
            dialog.setDate(D::EndsPicker, to);
            dialog.click(D::FindButton);
            if (more)
                more(dialog);
            result = dialog.result();
        });
        app.command(CmdDeleteByRange);
        return result;
    }
    std::vector<std::int32_t> distances()
    {
        std::vector<std::int32_t> d;
        for (const MileageRecord &r : app.storedTrips())
            d.push_back(r.distance);
        std::sort(d.begin(), d.end());
        return d;
    }

    TestApp app;
};

TEST_F(DeleteByRange, opensOnTheReportRangeAndALoneTripGetsThePluralQuestion)
{
    app.kit.messageBoxes.expect(MessageAnswer::No);
    app.kit.dialogRunner.expect([](QDialog &d) {
        DialogDriver dialog(d);
        EXPECT_EQ(dialog.date(D::StartsPicker), QDate(2005, 10, 29));
        EXPECT_EQ(dialog.date(D::EndsPicker), QDate(2005, 10, 29));
        EXPECT_EQ(dialog.focusedControl(), D::StartsPicker);
        dialog.setDate(D::StartsPicker, QDate(2005, 10, 1));
        dialog.setDate(D::EndsPicker, QDate(2005, 10, 1));
        dialog.click(D::FindButton);
        EXPECT_EQ(dialog.result(), 0) << "No keeps the dialog open";
        dialog.click(D::CancelButton);
        EXPECT_EQ(dialog.result(), D::CancelButton);
    });
    app.command(CmdDeleteByRange);
    EXPECT_FALSE(app.kit.inputPanel.isShown());
    EXPECT_EQ(app.kit.messageBoxes.texts(), QStringList{"1 records will be deleted. Continue?"});
    EXPECT_EQ(distances().size(), 4u);
}

TEST_F(DeleteByRange, oneDayRangeDeletesThatDaysTripsAfterTheQuestion)
{
    app.kit.messageBoxes.expect(MessageAnswer::Yes);
    EXPECT_EQ(deleteRange(QDate(2005, 10, 5), QDate(2005, 10, 5)), D::FindButton);
    EXPECT_EQ(app.kit.messageBoxes.texts(), QStringList{"2 records will be deleted. Continue?"});
    EXPECT_EQ(app.kit.messageBoxes.shown[0].request.buttons, MessageButtons::YesNo);
    EXPECT_EQ(distances(), (std::vector<std::int32_t>{100, 400}));
    EXPECT_EQ(app.list().rowCount(), 2);
    EXPECT_EQ(app.statusValue(StatusPane::RegisteredValue), QStringLiteral("5.00"));
    EXPECT_FALSE(app.kit.waitCursor.isShown());
}

TEST_F(DeleteByRange, startAfterEndAndEmptyRangesAreRefused)
{
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    deleteRange(QDate(2005, 10, 9), QDate(2005, 10, 1), [](DialogDriver &dialog) {
        EXPECT_EQ(dialog.result(), 0);
        dialog.setDate(D::StartsPicker, QDate(2005, 11, 1));
        dialog.setDate(D::EndsPicker, QDate(2005, 11, 30));
        dialog.click(D::FindButton);
        EXPECT_EQ(dialog.result(), 0);
        EXPECT_EQ(dialog.focusedControl(), D::StartsPicker);
        dialog.shellOk();
        EXPECT_EQ(dialog.result(), D::CancelButton);
    });
    EXPECT_EQ(app.kit.messageBoxes.texts(),
              (QStringList{"Starts date must be earlier than Ends date!", "No Records found !"}));
    EXPECT_EQ(distances().size(), 4u);
}

TEST_F(DeleteByRange, deletingEverythingGreysTheRecordCommandsButKeepsTheUndo)
{
    ASSERT_TRUE(app.log().deleteTrip(0)); // one trip in the undo list

    app.kit.messageBoxes.expect(MessageAnswer::Yes);
    deleteRange(QDate(2000, 1, 1), QDate(2010, 1, 1));
    EXPECT_EQ(app.kit.messageBoxes.texts().back(),
              QStringLiteral("3 records will be deleted. Continue?"));
    EXPECT_EQ(app.list().rowCount(), 0);
    EXPECT_TRUE(app.storedTrips().empty());
    for (int id : {ButtonReport, CmdMileageReport, CmdExportRecords, CmdDeleteByRange})
        EXPECT_FALSE(app.isCommandEnabled(id)) << id;
    EXPECT_TRUE(app.isCommandEnabled(CmdUndo)) << "Delete by Range leaves the undo list alone";
    app.command(CmdUndo);
    EXPECT_EQ(app.list().rowCount(), 1);
}

} // namespace
