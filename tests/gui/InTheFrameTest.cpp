// The program as the user meets it: the shown frame, with keys typed into whatever has the
// keyboard focus.
#include "Commands.h"
#include "DataTable.h"
#include "DeviceFrame.h"
#include "DeviceRoot.h"
#include "EveryDialog.h"
#include "ListView.h"
#include "RecordDialog.h"
#include "StatusPane.h"
#include "Testkit.h"
#include "TripLog.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <map>
#include <set>
#include <utility>

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

// One dialog's keys (see keys-in-the-frame.txt).
void typeInto(TestApp &app, QDialog &dialog, const QString &keys)
{
    DialogDriver driver(dialog);
    for (const QString &step : keys.split(u' ', Qt::SkipEmptyParts)) {
        const QString argument = step.section(u':', 1);
        if (step.startsWith(u'@'))
            EXPECT_EQ(driver.focusedControl(), step.mid(1).toInt()) << qPrintable(keys);
        else if (step.startsWith(QLatin1String("type:")))
            app.type(QString(argument).replace(u'_', u' '));
        else if (step.startsWith(QLatin1String("key:")))
            app.press(Qt::Key(QKeySequence::fromString(argument)[0].key()));
        else if (step.startsWith(QLatin1String("click:")))
            driver.click(argument.toInt());
        else if (step == QLatin1String("ok"))
            app.frame().clickOk();
        else
            ADD_FAILURE() << "no such step: " << qPrintable(step);
    }
}

// What the device holds, in the table's words.
QString held(TestApp &app, const QString &what)
{
    QStringList items;
    if (what == QLatin1String("trips")) {
        for (const QStringList &row : app.list().rows())
            items.append(row.join(u' '));
    } else if (what == QLatin1String("ends")) {
        items.append(app.statusValue(StatusPane::EndsValue));
    } else if (what == QLatin1String("categories")) {
        for (const QString &name : app.storedCategories())
            items.append(name);
    } else if (what == QLatin1String("routes")) {
        for (const QStringList &route : app.storedRoutes())
            items.append(route.join(u' '));
    }
    return items.join(u';');
}

TEST(InTheFrame, everyDialogTakesTheKeysWhereTheFocusIs)
{
    const std::map<QString, int> commands{{"New", CmdNew},
                                          {"DeleteByRange", CmdDeleteByRange},
                                          {"Book", CmdMileageBook},
                                          {"Categories", CmdEditCategories},
                                          {"Report", CmdMileageReport},
                                          {"ViewOptions", CmdViewOptions},
                                          {"Export", CmdExportRecords}};
    for (const QStringList &row : dataTable("keys-in-the-frame.txt")) {
        ASSERT_EQ(row.size(), 5) << qPrintable(row.join(u'|'));
        const QString &opening = row[0];
        const QString &keys = row[2];
        SCOPED_TRACE(qPrintable(opening + u' ' + keys));
        TestApp app;
        app.seed({trip(2005, 10, 1, 100, "Holiday"), trip(2005, 10, 5, 200, "Job"),
                  trip(2005, 10, 30, 300, "Job")},
                 100000, 200000, makeDate(2005, 10, 20));
        {
            DeviceSession session(DeviceRoot(app.devicePath()).storePath());
            BookRoute route;
            route.setStartPlace(QStringLiteral("Home"));
            route.setDestination(QStringLiteral("Work"));
            route.setDistance(1000);
            session.book.append(route);
            ASSERT_TRUE(session.databases->rewriteMileageBook(session.book));
        }
        ASSERT_TRUE(app.start());
        app.showFrame();
        for (const QString &answer : row[1].split(u',')) {
            if (answer != u'-')
                app.kit.messageBoxes.expect(answer == QLatin1String("Yes") ? MessageAnswer::Yes
                                                                           : MessageAnswer::Ok);
        }
        const QStringList dialogs = keys.split(QStringLiteral(" | "));
        for (const QString &dialogKeys : dialogs)
            app.kit.dialogRunner.expect(
                [&app, dialogKeys](QDialog &dialog) { typeInto(app, dialog, dialogKeys); });
        if (opening == QLatin1String("ChangeStatus"))
            app.clickPane(StatusPane::ChangeStatusButton);
        else
            app.command(commands.at(opening));
        EXPECT_EQ(app.kit.dialogRunner.runCount, dialogs.size());
        EXPECT_FALSE(app.frame().hasDialogOpen());
        EXPECT_EQ(app.kit.messageBoxes.texts().join(u';'), row[3] == u'-' ? QString() : row[3]);
        const QString what = row[4].section(u'=', 0, 0);
        const QString expected = row[4].section(u'=', 1);
        if (what == QLatin1String("file"))
            EXPECT_TRUE(
                QFile::exists(app.devicePath() + QStringLiteral("/My Documents/") + expected));
        else
            EXPECT_EQ(held(app, what), expected);
    }
}

