#include "DeviceFrame.h"
#include "EveryDialog.h"
#include "GuiHelpers.h"
#include "ListView.h"
#include "Program.h"
#include "ScreenZoom.h"
#include "StatusPane.h"
#include "Testkit.h"

#include <QApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

// Every dialog and the status pane fit the handheld's screen in both layouts, also after the
// screen changed under an open dialog.
TEST(Layout, everyDialogFitsBothScreens)
{
    TestApp app;
    app.seed({trip(2005, 10, 1, 100)});
    ASSERT_TRUE(app.start());
    app.frame().show();
    // Run again at each zoom: the window is scaled, the layouts' coordinates are not.
    const int zoom = std::max(1, qEnvironmentVariableIntValue("QT_SCALE_FACTOR"));
    EXPECT_EQ(app.frame().devicePixelRatio(), zoom);
    gui::EveryDialog every(app);
    ASSERT_EQ(DialogDriver(every.report).list(ReportDialog::ReportList).rowCount(), 1);
    const auto dialogs = every.all();
    RecordDialog &record = every.record;

    for (QSize screen : {QSize(240, 320), QSize(320, 240), QSize(240, 320)}) {
        app.resizeScreen(screen);
        const bool portrait = screen == Screen::Portrait;
        // A dialog covers the frame below its top bar.
        const QRect page(0, 0, screen.width(), screen.height() - DeviceFrame::BarHeight);
        for (const auto &[name, dialog] : dialogs)
            gui::expectControlsFit(dialog->controls(), page, name,
                                   {dialog->findChild<ListView *>()});
        // A combo box is one line high; its template height holds the dropped-down list.
        EXPECT_LT(record.controls().widget(RecordDialog::CategoryCombo)->height(), 30);

        // Everything of the pane, "Change Status" included, shows on the main window above the
        // command bar; as designed, the portrait pane reaches one pixel below it.
        StatusPane &pane = app.pane();
        const QRect shown = pane.parentWidget()->rect().adjusted(0, 0, 0, portrait ? 1 : 0);
        gui::expectControlsFit(pane.controls(), shown.translated(-pane.pos()) & pane.rect(),
                               "status pane", {&pane.listView()});
    }
}

// The longest category a trip can have shows whole in the portrait trip dialog; the narrower
// wide box ends it in an ellipsis and gives the whole name as its tip.
TEST(Layout, aCategoryOfTwentyLettersShowsWholeOrAsATip)
{
    const QString name = QStringLiteral("Business trip abroad");
    TestApp app;
    app.seed({trip(2005, 10, 1, 100, "Business trip abroad")});
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.log().addCategory(name));
    app.frame().show();
    gui::EveryDialog every(app);
    every.record.show();
    QWidget *box = every.record.controls().widget(RecordDialog::CategoryCombo);
    ASSERT_EQ(DialogDriver(every.record).text(RecordDialog::CategoryCombo), name);
    EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(name) + 24);
    EXPECT_TRUE(box->toolTip().isEmpty());
    app.resizeScreen(Screen::Portrait.transposed());
    QApplication::processEvents();
    EXPECT_EQ(box->toolTip(), name);
}

TEST(Layout, changeStatusMovesTwoPixelsUpAfterAScreenChangeInTheWideLayout)
{
    TestApp app(QSize(320, 240));
    ASSERT_TRUE(app.start());
    EXPECT_EQ(app.paneControlRect(StatusPane::ChangeStatusButton), QRect(225, 160, 91, 20));
    app.frame().rotate();
    app.frame().rotate();
    QApplication::processEvents();
    EXPECT_EQ(app.paneControlRect(StatusPane::ChangeStatusButton), QRect(225, 158, 91, 20));
}

