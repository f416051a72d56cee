#include "Commands.h"
#include "MainWindow.h"
#include "Program.h"
#include "ProgramState.h"
#include "RecordDialog.h"
#include "StatusPane.h"
#include "Testkit.h"
#include "TripLog.h"

#include <QComboBox>
#include <QDateEdit>

#include <gtest/gtest.h>

using namespace tripvane;
using R = RecordDialog;

namespace {

class Trips : public ::testing::Test
{
protected:
    void start(std::vector<MileageRecord> trips = {}, std::uint32_t sortOrder = 2)
    {
        if (!trips.empty())
            app.seed(trips);
        if (sortOrder != 2)
            app.seedSetting("SortOrder", sortOrder);
        ASSERT_TRUE(app.start());
    }
    // The next dialog is left as its Cancel leaves it.
    void leaveNextDialog()
    {
        app.onDialog([](DialogDriver &dialog) { dialog.cancel(); });
    }
    void fill(DialogDriver &dialog, const char *distance, const char *category,
              const char *start = "", const char *destination = "", const char *memo = "")
    {
        dialog.setText(R::DistanceEdit, QString::fromUtf8(distance));
        dialog.select(R::CategoryCombo, QString::fromUtf8(category));
        dialog.setText(R::StartEdit, QString::fromUtf8(start));
        dialog.setText(R::DestinationEdit, QString::fromUtf8(destination));
        dialog.setText(R::MemoEdit, QString::fromUtf8(memo));
    }

    TestApp app;
};

TEST_F(Trips, newTripOpensEmptyAndIsStoredListedSelectedAndHonked)
{
    start();
    EXPECT_FALSE(app.isCommandEnabled(ButtonReport));
    app.onDialog([this](DialogDriver &dialog) {
        EXPECT_EQ(dialog.caption(), QStringLiteral("Kilometers"));
        EXPECT_EQ(dialog.date(R::DatePicker), QDate(2005, 10, 29));
        EXPECT_EQ(dialog.text(R::DistanceEdit), QStringLiteral("0.00"));
        EXPECT_EQ(dialog.text(R::CategoryCombo), QString());
        EXPECT_EQ(dialog.items(R::CategoryCombo), (QStringList{"Holiday", "Job", "Shopping"}));
        EXPECT_FALSE(dialog.isVisible(R::DeleteButton));
        EXPECT_EQ(dialog.focusedControl(), R::DistanceEdit);
        EXPECT_TRUE(app.kit.inputPanel.isShown()) << "shown on opening";
        auto *combo = qobject_cast<QComboBox *>(dialog.control(R::CategoryCombo));
        combo->showPopup();
        EXPECT_FALSE(app.kit.inputPanel.isShown()) << "the list drops down";
        combo->hidePopup();
        EXPECT_TRUE(app.kit.inputPanel.isShown()) << "and closes up";
        dialog.setDate(R::DatePicker, QDate(2006, 1, 15));
        fill(dialog, " 1,234.5 ", "Shopping", "  lEIDEN  ", "aMSTERDAM cs", "  groceries ");
        dialog.click(R::OkButton);
        EXPECT_EQ(dialog.result(), R::OkButton);
    });
    app.command(CmdNew);
    ASSERT_EQ(app.list().rowCount(), 1);
    EXPECT_EQ(app.list().row(0), (QStringList{"15-01-06", "Shopping", "1,234.50"}));
    EXPECT_EQ(app.list().selectedRow(), 0);
    EXPECT_EQ(app.kit.sound.played, QStringList{":/sounds/IDW_CAR_HORN.wav"});
    for (int id : {ButtonReport, CmdMileageReport, CmdExportRecords, CmdDeleteByRange})
        EXPECT_TRUE(app.isCommandEnabled(id)) << id;

    const auto stored = app.storedTrips();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].key, 291457);
    EXPECT_EQ(stored[0].startPlace, QStringLiteral("Leiden"));
    EXPECT_EQ(stored[0].destination, QStringLiteral("Amsterdam cs"));
    EXPECT_EQ(stored[0].memo, QStringLiteral("groceries"));
    EXPECT_EQ(stored[0].distance, 123450);

    // The next new trip starts on the date of the one just accepted, in the chosen date order;
    // Escape leaves it as Cancel does.
    app.state().settings.DateTypeView = 3;
    app.onDialog([](DialogDriver &dialog) {
        EXPECT_EQ(dialog.date(R::DatePicker), QDate(2006, 1, 15));
        auto *picker = qobject_cast<QDateEdit *>(dialog.control(R::DatePicker));
        EXPECT_EQ(picker->displayFormat(), QStringLiteral("MM/dd/yyyy"));
        dialog.setText(R::DistanceEdit, QStringLiteral("5"));
        qobject_cast<QDialog *>(picker->parentWidget())->reject(); // Escape
        EXPECT_EQ(dialog.result(), R::CancelButton);
    });
    app.command(CmdNew);
    EXPECT_EQ(app.list().rowCount(), 1);
}

