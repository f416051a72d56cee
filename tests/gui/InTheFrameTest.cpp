// Each dialog as the user meets it: a page of the shown frame, with keys typed into whatever has
// the keyboard focus, without clicking a field first.
#include "Commands.h"
#include "DeleteRangeDialog.h"
#include "DeviceFrame.h"
#include "ListView.h"
#include "RecordDialog.h"
#include "StatusDialog.h"
#include "StatusPane.h"
#include "Testkit.h"
#include "TripLog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProxyStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include <csignal>
#include <set>
#include <utility>

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

TEST(InTheFrame, aNewTripTakesTheTypedDistanceAlsoAfterARefusal)
{
    TestApp app;
    ASSERT_TRUE(app.start());
    app.showFrame();
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    app.onDialog([&](DialogDriver &dialog) {
        app.type(QStringLiteral("0"));
        EXPECT_EQ(dialog.text(RecordDialog::DistanceEdit), QStringLiteral("0"));
        app.press(Qt::Key_Return);
        EXPECT_EQ(dialog.result(), 0) << "zero is refused";
        app.type(QStringLiteral("42.5")); // the refused text is selected: typing replaces it
        app.press(Qt::Key_Tab);
        app.type(QStringLiteral("J")); // the category list, by its first letter
        EXPECT_EQ(dialog.text(RecordDialog::DistanceEdit), QStringLiteral("42.5"));
        dialog.click(RecordDialog::OkButton);
    });
    app.command(CmdNew);
    ASSERT_EQ(app.kit.messageBoxes.texts(), QStringList{"You can not enter 0.0 !"});
    const auto stored = app.storedTrips();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].distance, 4250);
    EXPECT_EQ(stored[0].category, QStringLiteral("Job"));
    EXPECT_EQ(stored[0].dateKey, 20051029u) << "the date was not typed over";
}

// The keys move through the trips by rows, as in a report list: Home and End go to the first
// and last trip, Left and Right only scroll, Enter opens the chosen trip and Tab leaves the list.
TEST(InTheFrame, theTripListKeysMoveByRows)
{
    TestApp app;
    app.seed({trip(2005, 10, 1, 100), trip(2005, 10, 2, 200), trip(2005, 10, 3, 300)});
    ASSERT_TRUE(app.start());
    app.showFrame();
    app.list().selectRow(1);
    app.pane().listView().setFocus();
    app.press(Qt::Key_End);
    EXPECT_EQ(app.list().selectedRow(), 2);
    app.press(Qt::Key_Home);
    EXPECT_EQ(app.list().selectedRow(), 0);
    app.press(Qt::Key_Right);
    app.press(Qt::Key_Down);
    EXPECT_EQ(app.list().selectedRow(), 1);
    EXPECT_EQ(app.pane().listView().currentIndex().column(), 0) << "Right moved to a column";
    app.onDialog([](DialogDriver &dialog) {
        EXPECT_EQ(dialog.text(RecordDialog::DistanceEdit), QStringLiteral("2.00"));
        dialog.click(RecordDialog::CancelButton);
    });
    app.press(Qt::Key_Return);
    EXPECT_EQ(app.kit.dialogRunner.runCount, 1);
    app.pane().listView().setFocus();
    app.press(Qt::Key_Tab);
    EXPECT_FALSE(app.pane().listView().hasFocus()) << "Tab stays in the list";
}

// Records the cells a style is asked to draw as under the pointer.
class HoverRecorder final : public QProxyStyle
{
public:
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const auto *cell = qstyleoption_cast<const QStyleOptionViewItem *>(option);
        if (element == CE_ItemViewItem && cell && cell->state.testFlag(State_MouseOver))
            hovered.insert({cell->index.row(), cell->index.column()});
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    mutable std::set<std::pair<int, int>> hovered;
};

// Styles that light the row under the pointer light all of it, as a report list does.
TEST(InTheFrame, theTripUnderThePointerIsDrawnHoveredAcrossItsRow)
{
    HoverRecorder style; // outlives the view that draws with it
    TestApp app;
    app.seed({trip(2005, 10, 1, 100), trip(2005, 10, 2, 200), trip(2005, 10, 3, 300)});
    ASSERT_TRUE(app.start());
    app.showFrame();
    ListView &view = app.pane().listView();
    view.setStyle(&style);
    const QPoint pointer = view.visualRect(view.model()->index(1, 0)).center();
    QHoverEvent move(QEvent::HoverMove, QPointF(pointer),
                     QPointF(view.viewport()->mapToGlobal(pointer)), QPointF(-1, -1));
    QApplication::sendEvent(view.viewport(), &move);
    view.viewport()->repaint();
    EXPECT_EQ(style.hovered, (std::set<std::pair<int, int>>{{1, 0}, {1, 1}, {1, 2}}));
    QHoverEvent leave(QEvent::HoverLeave, QPointF(-1, -1), QPointF(-1, -1), QPointF(pointer));
    QApplication::sendEvent(view.viewport(), &leave);
    style.hovered.clear();
    view.viewport()->repaint();
    EXPECT_TRUE(style.hovered.empty());
}

