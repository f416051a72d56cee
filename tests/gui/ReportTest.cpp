#include "Commands.h"
#include "DeleteRangeDialog.h"
#include "DeviceFrame.h"
#include "Images.h"
#include "MainWindow.h"
#include "ProgramState.h"
#include "ReportDialog.h"
#include "ReportFlow.h"
#include "Testkit.h"
#include "TripLog.h"

#include <QApplication>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace tripvane;
using P = ReportDialog;

namespace {

const QString noRecords = QStringLiteral("No Records found !");
const QString overflow = QStringLiteral(
    "Balance amount exceeds the largest amount possible in Tripvane program. In order to finish "
    "your task we advice you export all your Mileage records in a file via Tools\\Export Mileage "
    "records... menu item. This file can be processed by most spreadsheets \n(such as Microsoft "
    "Excel).");

class Report : public ::testing::Test
{
protected:
    // Job and Holiday trips, one of a category that was deleted since, none of Shopping.
    void start(std::uint32_t distanceView = 0)
    {
        app.seed({trip(2005, 10, 1, 10000, "Job"), trip(2005, 10, 2, 20000, "Holiday"),
                  trip(2005, 10, 3, 5000, "Job"), trip(2005, 10, 2, 7000, "Gone")});
        app.seedSetting("DistanceTypeView", distanceView);
        ASSERT_TRUE(app.start());
    }
    // The report over the range in a view, with the script looking at what it shows.
    void report(QDate from, QDate to, int view, std::function<void(DialogDriver &)> look)
    {
        app.onDialog([=](DialogDriver &dialog) {
            dialog.setDate(P::StartsPicker, from);
            dialog.setDate(P::EndsPicker, to);
            qobject_cast<QRadioButton *>(dialog.control(view))->click();
            dialog.click(P::ViewButton);
            look(dialog);
            if (dialog.result() == 0)
                dialog.shellOk();
        });
        app.command(CmdMileageReport);
    }
    TestApp app;
};

TEST_F(Report, specifiedListsTheCategoriesWithATotalAndSortsByEitherColumn)
{
    start();
    report(QDate(2005, 10, 1), QDate(2005, 10, 2), P::SpecifiedRadio, [this](DialogDriver &d) {
        ListDriver list = d.list(P::ReportList);
        EXPECT_EQ(list.rows(), (std::vector<QStringList>{{"Holiday", "200.00"}, {"Job", "100.00"}}))
            << "Shopping has no trips, Gone is no category";
        EXPECT_EQ(list.rowImage(0), int(ImageRow));
        EXPECT_TRUE(d.isVisible(P::ExportButton));
        EXPECT_FALSE(d.isVisible(P::ViewButton));
        EXPECT_FALSE(d.control(P::StartsPicker)->isEnabled());
        list.tapHeader(1);
        EXPECT_EQ(list.row(0)[0], QStringLiteral("Job")) << "by total, the order in use";
        EXPECT_EQ(list.headerImage(1), int(ImageAscending));
        EXPECT_EQ(list.headerImage(0), int(ImageNoOrder));
        list.tapHeader(1);
        EXPECT_EQ(list.row(0)[0], QStringLiteral("Holiday"));
        app.resizeScreen(QSize(320, 240)); // the list is made again for the wide screen
        list = d.list(P::ReportList);
        EXPECT_EQ(list.row(0)[0], QStringLiteral("Holiday"));
        EXPECT_EQ(list.headerImage(1), int(ImageDescending));
        d.click(P::ResetButton);
        EXPECT_TRUE(d.isVisible(P::ViewButton));
        EXPECT_FALSE(d.isVisible(P::ExportButton));
        EXPECT_TRUE(d.control(P::StartsPicker)->isEnabled());
    });
    EXPECT_EQ(app.state().settings.SortRapport, 1u);
    EXPECT_EQ(app.state().settings.SortOrderRapport, 1u);

    // The range stays for the next report and for Delete by Range.
    app.onDialog([](DialogDriver &dialog) {
        EXPECT_EQ(dialog.date(P::EndsPicker), QDate(2005, 10, 2));
        dialog.shellOk();
    });
    app.command(CmdMileageReport);
    app.onDialog([](DialogDriver &dialog) {
        EXPECT_EQ(dialog.date(DeleteRangeDialog::StartsPicker), QDate(2005, 10, 1));
        dialog.cancel();
    });
    app.command(CmdDeleteByRange);
}

TEST_F(Report, totalCountsEveryTripOfTheRange)
{
    struct Case
    {
        QDate from, to;
        std::uint32_t view;
        const char *total;
    };
    const Case cases[] = {
        {QDate(2005, 10, 2), QDate(2005, 10, 2), 0, "270.00"}, // one day, the lost category too
        {QDate(2005, 10, 1), QDate(2005, 10, 31), 1, "420,00"},
        {QDate(2006, 1, 1), QDate(2006, 1, 31), 1, "0.00"}, // zero whatever the grouping
    };
    start();
    for (const Case &c : cases) {
        app.state().settings.DistanceTypeView = c.view;
        report(c.from, c.to, P::TotalRadio, [&](DialogDriver &d) {
            EXPECT_EQ(d.text(P::TotalValue), QString::fromLatin1(c.total));
            EXPECT_TRUE(d.isVisible(P::BalanceGroup));
            EXPECT_FALSE(d.control(P::ViewButton)->isEnabled());
            d.click(P::ResetButton);
            EXPECT_FALSE(d.isVisible(P::BalanceGroup));
            EXPECT_TRUE(d.control(P::ViewButton)->isEnabled());
        });
    }
    EXPECT_TRUE(app.kit.messageBoxes.shown.empty());
}

TEST_F(Report, refusedRangesAndEmptyReportsKeepTheDialogDefining)
{
    start();
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    report(QDate(2005, 10, 2), QDate(2005, 10, 1), P::SpecifiedRadio, [this](DialogDriver &d) {
        EXPECT_EQ(app.kit.messageBoxes.texts().back(),
                  QStringLiteral("Starts date must be earlier than Ends date!"));
        EXPECT_EQ(d.focusedControl(), P::StartsPicker);
        EXPECT_TRUE(d.isVisible(P::ViewButton));
    });
    EXPECT_EQ(app.window().report().range().end.day, 29) << "a refused range is not kept";

    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    report(QDate(2006, 1, 1), QDate(2006, 1, 2), P::SpecifiedRadio, [this](DialogDriver &d) {
        EXPECT_EQ(app.kit.messageBoxes.texts().back(), noRecords);
        EXPECT_TRUE(d.control(P::StartsPicker)->isEnabled());
    });
    EXPECT_EQ(app.window().report().range().end.year, 2006) << "kept although nothing was found";
}

TEST_F(Report, anOverflowingSumIsRefusedInBothViews)
{
    std::vector<MileageRecord> trips(22, trip(2005, 10, 1, 100000000)); // 22 x 1,000,000.00
    app.seed(trips);
    app.kit.messageBoxes.expect(MessageAnswer::Ok); // the status pane's sum, at start
    ASSERT_TRUE(app.start());
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    report(QDate(2005, 10, 1), QDate(2005, 10, 1), P::TotalRadio, [](DialogDriver &d) {
        EXPECT_FALSE(d.isVisible(P::BalanceGroup)) << "back to defining";
        EXPECT_TRUE(d.control(P::ViewButton)->isEnabled());
    });
    app.kit.messageBoxes.expect({MessageAnswer::Ok, MessageAnswer::Ok});
    report(QDate(2005, 10, 1), QDate(2005, 10, 1), P::SpecifiedRadio, [](DialogDriver &) {});
    EXPECT_EQ(app.kit.messageBoxes.texts(), (QStringList{overflow, overflow, overflow, noRecords}));
}

// Without its rates the log would show wrong amounts: it is not printed, and a box says why.
TEST_F(Report, aLogWhoseRatesCannotBeReadIsNotPrinted)
{
    app.seed({trip(2005, 10, 1, 10000, "Job")});
    app.seedRegistry(QStringLiteral("Software\\Velmora\\Tripvane\\Rates"), QStringLiteral("Table"),
                     {REG_DWORD, 1, {}});
    ASSERT_TRUE(app.start());
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    app.command(CmdPrintMileageLog);
    EXPECT_EQ(
        app.kit.messageBoxes.texts(),
        QStringList{"The stored rates cannot be read, so the mileage log cannot be printed."});
}

} // namespace
