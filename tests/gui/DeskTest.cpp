// The program as a desk user meets it: from the keyboard, through a screen reader, in a dark
// theme, with the window's own close button.
#include "Commands.h"
#include "DeviceFrame.h"
#include "EveryDialog.h"
#include "Heading.h"
#include "ListView.h"
#include "Program.h"
#include "ScreenZoom.h"
#include "StatusPane.h"
#include "Testkit.h"

#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <map>
#include <set>

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

// Names, the focus and the places a reader hears are read through AT-SPI by screen-reader.sh;
// here what that check cannot tell apart: the lists' headers and the label each field has.
TEST(Desk, everyListAnnouncesItsHeadersAndEveryFieldItsRowsLabel)
{
    TestApp app;
    app.seed({trip(2005, 10, 1, 100)});
    ASSERT_TRUE(app.start());
    gui::EveryDialog every(app);
    for (ListView *list : {&app.pane().listView(), every.report.findChild<ListView *>(),
                           every.book.findChild<ListView *>()}) {
        ASSERT_NE(list, nullptr);
        QAccessibleTableInterface *table =
            QAccessible::queryAccessibleInterface(list)->tableInterface();
        ASSERT_NE(table, nullptr);
        for (int column = 0; column < list->model()->columnCount(); ++column)
            EXPECT_EQ(table->columnDescription(column),
                      list->model()->headerData(column, Qt::Horizontal).toString())
                << list->objectName().toStdString() << ", column " << column;
    }
    // Each field is labelled by (a screen reader's relation, Alt and the letter) the label on
    // its row, not by the one above it.
    using R = RecordDialog;
    const std::map<int, QString> byLabel{
        {R::DatePicker, "Date:"}, {R::DistanceEdit, "Km/Miles:"}, {R::CategoryCombo, "Category:"},
        {R::StartEdit, "Start:"}, {R::DestinationEdit, "Dest:"},  {R::MemoEdit, "Memo:"}};
    std::map<int, QString> labelled;
    for (QLabel *label : every.record.findChildren<QLabel *>())
        if (label->buddy())
            labelled[every.record.controls().idOf(label->buddy())] = withoutMnemonic(label->text());
    EXPECT_EQ(labelled, byLabel);
}

// The colour a widget is drawn on: that of the nearest widget that paints its background.
QColor backgroundOf(const QWidget &widget)
{
    const QWidget *painter = &widget;
    while (painter->parentWidget() && !painter->autoFillBackground() &&
           !qobject_cast<const QDialog *>(painter))
        painter = painter->parentWidget();
    return painter->palette().color(painter->backgroundRole());
}

TEST(Desk, everyTextStandsOutUnderTheDefaultAndADarkPalette)
{
    const QPalette desktop = QApplication::palette();
    for (const auto &[paletteName, palette] :
         {std::pair{"default", QApplication::style()->standardPalette()},
          std::pair{"dark", darkPalette()}}) {
        QApplication::setPalette(palette);
        TestApp app;
        app.seed({trip(2005, 10, 1, 100)});
        ASSERT_TRUE(app.start());
        gui::EveryDialog every(app);
        auto owners = every.all();
        std::vector<std::pair<std::string, QWidget *>> surfaces{{"frame", &app.frame()}};
        for (const auto &[name, dialog] : owners)
            surfaces.emplace_back(name, dialog);
        for (const auto &[name, surface] : surfaces) {
            for (QLabel *label : surface->findChildren<QLabel *>()) {
                if (label->text().isEmpty())
                    continue;
                EXPECT_GE(contrastRatio(label->palette().color(label->foregroundRole()),
                                        backgroundOf(*label)),
                          MinimumContrast)
                    << paletteName << ", " << name << ": " << label->text().toStdString();
            }
        }
        // The blue headings, on the dialogs and on the pane.
        for (QWidget *painted :
             std::initializer_list<QWidget *>{&every.status, &every.categories, &app.pane()}) {
            const QColor background = backgroundOf(*painted);
            EXPECT_GE(contrastRatio(headingColour(background), background), MinimumContrast)
                << paletteName << ", heading of " << painted->objectName().toStdString();
        }
    }
    QApplication::setPalette(desktop);
}