TEST(InTheFrame, changeStatusTakesTheTypedEnds)
{
    TestApp app;
    app.seed({}, 100000, 200000, makeDate(2005, 10, 20));
    ASSERT_TRUE(app.start());
    app.showFrame();
    app.kit.dialogRunner.expect([&](QDialog &d) {
        EXPECT_EQ(app.frame().caption(), QStringLiteral("Kilometers"));
        EXPECT_EQ(app.frame().topDialog(), dynamic_cast<FramePage *>(&d));
        app.type(QStringLiteral("2500"));
        EXPECT_EQ(DialogDriver(d).text(StatusDialog::EndsEdit), QStringLiteral("2500"));
        ASSERT_TRUE(app.frame().okButtonVisible());
        app.frame().clickOk(); // the title-bar ok
    });
    app.clickPane(StatusPane::ChangeStatusButton);
    EXPECT_EQ(app.frame().caption(), QStringLiteral("Tripvane"));
    EXPECT_FALSE(app.frame().okButtonVisible());
    EXPECT_EQ(app.log().status().end.distance, 250000);
    EXPECT_EQ(app.log().status().end.dateKey, 20051020u);
    EXPECT_EQ(app.statusValue(StatusPane::EndsValue), QStringLiteral("2,500.00"));
}

TEST(InTheFrame, deleteByRangeTakesTheTypedStartDay)
{
    TestApp app;
    app.seed({trip(2005, 10, 1, 100), trip(2005, 10, 5, 200), trip(2005, 10, 30, 300)});
    ASSERT_TRUE(app.start());
    app.showFrame();
    app.kit.messageBoxes.expect(MessageAnswer::Yes);
    app.onDialog([&](DialogDriver &dialog) {
        app.type(QStringLiteral("02")); // the day of Starts
        EXPECT_EQ(dialog.date(DeleteRangeDialog::StartsPicker), QDate(2005, 10, 2));
        dialog.click(DeleteRangeDialog::FindButton);
    });
    app.command(CmdDeleteByRange);
    EXPECT_EQ(app.kit.messageBoxes.texts(), QStringList{"1 records will be deleted. Continue?"});
    EXPECT_EQ(app.storedTrips().size(), 2u);
}

} // namespace

namespace {

// The processes whose command line is exactly these arguments.
std::vector<pid_t> processesRunning(const QStringList &arguments)
{
    std::vector<pid_t> found;
    const QByteArray wanted = arguments.join(QChar(0)).toLocal8Bit() + '\0';
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (number && cmdline.open(QIODevice::ReadOnly) && cmdline.readAll() == wanted)
            found.push_back(pid);
    }
    return found;
}

// F1 on the main window starts the viewer at the Navigating section and keeps the chosen trip.
TEST(HelpKey, f1StartsTheViewerBesideTheProgramAtTheSectionOnScreenOrSaysItCannot)
{
    TestApp app;
    app.seed({trip(2005, 10, 2, 100), trip(2005, 10, 3, 100)});
    ASSERT_TRUE(app.start());
    app.kit.helpViewer.forwardTo = makeProgramHelpViewer(QStringLiteral(PROGRAM_FOLDER));
    app.showFrame();
    app.list().selectRow(1);
    app.press(Qt::Key_F1);
    EXPECT_EQ(app.kit.helpViewer.opened.first(), QStringLiteral("file:tripvaneppc.htm#Navigating"));
    EXPECT_EQ(app.list().selectedRow(), 1);
    const QStringList viewer{QStringLiteral(PROGRAM_FOLDER "/peghelp"),
                             QStringLiteral("file:tripvaneppc.htm#Navigating")};
    std::vector<pid_t> started;
    for (int wait = 0; wait < 100 && started.empty(); ++wait) {
        QTest::qWait(50);
        started = processesRunning(viewer);
    }
    ASSERT_EQ(started.size(), 1u) << "peghelp with the Navigating section";
    app.press(Qt::Key_F1);
    QTest::qWait(300);
    EXPECT_EQ(processesRunning(viewer).size(), 1u) << "a second F1 uses the open viewer";
    ::kill(started.front(), SIGTERM);
    EXPECT_TRUE(app.kit.messageBoxes.shown.empty());

    // A viewer that cannot start is reported.
    app.kit.helpViewer.forwardTo = makeProgramHelpViewer(QStringLiteral("/nonexistent"));
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    app.press(Qt::Key_F1);
    EXPECT_EQ(app.kit.messageBoxes.texts(), QStringList{"The help viewer could not be started."});
}

} // namespace