// Ctrl+plus and Ctrl+minus keep a level from 1 to 3 and close for a new start at the new one.
TEST(Layout, zoomKeysStoreTheLevelAndCloseThroughTheNormalExit)
{
    struct Case
    {
        int from;
        Qt::Key key;
        int to; // the same level: nothing happens
    };
    for (const Case c : {Case{1, Qt::Key_Plus, 2}, Case{2, Qt::Key_Minus, 1},
                         Case{3, Qt::Key_Plus, 3}, Case{1, Qt::Key_Minus, 1}}) {
        TestApp app;
        ASSERT_TRUE(app.start());
        ScreenZoom zoom(app.zoomSettingsFile());
        zoom.setLevel(c.from);
        app.showFrame();
        app.press(c.key, Qt::ControlModifier);
        QApplication::processEvents();
        EXPECT_EQ(zoom.level(), c.to);
        EXPECT_EQ(app.isRunning(), c.from == c.to) << c.from << " " << c.key;
        EXPECT_EQ(app.program().restartRequested(), c.from != c.to);
        if (c.from != c.to) {
            EXPECT_TRUE(app.setting("SortOrder")) << "saved through the normal exit";
        }
    }
}

// Run at zoom 3 on the 800 x 800 test screen, where the window does not fit: a stored 3 is
// lowered to 2, the largest that fits, for the next start.
TEST(Layout, aStoredZoomThatNoLongerFitsIsLowered)
{
    if (qEnvironmentVariableIntValue("QT_SCALE_FACTOR") != 3)
        GTEST_SKIP() << "only at zoom 3";
    TestApp app;
    ScreenZoom zoom(app.zoomSettingsFile());
    zoom.setLevel(3);
    ASSERT_TRUE(app.start());
    QApplication::processEvents();
    EXPECT_EQ(zoom.level(), 2);
    EXPECT_TRUE(app.program().restartRequested());
}

// Whatever the zoom and the desk's screen, a window that fits ends wholly on it: the start for a
// new zoom left at the screen's far corner is moved back onto it, and Ctrl+R turns the window
// only where the turned window fits, keeping it on the screen.
TEST(Layout, everyZoomAndLayoutEndsOnTheScreen)
{
    for (const bool wide : {false, true}) {
        SCOPED_TRACE(wide ? "wide" : "portrait");
        TestApp app;
        const QRect available = QApplication::primaryScreen()->availableGeometry();
        const qreal zoom = std::max(1, qEnvironmentVariableIntValue("QT_SCALE_FACTOR"));
        ScreenZoom stored(app.zoomSettingsFile());
        stored.setLevel(int(zoom));
        stored.keepWindow({wide, (available.bottomRight() - QPoint(5, 5)) * zoom});
        ASSERT_TRUE(app.start());
        QApplication::processEvents();
        const QSize shown = app.frame().frameGeometry().size();
        if (shown.width() > available.width() || shown.height() > available.height()) {
            EXPECT_TRUE(app.program().restartRequested()) << "a zoom that does not fit is lowered";
            continue;
        }
        EXPECT_TRUE(available.contains(app.frame().frameGeometry()));
        const QSize before = app.frame().size();
        const bool turnedFits =
            shown.height() <= available.width() && shown.width() <= available.height();
        app.frame().activateWindow();
        app.press(Qt::Key_R, Qt::ControlModifier);
        EXPECT_EQ(app.frame().size(), turnedFits ? before.transposed() : before)
            << "turned where it fits, refused where not";
        EXPECT_TRUE(available.contains(app.frame().frameGeometry()));
    }
}

// The start for a new zoom shows the window in the layout and at the place it was left.
TEST(Layout, theStartForANewZoomKeepsTheLayoutAndThePlace)
{
    TestApp app(Screen::Portrait.transposed());
    ASSERT_TRUE(app.start());
    app.showFrame();
    app.frame().move(70, 50);
    app.press(Qt::Key_Plus, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_TRUE(app.program().restartRequested());

    TestApp again(Screen::Portrait, app.devicePath());
    ASSERT_TRUE(again.start());
    EXPECT_EQ(again.frame().size(), Screen::Portrait.transposed());
    EXPECT_EQ(again.frame().pos(), QPoint(70, 50));
    again.close();
    TestApp third(Screen::Portrait, app.devicePath());
    ASSERT_TRUE(third.start());
    EXPECT_EQ(third.frame().size(), Screen::Portrait) << "kept for one start only";
}

} // namespace
