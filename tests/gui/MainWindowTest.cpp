#include "MainWindow.h"
#include "Commands.h"
#include "DeviceFrame.h"
#include "DeviceIdentity.h"
#include "DeviceRoot.h"
#include "ListView.h"
#include "Program.h"
#include "ProgramState.h"
#include "ReportFlow.h"
#include "Sqlite.h"
#include "StatusPane.h"
#include "StringTable.h"
#include "Testkit.h"
#include "TripsFlow.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

const int needsRecords[] = {ButtonReport, CmdMileageReport, CmdExportRecords, CmdDeleteByRange};
const int needsUndo[] = {ButtonUndo, CmdUndo, CmdEmptyUndo};
const int alwaysEnabled[] = {CmdNew,         CmdMileageBook, CmdExit,          CmdEditCategories,
                             CmdViewOptions, CmdAbout,       ButtonCategories, ButtonMileageBook};

TEST(StartUp, emptyDeviceShowsThePaneWithGreyedGroups)
{
    TestApp app;
    app.kit.clock.localDate = makeDate(2005, 10, 30); // east of UTC: already the next day
    ASSERT_TRUE(app.start());
    EXPECT_EQ(app.frame().size(), QSize(240, 320));
    EXPECT_EQ(app.frame().caption(), QStringLiteral("Tripvane"));
    EXPECT_EQ(app.list().rowCount(), 0);
    for (int id : needsRecords)
        EXPECT_FALSE(app.isCommandEnabled(id)) << id;
    for (int id : needsUndo)
        EXPECT_FALSE(app.isCommandEnabled(id)) << id;
    for (int id : alwaysEnabled)
        EXPECT_TRUE(app.isCommandEnabled(id)) << id;
    EXPECT_EQ(app.heading(), QStringLiteral("Odometer status on 30-10-05"));
    for (const SystemTime &offered :
         {app.window().trips().lastDate(), app.window().report().range().start,
          app.window().report().range().end})
        EXPECT_EQ(offered.day, 30) << "every date offered is the local one";
    EXPECT_EQ(app.statusValue(StatusPane::EndsValue), QStringLiteral("0.00"));
    EXPECT_EQ(app.statusValue(StatusPane::StartsValue), QStringLiteral("0.00"));
    EXPECT_EQ(app.statusValue(StatusPane::RegisteredValue), QStringLiteral("0.00"));
    EXPECT_EQ(app.statusValue(StatusPane::BalanceValue), QStringLiteral("0"));
    EXPECT_TRUE(app.kit.messageBoxes.shown.empty());
    EXPECT_TRUE(QFile::exists(app.devicePath() + QStringLiteral("/Windows/tripvaneppc.htm")));
    EXPECT_TRUE(DeviceIdentity::read(DeviceRoot(app.devicePath()))) << "for the installer";
    EXPECT_FALSE(app.kit.waitCursor.isShown());

    // The command bar fits the portrait screen: no overflow into an extension menu.
    app.frame().show();
    EXPECT_EQ(app.window().actions(CmdNew).size(), 2u) << "the button and the menu item";
    QWidget *button =
        app.frame().commandBar()->widgetForAction(app.window().actions(ButtonMileageBook).front());
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisibleTo(app.frame().commandBar()));
    EXPECT_LE(button->geometry().right(), 240);

    app.command(CmdExit); // through the normal exit, which saves the settings
    QCoreApplication::processEvents();
    EXPECT_FALSE(app.isRunning());
    EXPECT_TRUE(app.setting("CatRecsApply"));
}

TEST(StartUp, theBarsMenusOpenUpwardInsideTheScreen)
{
    for (QSize screen : {QSize(240, 320), QSize(320, 240)}) {
        TestApp app(screen);
        ASSERT_TRUE(app.start());
        app.frame().move(400, 300);
        app.showFrame();
        for (int id : {CmdMileageMenu, CmdToolsMenu}) {
            auto *button = app.frame().commandBar()->findChild<QToolButton *>(
                QStringLiteral("command%1").arg(id));
            ASSERT_NE(button, nullptr);
            QRect menu;
            QTimer::singleShot(0, [&] {
                menu = button->menu()->geometry();
                button->menu()->close();
            });
            button->click();
            const QRect frame = app.frame().geometry();
            EXPECT_LE(menu.bottom(), button->mapToGlobal(QPoint(0, 0)).y()) << id;
            EXPECT_GE(menu.top(), frame.top()) << id;
            EXPECT_TRUE(menu.left() >= frame.left() && menu.right() <= frame.right()) << id;
            EXPECT_FALSE(button->underMouse()) << id;
        }
    }
}

