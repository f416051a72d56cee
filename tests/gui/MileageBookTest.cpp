#include "Commands.h"
#include "DeviceRoot.h"
#include "Images.h"
#include "MainWindow.h"
#include "MileageBookDialog.h"
#include "MileageBookFlow.h"
#include "ProgramState.h"
#include "RecordDialog.h"
#include "RouteDialog.h"
#include "Testkit.h"
#include "TripLog.h"

#include <QApplication>

#include <gtest/gtest.h>

using namespace tripvane;
using B = MileageBookDialog;
using RD = RouteDialog;
using R = RecordDialog;

namespace {

constexpr int ListControl = RouteListDialog::ListControl;

class Book : public ::testing::Test
{
protected:
    void start(std::initializer_list<std::tuple<const char *, const char *, int>> routes = {})
    {
        ASSERT_TRUE(app.start());
        for (auto [start, destination, distance] : routes)
            addRoute(start, destination, distance);
    }
    void addRoute(const char *start, const char *destination, int distance)
    {
        BookRoute route;
        if (start)
            route.setStartPlace(QString::fromLatin1(start));
        route.setDestination(QString::fromLatin1(destination));
        route.setDistance(distance);
        ASSERT_TRUE(app.log().addRoute(route));
    }
    // The hub, with the script acting on it; it is shown again after any end but OK.
    void onHub(std::function<void(DialogDriver &, ListDriver)> script)
    {
        app.onDialog([script](DialogDriver &hub) { script(hub, hub.list(ListControl)); });
    }
    void leaveHub()
    {
        onHub([](DialogDriver &hub, ListDriver) { hub.shellOk(); });
    }
    std::vector<QStringList> stored() { return app.storedRoutes(); }
    TestApp app;
};

// The refusals are in the typed entries' table; here what the accepted routes become.
TEST_F(Book, newRoutesAreNormalisedAndStoredAfterTheBookAsShown)
{
    const QString longPlace = QStringLiteral("Abcdefghijklmnopqrstuvwxyzabcdefghi"); // 35
    const QStringList routes[] = {{"aMSTERDAM centraal", " office ", "12.5"},
                                  {longPlace, "Home", "1"},
                                  {"Home", "Work", "1,000,000.00"}};
    start();
    for (const QStringList &route : routes) {
        onHub([](DialogDriver &hub, ListDriver) { hub.click(B::NewButton); });
        app.onDialog([&](DialogDriver &dialog) {
            EXPECT_EQ(dialog.caption(), QStringLiteral("New route"));
            dialog.setText(RD::StartEdit, route[0]);
            dialog.setText(RD::DestinationEdit, route[1]);
            dialog.setText(RD::MileageEdit, route[2]);
            dialog.shellOk();
            EXPECT_EQ(dialog.result(), int(RD::OkButton)) << route.join(u'|').toStdString();
        });
        leaveHub();
        app.command(CmdMileageBook);
    }
    EXPECT_TRUE(app.kit.messageBoxes.shown.empty());
    EXPECT_EQ(app.kit.beeper.count, 0);
    // The book is stored in the order it was last shown in, with each new route after it.
    EXPECT_EQ(stored(), (std::vector<QStringList>{
                            {longPlace.left(32), "Home", "1.00"},
                            {"Amsterdam centraal", "Office", "12.50"},
                            {"Home", "Work", "1,000,000.00"},
                        }));
    EXPECT_TRUE(app.log().bookChangedThisRun());
}

TEST_F(Book, headersSortByStartOrDestinationAndTheChoiceOutlivesARestart)
{
    start({{"Home", "Work", 1000}, {"Beach", "Airport", 500}, {"Home", "Work", 1000}});
    onHub([](DialogDriver &hub, ListDriver list) {
        EXPECT_EQ(list.headerText(2), QStringLiteral("Mileage"));
        EXPECT_EQ(list.rows(), (std::vector<QStringList>{{"Beach", "Airport", "5.00"},
                                                         {"Home", "Work", "10.00"},
                                                         {"Home", "Work", "10.00"}}))
            << "identical routes are both listed";
        EXPECT_EQ(list.rowImage(0), int(ImageRow));
        EXPECT_FALSE(hub.control(B::EditButton)->isEnabled());
        struct Tap
        {
            int column;
            const char *firstStart;
            int images[3];
        };
        const Tap taps[] = {
            {0, "Home", {ImageDescending, ImageNoOrder, ImageNoOrder}},
            {0, "Beach", {ImageAscending, ImageNoOrder, ImageNoOrder}},
            {0, "Home", {ImageDescending, ImageNoOrder, ImageNoOrder}},
            {1, "Home", {ImageNoOrder, ImageDescending, ImageNoOrder}}, // Work before Airport
            {2, "Home", {ImageNoOrder, ImageDescending, ImageNoOrder}}, // Mileage does nothing
            {1, "Beach", {ImageNoOrder, ImageAscending, ImageNoOrder}},
        };
        for (const Tap &tap : taps) {
            list.tapHeader(tap.column);
            EXPECT_EQ(list.row(0)[0], QString::fromLatin1(tap.firstStart)) << tap.column;
            for (int column = 0; column < 3; ++column)
                EXPECT_EQ(list.headerImage(column), tap.images[column]) << tap.column;
        }
        hub.shellOk();
    });
    app.command(CmdMileageBook);
    EXPECT_EQ(app.state().settings.SortMileageBook, 1u);
    EXPECT_EQ(app.state().settings.SortOrderMileageBook, 0u);

    const QString device = app.devicePath(); // the choice outlives a restart
    app.close();
    TestApp again(Screen::Portrait, device);
    ASSERT_TRUE(again.start());
    again.onDialog([](DialogDriver &hub) {
        ListDriver list = hub.list(ListControl);
        EXPECT_EQ(list.headerImage(1), int(ImageAscending));
        EXPECT_EQ(list.row(0)[1], QStringLiteral("Airport"));
        hub.shellOk();
    });
    again.command(ButtonMileageBook);
}

// An edited route moves to the end of the stored book and stays chosen, through a sort too;
// deleting asks, and the choice stays inside the book: the route that moved up, or none.
TEST_F(Book, editingAndDeletingKeepTheChoiceInsideTheBook)
{
    start({{"Alpha", "X", 100}, {"Bravo", "Y", 200}, {"Charlie", "Z", 300}});
    onHub([](DialogDriver &hub, ListDriver list) {
        list.tapRow(0);
        EXPECT_TRUE(hub.control(B::EditButton)->isEnabled());
        hub.click(B::EditButton);
    });
    app.onDialog([](DialogDriver &dialog) {
        EXPECT_EQ(dialog.caption(), QStringLiteral("Edit route"));
        const int start = RD::StartEdit + RD::EditOffset;
        EXPECT_EQ(dialog.text(start), QStringLiteral("Alpha"));
        EXPECT_EQ(dialog.text(RD::MileageEdit + RD::EditOffset), QStringLiteral("1.00"));
        dialog.setText(start, QStringLiteral("delta"));
        dialog.shellOk();
        EXPECT_EQ(dialog.result(), RD::OkButton + RD::EditOffset);
    });
    app.kit.messageBoxes.expect({MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::Yes});
    onHub([this](DialogDriver &hub, ListDriver list) {
        EXPECT_EQ(list.row(2)[0], QStringLiteral("Delta")) << "sorted into place";
        EXPECT_EQ(list.selectedRow(), 2) << "the edited route stays chosen";
        list.tapHeader(0); // Delta, Charlie, Bravo: the choice follows its route
        EXPECT_EQ(list.selectedRow(), 0);
        EXPECT_EQ(stored().back(), (QStringList{"Delta", "X", "1.00"})) << "stored at the end";
        app.resizeScreen(QSize(320, 240)); // the list is made again: the first row stays chosen
        EXPECT_EQ(hub.list(ListControl).selectedRow(), 0);
        hub.shellOk();
    });
    app.command(CmdMileageBook);
    EXPECT_EQ(app.window().book().chosenRoute(), 0);

    onHub([this](DialogDriver &hub, ListDriver list) {
        list.tapRow(1);
        hub.click(B::DeleteButton);
        EXPECT_EQ(app.kit.messageBoxes.texts().back(),
                  QStringLiteral("Selected item will be permanently deleted. Continue?"));
        EXPECT_EQ(list.rowCount(), 3) << "No changes nothing";
        EXPECT_EQ(list.selectedRow(), 1);
        hub.click(B::DeleteButton);
        EXPECT_EQ(list.rows(),
                  (std::vector<QStringList>{{"Delta", "X", "1.00"}, {"Bravo", "Y", "2.00"}}));
        EXPECT_EQ(list.selectedRow(), 1) << "the route that moved up is chosen";
        hub.click(B::DeleteButton); // the last row: nothing is left to choose
        EXPECT_EQ(list.rowCount(), 1);
        EXPECT_EQ(list.selectedRow(), -1);
        EXPECT_FALSE(hub.control(B::EditButton)->isEnabled());
        EXPECT_FALSE(hub.control(B::DeleteButton)->isEnabled());
        EXPECT_EQ(hub.result(), 0) << "the dialog stays open";
        hub.shellOk();
    });
    app.command(CmdMileageBook);
    EXPECT_EQ(stored(), (std::vector<QStringList>{{"Delta", "X", "1.00"}}));
    EXPECT_EQ(app.window().book().chosenRoute(), -1);
}

// A route without a starting place cannot be sorted: the book gives up at once instead of
// showing itself again and again, and the picker leaves the record dialog as it was.
TEST_F(Book, aListThatCannotBeBuiltReturnsAtOnce)
{
    start({{nullptr, "Nowhere", 100}, {"Home", "Work", 200}});
    app.command(CmdMileageBook);
    EXPECT_EQ(app.kit.dialogRunner.runCount, 0);

    app.onDialog([](DialogDriver &dialog) { dialog.click(R::BookButton); });
    app.onDialog([](DialogDriver &dialog) { dialog.click(R::CancelButton); });
    app.command(CmdNew);
    EXPECT_EQ(app.kit.dialogRunner.runCount, 2);
}

} // namespace