TEST_F(Trips, placeButtonsAndTheBookKeepTheFieldsTyped)
{
    start();
    app.onDialog([this](DialogDriver &dialog) {
        dialog.setText(R::StartEdit, QStringLiteral("  lEIDEN  "));
        dialog.click(R::ToDestinationButton);
        EXPECT_EQ(dialog.text(R::StartEdit), QStringLiteral("Leiden"));
        EXPECT_EQ(dialog.text(R::DestinationEdit), QStringLiteral("Leiden"));
        dialog.setText(R::DestinationEdit, QStringLiteral("dELFT"));
        dialog.click(R::ToStartButton);
        EXPECT_EQ(dialog.text(R::StartEdit), QStringLiteral("Delft"));
        dialog.setText(R::StartEdit, QStringLiteral("   "));
        dialog.click(R::ToDestinationButton);
        EXPECT_EQ(dialog.text(R::DestinationEdit), QStringLiteral("Delft"))
            << "blanks copy nothing";

        fill(dialog, "12.5", "Holiday", "home", "beach", "sun");
        dialog.click(R::BookButton);
        EXPECT_EQ(dialog.result(), R::BookButton);
    });
    app.onDialog([](DialogDriver &dialog) { dialog.click(1211); }); // picker's Back
    app.onDialog([](DialogDriver &dialog) {
        EXPECT_EQ(dialog.text(R::DistanceEdit), QStringLiteral("12.50"));
        EXPECT_EQ(dialog.text(R::CategoryCombo), QStringLiteral("Holiday"));
        EXPECT_EQ(dialog.text(R::StartEdit), QStringLiteral("Home"));
        EXPECT_EQ(dialog.text(R::DestinationEdit), QStringLiteral("Beach"));
        EXPECT_EQ(dialog.text(R::MemoEdit), QStringLiteral("sun"));
        dialog.click(R::OkButton);
    });
    app.command(CmdNew);
    EXPECT_EQ(app.kit.dialogRunner.runCount, 3);
    EXPECT_EQ(app.list().rows(), (std::vector<QStringList>{{"29-10-05", "Holiday", "12.50"}}));
}

TEST_F(Trips, tappingARowEditsItInPlace)
{
    start({trip(2005, 10, 1, 100), trip(2005, 10, 5, 200), trip(2005, 10, 9, 300)});
    app.onDialog([this](DialogDriver &dialog) {
        EXPECT_TRUE(dialog.isVisible(R::DeleteButton));
        EXPECT_EQ(dialog.text(R::DistanceEdit), QStringLiteral("2.00"));
        dialog.setDate(R::DatePicker, QDate(2005, 12, 31));
        fill(dialog, "7", "Holiday");
        dialog.click(R::OkButton);
    });
    app.list().tapRow(1);
    EXPECT_EQ(app.list().row(1), (QStringList{"31-12-05", "Holiday", "7.00"}))
        << "the row keeps its place";
    EXPECT_EQ(app.list().selectedRow(), 1);
    const auto stored = app.storedTrips();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[1].dateKey, 20051231u);
    EXPECT_EQ(stored[1].category, QStringLiteral("Holiday"));
    EXPECT_TRUE(app.kit.sound.played.isEmpty());
}

// The undo list's bounds and order are the trip log's; here the questions and the commands.
TEST_F(Trips, deletionAsksUndoBringsTheTripBackAsStoredAndAFullUndoAsksFirst)
{
    std::vector<MileageRecord> trips{trip(2005, 10, 1, 100, "Job", "original")};
    for (int day = 2; day <= 13; ++day)
        trips.push_back(trip(2005, 10, day, day * 100));
    start(trips);
    app.kit.messageBoxes.expect({MessageAnswer::No, MessageAnswer::Yes});
    app.onDialog([this](DialogDriver &dialog) {
        fill(dialog, "999", "Holiday", "", "", "edited");
        dialog.click(R::DeleteButton);
        EXPECT_EQ(dialog.result(), 0) << "No keeps the dialog open";
        EXPECT_EQ(dialog.focusedControl(), R::DistanceEdit);
        dialog.click(R::DeleteButton);
        EXPECT_EQ(dialog.result(), R::DeleteButton);
    });
    app.list().tapRow(0);
    EXPECT_EQ(app.kit.messageBoxes.texts().back(),
              QStringLiteral("Selected record will be deleted. Continue?"));
    EXPECT_EQ(app.list().rowCount(), 12);
    EXPECT_EQ(app.storedTrips().size(), 12u);
    for (int id : {ButtonUndo, CmdUndo, CmdEmptyUndo})
        EXPECT_TRUE(app.isCommandEnabled(id)) << id;

    app.command(ButtonUndo);
    EXPECT_EQ(app.list().row(12), (QStringList{"01-10-05", "Job", "1.00"}))
        << "as stored, listed last";
    EXPECT_EQ(app.list().selectedRow(), 12);
    EXPECT_TRUE(std::ranges::any_of(app.storedTrips(), [](const MileageRecord &t) {
        return t.memo == QStringLiteral("original");
    }));
    for (int id : {ButtonUndo, CmdUndo, CmdEmptyUndo})
        EXPECT_FALSE(app.isCommandEnabled(id)) << id;

    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(app.log().deleteTrip(0));
    app.kit.messageBoxes.expect({MessageAnswer::Yes, MessageAnswer::No});
    app.onDialog([](DialogDriver &dialog) {
        dialog.click(R::DeleteButton);
        EXPECT_EQ(dialog.result(), 0) << "stays open";
        dialog.click(R::CancelButton);
    });
    app.list().tapRow(0);
    EXPECT_EQ(app.kit.messageBoxes.texts().back(),
              QStringLiteral("The Undo can hold only 12 records. Deleting this record will add it "
                             "to the end and discard the first record. Do you want to delete it "
                             "anyway?"));
    EXPECT_EQ(app.list().rowCount(), 1);
    EXPECT_EQ(app.log().undoList().size(), 12u);
    app.command(CmdEmptyUndo);
    for (int id : {ButtonUndo, CmdUndo, CmdEmptyUndo})
        EXPECT_FALSE(app.isCommandEnabled(id)) << id;
    app.command(CmdUndo);
    EXPECT_EQ(app.list().rowCount(), 1);
}