// The trips are read while the window is built: a trip that cannot be read still gets the beep
// and the message, and the trips read before it are listed as read, unsorted, as after any load
// that failed.
TEST(StartUp, aTripThatCannotBeReadIsReportedAndTheOthersAreListed)
{
    TestApp app;
    app.kit.clock.now.second = 50;
    app.seed({trip(2005, 10, 20, 1000), trip(2005, 10, 2, 2000), trip(2005, 10, 11, 3000)});
    {
        SqliteConnection file;
        ASSERT_TRUE(file.open(DeviceRoot(app.devicePath()).storePath(),
                              SqliteConnection::Mode::ReadWriteExisting));
        ASSERT_TRUE(file.exec("UPDATE records SET properties = '{' WHERE sort_key = 2914552"));
    }
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    ASSERT_TRUE(app.start());
    ASSERT_EQ(app.kit.messageBoxes.texts(), QStringList{loadString(IDS_STATUS_PROBLEM)});
    EXPECT_EQ(app.kit.beeper.count, 1);
    EXPECT_EQ(app.list().rows(), (std::vector<QStringList>{{"20-10-05", "Job", "10.00"},
                                                           {"02-10-05", "Job", "20.00"}}));
    EXPECT_EQ(app.statusValue(StatusPane::RegisteredValue), QStringLiteral("30.00"));
}

// The status is read before the trips start loading and the frame is built: when it cannot be
// read the start ends there, after its message, with the store as it was.
TEST(StartUp, aStatusThatCannotBeReadEndsTheStartAndWritesNothing)
{
    TestApp app;
    app.seed({trip(2005, 10, 20, 1000)}, 100000, 200000, makeDate(2005, 10, 20));
    const QString store = DeviceRoot(app.devicePath()).storePath();
    {
        SqliteConnection file;
        ASSERT_TRUE(file.open(store, SqliteConnection::Mode::ReadWriteExisting));
        ASSERT_TRUE(file.exec("UPDATE records SET properties = '{' WHERE database = (SELECT oid "
                              "FROM databases WHERE name = 'Velmora OdometerRecStatus')"));
    }
    QFile before(store);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray stored = before.readAll();
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    EXPECT_FALSE(app.start());
    EXPECT_EQ(app.kit.messageBoxes.texts(), QStringList{loadString(IDS_STATUS_PROBLEM)});
    EXPECT_EQ(app.kit.beeper.count, 1);
    EXPECT_EQ(app.program().frame(), nullptr);
    QFile after(store);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), stored);
}

// The trips come back sorted by the saved order; the exit saves the order a header tap left.
TEST(Exit, savesTripsAndSettingsAndTheNextStartFindsThem)
{
    TestApp first;
    first.kit.clock.now.second = 50; // keys give the store order 2914550, 2914551, 2914552
    first.seed({trip(2005, 10, 20, 1000), trip(2005, 10, 2, 2000, "Holiday", "  "),
                trip(2005, 10, 11, 3000, "Shopping", " memo ")});
    ASSERT_TRUE(first.start());
    EXPECT_EQ(first.list().rows(), (std::vector<QStringList>{{"02-10-05", "Holiday", "20.00"},
                                                             {"11-10-05", "Shopping", "30.00"},
                                                             {"20-10-05", "Job", "10.00"}}));
    EXPECT_EQ(first.list().headerImage(0), 2) << "order 2 shows no arrow";
    EXPECT_EQ(first.list().rowImage(0), 4) << "a memo of blanks is no memo";
    EXPECT_EQ(first.list().rowImage(1), 3);
    EXPECT_EQ(first.list().rowImage(2), 4);
    const QAbstractItemModel &rows = *first.pane().listView().model();
    EXPECT_EQ(rows.index(0, 2).data(Qt::TextAlignmentRole), int(Qt::AlignRight | Qt::AlignVCenter))
        << "distances line up on the right";
    EXPECT_FALSE(rows.index(0, 1).data(Qt::TextAlignmentRole).isValid());
    for (int id : needsRecords)
        EXPECT_TRUE(first.isCommandEnabled(id)) << id;
    first.state().mainSortOrder = 1; // as a header tap would leave it
    first.close();
    EXPECT_FALSE(first.isRunning());
    const auto order = first.setting("SortOrder");
    ASSERT_TRUE(order);
    EXPECT_EQ(order->dword, 1u);
    EXPECT_TRUE(first.registryValue(QStringLiteral("Software\\Velmora\\Tripvane"),
                                    QStringLiteral("MajorVersion")));
    EXPECT_EQ(first.storedTrips().size(), 3u);

    TestApp second(Screen::Portrait, first.devicePath());
    ASSERT_TRUE(second.start());
    EXPECT_EQ(second.list().headerImage(0), 1);
    EXPECT_EQ(second.list().row(0)[0], QStringLiteral("20-10-05"));
    for (int id : needsUndo)
        EXPECT_FALSE(second.isCommandEnabled(id)) << id;
}