// Typed into whatever has the focus in the shown frame: Tab goes through the trip dialog as
// its controls are placed, with OK and Cancel last; a date typed after Shift+Tab is the date
// typed, not a year made of it.
TEST(Desk, tabFollowsTheTripDialogAsPlacedAndATypedDateIsTheDateTyped)
{
    TestApp app;
    ASSERT_TRUE(app.start());
    app.showFrame();
    using R = RecordDialog;
    std::vector<int> visited;
    app.onDialog([&](DialogDriver &dialog) {
        for (int step = 0; step < 20 && (visited.empty() || visited.size() < 2 ||
                                         visited.back() != visited.front());
             ++step) {
            if (visited.empty() || visited.back() != dialog.focusedControl())
                visited.push_back(dialog.focusedControl());
            app.press(Qt::Key_Tab);
        }
        while (dialog.focusedControl() != R::BookButton)
            app.press(Qt::Key_Tab);
        app.press(Qt::Key_Backtab);
        ASSERT_EQ(dialog.focusedControl(), R::DatePicker);
        app.type(QStringLiteral("3"));
        app.press(Qt::Key_Tab); // a day of one digit goes on to the month
        app.press(Qt::Key_Backtab);
        EXPECT_EQ(app.kit.beeper.count, 0);
        EXPECT_EQ(dialog.date(R::DatePicker).day(), 3);
        app.type(QStringLiteral("30-11-2"));
        app.press(Qt::Key_Tab);
        EXPECT_EQ(app.kit.beeper.count, 1) << "the year 2 is refused, not taken as 2005";
        ASSERT_EQ(dialog.focusedControl(), R::DatePicker);
        app.type(QStringLiteral("30-11-2026"));
        EXPECT_EQ(dialog.date(R::DatePicker), QDate(2026, 11, 30));
        app.press(Qt::Key_Tab);
        EXPECT_EQ(dialog.date(R::DatePicker), QDate(2026, 11, 30)) << "the date changed on leaving";
        // The calendar drops down inside the screen.
        QWidget *picker = dialog.control(R::DatePicker);
        QTest::mouseClick(picker, Qt::LeftButton, {},
                          QPoint(picker->width() - 5, picker->height() / 2));
        QWidget *calendar =
            qobject_cast<QDateEdit *>(dialog.control(R::DatePicker))->calendarWidget()->window();
        ASSERT_NE(calendar, nullptr);
        ASSERT_TRUE(calendar->isVisible());
        EXPECT_TRUE(app.frame().geometry().contains(calendar->geometry()))
            << calendar->geometry().x() << "," << calendar->geometry().y() << " "
            << calendar->width() << "x" << calendar->height();
        calendar->close();
        dialog.click(R::CancelButton);
    });
    app.press(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(app.kit.dialogRunner.runCount, 1) << "Ctrl+N opens a new trip";
    const std::vector<int> placed{
        R::DistanceEdit,    R::CategoryCombo, R::StartEdit,  R::ToDestinationButton,
        R::DestinationEdit, R::ToStartButton, R::MemoEdit,   R::CancelButton,
        R::OkButton,        R::DatePicker,    R::BookButton, R::DistanceEdit};
    EXPECT_EQ(visited, placed);
}

// Under a dialog the trip list is away for a reader too: no cell of it shows or holds the
// focus. Back, it has its current row and its place again.
TEST(Desk, aListUnderADialogIsAwayForAReaderAndComesBackAsItWas)
{
    TestApp app;
    app.seed(std::vector<MileageRecord>(60, trip(2005, 10, 1, 100)));
    ASSERT_TRUE(app.start());
    app.showFrame();
    ListView &list = app.pane().listView();
    list.setFocus();
    app.press(Qt::Key_End);
    const int scrolled = list.verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(&list);
    const auto cellsRead = [reader](bool focused) {
        int found = 0;
        for (int child = 0; child < reader->childCount(); ++child) {
            const QAccessible::State state = reader->child(child)->state();
            found += reader->child(child)->role() == QAccessible::Cell &&
                     (focused ? bool(state.focused) : !state.invisible);
        }
        return found;
    };
    const int cellsShown = cellsRead(false);
    ASSERT_GT(cellsShown, 0);
    app.onDialog([&](DialogDriver &dialog) {
        EXPECT_EQ(cellsRead(false), 0) << "cells of a hidden list show";
        EXPECT_EQ(cellsRead(true), 0) << "a cell of a hidden list has the focus";
        dialog.click(RecordDialog::CancelButton);
    });
    app.command(CmdNew);
    EXPECT_EQ(cellsRead(false), cellsShown);
    EXPECT_EQ(list.currentIndex().row(), 59);
    EXPECT_EQ(list.verticalScrollBar()->value(), scrolled);
}

// An edited trip has Delete between Cancel and OK: Tab takes the three buttons as they stand,
// across the portrait layout and down the wide one.
TEST(Desk, tabTakesTheEditedTripsButtonsAsTheyStand)
{
    using R = RecordDialog;
    for (const auto &[screen, placed] :
         {std::pair{QSize(Screen::Portrait),
                    std::vector<int>{R::CancelButton, R::DeleteButton, R::OkButton}},
          std::pair{QSize(320, 240),
                    std::vector<int>{R::OkButton, R::DeleteButton, R::CancelButton}}}) {
        TestApp app(screen);
        app.seed({trip(2005, 10, 1, 100)});
        ASSERT_TRUE(app.start());
        app.showFrame();
        std::vector<int> visited;
        app.onDialog([&](DialogDriver &dialog) {
            dialog.control(R::MemoEdit)->setFocus();
            for (int step = 0; step < 3; ++step) {
                app.press(Qt::Key_Tab);
                visited.push_back(dialog.focusedControl());
            }
            dialog.click(R::CancelButton);
        });
        app.list().selectRow(0);
        app.pane().listView().setFocus();
        app.press(Qt::Key_Return);
        EXPECT_EQ(visited, placed) << screen.width() << "x" << screen.height();
    }
}

// F10 and Alt with the underlined letter open the command bar's menus; Right goes on to the next;
// Enter presses a button of the bar.
TEST(Desk, theMenusOpenFromTheKeyboard)
{
    TestApp app;
    ASSERT_TRUE(app.start());
    app.showFrame();
    const QString mileage = QStringLiteral("menu%1").arg(CmdMileageMenu);
    const QString tools = QStringLiteral("menu%1").arg(CmdToolsMenu);
    for (const auto &[keys, menu] :
         {std::pair{std::vector<Qt::Key>{Qt::Key_F10}, mileage},
          std::pair{std::vector<Qt::Key>{Qt::Key_F10, Qt::Key_Right}, tools}}) {
        QStringList opened;
        // Each menu runs its own loop: look at it once it is up, and go on.
        std::function<void()> watch = [&] {
            if (QWidget *popup = QApplication::activePopupWidget()) {
                opened.append(popup->objectName());
                if (opened.size() < int(keys.size()))
                    QTest::keyClick(popup, keys[std::size_t(opened.size())]);
                else
                    popup->close();
            }
            if (opened.size() < int(keys.size()))
                QTimer::singleShot(20, watch);
        };
        QTimer::singleShot(20, watch);
        app.press(keys.front());
        EXPECT_TRUE(QTest::qWaitFor([&] { return opened.size() == int(keys.size()); }, 2000));
        EXPECT_EQ(opened.last(), menu);
    }
    // Enter presses a bar's button that has the focus, as Space does.
    QToolBar &bar = *app.frame().commandBar();
    bar.widgetForAction(bar.findChild<QAction *>(QStringLiteral("command%1").arg(CmdNew)))
        ->setFocus(Qt::TabFocusReason);
    app.onDialog([](DialogDriver &dialog) { dialog.click(RecordDialog::CancelButton); });
    app.press(Qt::Key_Return);
    EXPECT_EQ(app.kit.dialogRunner.runCount, 1) << "Enter on New";
}

// The window's close button while a dialog is open leaves through the normal exit.
TEST(Desk, theWindowsCloseButtonUnderADialogLeavesThroughTheExit)
{
    TestApp app;
    ASSERT_TRUE(app.start());
    app.showFrame();
    app.kit.dialogRunner.expect([&](QDialog &dialog) {
        app.type(QStringLiteral("12"));
        app.frame().close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 1000));
    });
    app.command(CmdNew);
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.program().hasExited(); }, 1000));
    EXPECT_FALSE(app.frame().isVisible());
    EXPECT_TRUE(app.storedTrips().empty()) << "the open trip was left as its Cancel leaves it";
}