TEST_F(Trips, dateHeaderCyclesTheOrderAndOtherHeadersDoNothing)
{
    MileageRecord a = trip(2005, 10, 5, 100, "Job", "A");
    MileageRecord b = trip(2005, 10, 5, 200, "Job", "B");
    start({a, b, trip(2005, 10, 1, 300)});
    EXPECT_EQ(app.list().headerImage(0), 2);
    const auto distances = [this] {
        std::vector<std::int32_t> d;
        for (ListPosition i = 0; i < app.log().trips().size(); ++i)
            d.push_back(app.log().trips().at(i).distance);
        return d;
    };
    EXPECT_EQ(distances(), (std::vector<std::int32_t>{300, 100, 200}));
    app.list().tapHeader(1);
    app.list().tapHeader(2);
    EXPECT_EQ(app.list().headerImage(0), 2);
    // The first tap after a start with order 2 sorts ascending; each further tap reverses.
    app.list().tapHeader(0);
    EXPECT_EQ(app.list().headerImage(0), 0);
    EXPECT_EQ(distances(), (std::vector<std::int32_t>{300, 100, 200}));
    app.list().tapHeader(0);
    EXPECT_EQ(app.list().headerImage(0), 1);
    EXPECT_EQ(distances(), (std::vector<std::int32_t>{200, 100, 300}));
    app.list().tapHeader(0);
    EXPECT_EQ(app.list().headerImage(0), 0);
    EXPECT_EQ(distances(), (std::vector<std::int32_t>{300, 200, 100})) << "ties stay reversed";
    EXPECT_EQ(app.state().mainSortOrder, 0u);
}

TEST_F(Trips, everyDialogLeftWithoutChangeKeepsTheSelectionAndTheFlags)
{
    start({trip(2005, 10, 1, 100), trip(2005, 10, 2, 100)});
    app.list().selectRow(1);
    for (int id : {CmdEditCategories, ButtonCategories, CmdMileageBook, ButtonMileageBook,
                   CmdMileageReport, ButtonReport, CmdExportRecords, CmdViewOptions, CmdAbout}) {
        leaveNextDialog();
        app.command(id);
        EXPECT_EQ(app.list().selectedRow(), 1) << id;
    }
    EXPECT_EQ(app.kit.dialogRunner.runCount, 9);
    EXPECT_FALSE(app.log().categoriesChangedThisRun());
    EXPECT_FALSE(app.log().bookChangedThisRun());
}

TEST_F(Trips, failedAddStillHonksAndSelectsTheLastRow)
{
    start({trip(2005, 10, 1, 100)});
    app.program().store().setWriteHook([] { return false; });
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    app.onDialog([this](DialogDriver &dialog) {
        fill(dialog, "5", "Job");
        dialog.click(R::OkButton);
    });
    app.command(CmdNew);
    EXPECT_EQ(app.kit.messageBoxes.texts(),
              QStringList{"Error during adding record to database: Velmora OdometerRec"});
    EXPECT_EQ(app.list().rowCount(), 1);
    EXPECT_EQ(app.list().selectedRow(), 0);
    EXPECT_EQ(app.kit.sound.played.size(), 1);
    app.program().store().setWriteHook({});
}

TEST_F(Trips, deleteWithoutASelectedRowAsksToRepeat)
{
    start({trip(2005, 10, 1, 100)});
    MileageRecord underEdit;
    underEdit.copyFrom(app.log().trips().at(0));
    RecordDialog dialog(app.kit.services(), app.state().settings, {"Job"},
                        {underEdit, true, false, false});
    app.kit.messageBoxes.expect({MessageAnswer::Yes, MessageAnswer::Ok});
    DialogDriver(dialog).click(R::DeleteButton);
    EXPECT_EQ(dialog.result(), R::DeleteButton);
    EXPECT_EQ(app.kit.messageBoxes.texts().back(),
              QStringLiteral("Please, repeat Delete Record operation."));
}

} // namespace