TEST(StartUp, damagedStoreEndsWithTheDesignedMessagesAndIsLeftAlone)
{
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("device"));
    ASSERT_TRUE(DeviceRoot(device).prepare());
    QFile store(DeviceRoot(device).storePath());
    ASSERT_TRUE(store.open(QIODevice::WriteOnly));
    store.write("this is not a store");
    store.close();

    TestApp app(Screen::Portrait, device);
    app.kit.messageBoxes.expect({MessageAnswer::Ok, MessageAnswer::Ok});
    EXPECT_FALSE(app.start());
    ASSERT_EQ(app.kit.messageBoxes.shown.size(), 2u);
    EXPECT_TRUE(app.kit.messageBoxes.shown[0].request.text.startsWith(
        QStringLiteral("Error during building database: ")));
    EXPECT_EQ(app.kit.messageBoxes.shown[1].request.text,
              QStringLiteral("The Tripvane program cannot continue!"));
    EXPECT_EQ(app.kit.messageBoxes.shown[1].request.icon, MessageIcon::Stop);
    EXPECT_FALSE(app.kit.messageBoxes.shown[1].underWaitCursor);
    ASSERT_TRUE(store.open(QIODevice::ReadOnly));
    EXPECT_EQ(store.readAll(), QByteArray("this is not a store"));
}

// The pane fills the main window below its band, or all of it in the wide layout.
void expectPanePlaced(TestApp &app, bool portrait)
{
    EXPECT_EQ(app.kit.services().screen().isPortrait(), portrait);
    EXPECT_EQ(app.pane().geometry().topLeft(), QPoint(0, portrait ? 27 : 0));
    EXPECT_EQ(app.pane().width(), app.frame().width());
}

// Only exactly 240 by 320 is the portrait layout.
TEST(Layout, resizingIsAScreenChangeAndKeepsTheOrder)
{
    for (QSize screen : {QSize(480, 640), QSize(640, 480)}) {
        TestApp other(screen);
        ASSERT_TRUE(other.start());
        expectPanePlaced(other, false);
    }
    TestApp app;
    app.seed({trip(2005, 10, 2, 100), trip(2005, 10, 20, 200)});
    app.seedSetting("SortOrder", 1);
    ASSERT_TRUE(app.start());
    app.frame().show();
    app.resizeScreen({320, 240});
    expectPanePlaced(app, false);
    EXPECT_EQ(app.list().row(0)[0], QStringLiteral("20-10-05"));
    EXPECT_EQ(app.list().headerImage(0), 1);
    app.frame().rotate();
    QCoreApplication::processEvents();
    EXPECT_EQ(app.frame().size(), QSize(240, 320));
    expectPanePlaced(app, true);
    EXPECT_EQ(app.list().row(0)[0], QStringLiteral("20-10-05"));
}

// The balance arithmetic is the model's; here only that the pane and the list show the stored
// trips and status in the orders and forms the registry holds.
TEST(StartUp, descendingOrderViewOptionsAndTheBalanceFromTheStore)
{
    TestApp app;
    app.seedSetting("SortOrder", 1);
    app.seedSetting("DateTypeView", 3);
    app.seedSetting("DistanceTypeView", 1);
    app.seed({trip(2005, 10, 29, 49300), trip(2001, 1, 1, 50000), trip(2005, 10, 30, 99900)},
             15400000, 15500000, makeDate(2005, 10, 29));
    ASSERT_TRUE(app.start());
    EXPECT_EQ(app.list().headerImage(0), 1);
    EXPECT_EQ(app.list().row(0), (QStringList{"10/30/05", "Job", "999,00"}));
    EXPECT_EQ(app.list().row(2), (QStringList{"01/01/01", "Job", "500,00"}));
    EXPECT_EQ(app.statusValue(StatusPane::StartsValue), QStringLiteral("154.000,00"));
    EXPECT_EQ(app.statusValue(StatusPane::EndsValue), QStringLiteral("155.000,00"));
    EXPECT_EQ(app.statusValue(StatusPane::RegisteredValue), QStringLiteral("993,00"));
    EXPECT_EQ(app.statusValue(StatusPane::BalanceValue), QStringLiteral("7,00"));
}

} // namespace