// The keys move through the trips by rows, as in a report list: Enter opens the trip the focus
// mark stands on, from the start; Home and End go to the first and last trip, Left and Right only
// scroll, Enter opens the chosen trip and Tab leaves the list.
TEST(InTheFrame, theTripListKeysMoveByRows)
{
    TestApp app;
    app.seed({trip(2005, 10, 1, 100), trip(2005, 10, 2, 200), trip(2005, 10, 3, 300)});
    ASSERT_TRUE(app.start());
    app.showFrame();
    // At start the list has the focus and its mark stands on the first trip, which Enter opens.
    EXPECT_TRUE(app.pane().listView().hasFocus());
    app.onDialog([](DialogDriver &dialog) {
        EXPECT_EQ(dialog.text(RecordDialog::DistanceEdit), QStringLiteral("1.00"));
        dialog.click(RecordDialog::CancelButton);
    });
    app.press(Qt::Key_Return);
    EXPECT_EQ(app.kit.dialogRunner.runCount, 1);
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
    EXPECT_EQ(app.kit.dialogRunner.runCount, 2);
    app.pane().listView().setFocus();
    app.press(Qt::Key_Tab);
    EXPECT_FALSE(app.pane().listView().hasFocus()) << "Tab stays in the list";
}

// Each part of a date stays as typed until the whole date is there (see typed-dates.txt).
TEST(InTheFrame, aTypedDateKeepsItsPartsUntilItIsTakenOrRefused)
{
    using R = RecordDialog;
    for (const QStringList &row : dataTable("typed-dates.txt")) {
        ASSERT_EQ(row.size(), 3) << qPrintable(row.join(u'|'));
        SCOPED_TRACE(qPrintable(row.join(u' ')));
        TestApp app;
        app.seedSetting("DateTypeView", row[0].toUInt());
        ASSERT_TRUE(app.start());
        app.showFrame();
        app.kit.dialogRunner.expect([&](QDialog &shown) {
            DialogDriver dialog(shown);
            for (int back = 0; back < 3 && dialog.focusedControl() != R::DatePicker; ++back)
                app.press(Qt::Key_Backtab); // past Book, which stands beside the date
            EXPECT_EQ(dialog.focusedControl(), R::DatePicker);
            typeInto(app, shown, row[1]);
            for (int tab = 0;
                 tab < 3 && dialog.focusedControl() == R::DatePicker && app.kit.beeper.count == 0;
                 ++tab)
                app.press(Qt::Key_Tab);
            if (row[2].startsWith(QLatin1String("refused "))) {
                EXPECT_GE(app.kit.beeper.count, 1);
                EXPECT_EQ(dialog.focusedControl(), R::DatePicker);
                EXPECT_EQ(dialog.text(R::DatePicker), row[2].section(u' ', 1));
            } else {
                EXPECT_EQ(app.kit.beeper.count, 0);
                EXPECT_NE(dialog.focusedControl(), R::DatePicker);
                EXPECT_EQ(dialog.date(R::DatePicker), QDate::fromString(row[2], Qt::ISODate));
            }
            dialog.click(R::CancelButton);
        });
        app.command(CmdNew);
    }
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

// Each page's help opens its section of the installed file (the About box's the contents, which
// list every section). F1 reaches it in the shown frame: on the main window it starts the
// viewer beside the program at the Navigating section and keeps the chosen trip; a second F1
// uses the open viewer, and a viewer that cannot start is reported.
TEST(Help, eachPageOpensItsSectionAndF1ReachesTheViewer)
{
    TestApp app;
    app.seed({trip(2005, 10, 2, 100), trip(2005, 10, 3, 100)});
    ASSERT_TRUE(app.start());
    {
        const auto read = [&](const char *name) {
            QFile file(app.devicePath() + QStringLiteral("/Windows/") + QString::fromLatin1(name));
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
            return QString::fromUtf8(file.readAll());
        };
        const QString help = read("tripvaneppc.htm");
        const QString contents = read("tripvane.htc");
        gui::EveryDialog every(app);
        for (const auto &[name, dialog] : every.all()) {
            app.kit.helpViewer.opened.clear();
            dialog->help();
            ASSERT_EQ(app.kit.helpViewer.opened.size(), 1) << name;
            const QString line = app.kit.helpViewer.opened.front();
            const QString section = line.section(u'#', 1);
            if (section.isEmpty())
                EXPECT_EQ(line, QStringLiteral("\\Windows\\tripvane.htc")) << name;
            else
                EXPECT_TRUE(help.contains(QStringLiteral("name=\"%1\"").arg(section))) << name;
        }
        static const QRegularExpression anchor(QStringLiteral("name=\"(\\w+)\""));
        for (const QRegularExpressionMatch &m : anchor.globalMatch(help))
            EXPECT_TRUE(contents.contains(QStringLiteral("tripvaneppc.htm#") + m.captured(1)))
                << m.captured(1).toStdString() << " is not in the contents";
    }
    app.showFrame();
    app.kit.helpViewer.opened.clear();
    app.onDialog([&](DialogDriver &) {
        app.press(Qt::Key_F1);
        app.press(Qt::Key_Escape); // leaves as the title-bar ok does
    });
    app.command(CmdAbout);
    EXPECT_EQ(app.kit.helpViewer.opened, QStringList{"\\Windows\\tripvane.htc"});

    app.kit.helpViewer.opened.clear();
    app.kit.helpViewer.forwardTo = makeProgramHelpViewer(QStringLiteral(PROGRAM_FOLDER));
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

// Ctrl+P and the last entry of Tools open the log in a preview of its own on the desktop, worked
// by keys: F1 there opens the log's help, Escape closes it and the list has the focus again.
TEST(InTheFrame, ctrlPAndTheToolsEntryOpenThePrintPreview)
{
    TestApp app;
    app.seed({trip(2005, 10, 1, 100, "Holiday"), trip(2005, 10, 5, 200, "Job")});
    ASSERT_TRUE(app.start());
    app.showFrame();
    const std::function<void()> opening[] = {
        [&] { app.press(Qt::Key_P, Qt::ControlModifier); },
        [&] {
            // The menus run loops of their own: each key goes to the menu it is meant for.
            const std::pair<const char *, Qt::Key> steps[] = {{"menu40001", Qt::Key_Right},
                                                              {"menu40043", Qt::Key_Up},
                                                              {"menu40043", Qt::Key_Return}};
            std::size_t at = 0;
            QTimer keys;
            QObject::connect(&keys, &QTimer::timeout, [&] {
                QWidget *menu = QApplication::activePopupWidget();
                if (at < std::size(steps) && menu && menu->objectName() == steps[at].first)
                    QTest::keyClick(menu, steps[at++].second);
            });
            keys.start(30);
            app.press(Qt::Key_F10);
            QTest::qWait(400);
        }};
    for (const auto &open : opening) {
        QString title;
        bool ownWindow = false;
        int pages = 0;
        int unnamed = 0; // controls Tab reaches that a reader could not name
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto *preview = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
            if (!preview || !preview->isActiveWindow())
                return;
            watch.stop();
            title = preview->windowTitle();
            ownWindow = preview->isWindow() && !app.frame().isAncestorOf(preview);
            if (auto *widget = preview->findChild<QPrintPreviewWidget *>())
                pages = widget->pageCount();
            for (QWidget *control : preview->findChildren<QWidget *>()) {
                QAccessibleInterface *told = QAccessible::queryAccessibleInterface(control);
                if (control->isVisible() && control->focusPolicy() & Qt::TabFocus && told)
                    unnamed += told->text(QAccessible::Name).isEmpty() ? 1 : 0;
            }
            QTest::keyClick(preview, Qt::Key_F1);
            QTest::keyClick(preview, Qt::Key_Escape);
        });
        watch.start(50);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&app.frame()));
        open();
        QTest::qWait(600);
        EXPECT_EQ(title, QStringLiteral("Print Mileage Log"));
        EXPECT_TRUE(ownWindow);
        EXPECT_EQ(pages, 2) << "the trips, then the summary with its chart";
        EXPECT_EQ(unnamed, 0);
        EXPECT_EQ(app.kit.helpViewer.opened.value(0).section(u'#', 1),
                  QStringLiteral("MileageLog"));
        app.kit.helpViewer.opened.clear();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(app.pane().listView().hasFocus());
    }
}