// The export's short "OK !" box is wide enough for its caption beside the title bar's buttons.
TEST(Desk, aShortMessageShowsItsWholeCaption)
{
    TestApp app;
    app.kit.messageBoxes.forwardTo = makeDesktopMessageBoxes();
    ASSERT_TRUE(app.start());
    app.showFrame();
    int room = -1;
    QTimer::singleShot(50, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            room = box->width() - box->fontMetrics().horizontalAdvance(box->windowTitle());
            box->close();
        }
    });
    app.kit.services().message(QStringLiteral("OK !"), MessageIcon::Exclamation,
                               MessageButtons::Ok);
    EXPECT_EQ(app.kit.messageBoxes.shown.at(0).request.caption, QStringLiteral("Tripvane"));
    EXPECT_GE(room, 90) << "room for the title bar's icon and its three buttons";
}

// Numbers and the trips' dates are never cut: the columns fit the list, a text column gives way.
TEST(Desk, everyListFitsItsColumnsAndShowsWholeAmounts)
{
    for (QSize screen : {Screen::Portrait, Screen::Portrait.transposed()}) {
        TestApp app(screen);
        std::vector<MileageRecord> trips(40, trip(2005, 10, 3, 100));
        trips.push_back(trip(2005, 6, 18, 99999999)); // at the largest amount
        app.seed(trips);
        ASSERT_TRUE(app.start());
        app.frame().show();
        // The last trip chosen: the list shows whole rows from its top.
        ListView &shown = app.pane().listView();
        shown.selectRow(shown.model()->rowCount() - 1);
        QApplication::processEvents();
        EXPECT_EQ(shown.rowViewportPosition(shown.rowAt(0)), 0) << "half a row at the top";
        EXPECT_LE(shown.visualRect(shown.currentIndex()).bottom(), shown.viewport()->height())
            << "the chosen trip is whole";
        gui::EveryDialog every(app);
        for (ListView *list : {&app.pane().listView(), every.report.findChild<ListView *>(),
                               every.book.findChild<ListView *>()}) {
            ASSERT_NE(list, nullptr);
            list->parentWidget()->show();
            int right = 0;
            for (int column = 0; column < list->model()->columnCount(); ++column) {
                right += list->columnWidth(column);
                const bool dates = column == 0 && list == &app.pane().listView();
                if (!dates && !list->listModel().columns()[std::size_t(column)].rightAligned)
                    continue;
                // What the cells take, image and margins included, as the view draws them.
                QStyleOptionViewItem option;
                option.initFrom(list);
                option.widget = list;
                option.font = list->font();
                option.decorationSize = list->iconSize();
                for (int row = 0; row < list->model()->rowCount(); ++row) {
                    const QModelIndex cell = list->model()->index(row, column);
                    EXPECT_LE(list->itemDelegate()->sizeHint(option, cell).width(),
                              list->columnWidth(column))
                        << cell.data().toString().toStdString() << " is cut";
                }
            }
            EXPECT_LE(right, list->viewport()->width()) << list->objectName().toStdString();
        }
    }
}

TEST(Desk, aZoomIsOfferedOnlyWhereTheWindowFits)
{
    // 1280 x 1024 at 192 dpi: the desk already shows each pixel twice.
    const QSize available(640, 512 - 30);
    EXPECT_TRUE(ScreenZoom::fits(QSize(240, 346), available, 1, 1));
    EXPECT_FALSE(ScreenZoom::fits(QSize(240, 346), available, 1, 2));
    // 1920 x 1080 at 96 dpi, shown twice already: three times still fits.
    EXPECT_TRUE(ScreenZoom::fits(QSize(240, 346), QSize(960, 525), 2, 3));
}

} // namespace
