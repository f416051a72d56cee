#pragma once

// The testkit: mileagelog on a temporary device, driven and read by control and command ids,
// with recording versions of every platform service. For GoogleTest files inside or outside
// this project: link `tripvane_testkit` and `tripvane_testkit_main` (a main() that picks the
// offscreen platform when QT_QPA_PLATFORM is unset).
//
//     tripvane::TestApp app(QSize(240, 320));          // fresh device, fixed clock
//     ASSERT_TRUE(app.start());
//     app.kit.dialogRunner.expect([](QDialog &d) {      // the next dialog to open
//         tripvane::DialogDriver dialog(d);
//         dialog.setText(1173, "100");
//         dialog.click(1179);
//     });
//     app.kit.messageBoxes.expect(tripvane::MessageAnswer::Ok);   // script the next answer
//     app.clickPane(1140);
//     EXPECT_EQ(app.statusValue(1142), "...");
//
// A message box or dialog that no answer was scripted for fails the running test instead of
// blocking; modal dialogs never spin an event loop.

#include "NodeList.h"
#include "ObjectStore.h"
#include "Records.h"
#include "Services.h"

#include <QDate>
#include <QDialog>
#include <QPalette>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include <ostream>

// Readable texts in test failures.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace tripvane {

// A dark desktop theme, as Fusion shows it with a dark scheme.
QPalette darkPalette();

// A trip as the record dialog would make it.
inline MileageRecord trip(int year, int month, int day, std::int32_t distance,
                          const char *category = "Job", const char *memo = nullptr)
{
    MileageRecord r;
    r.setDate(makeDate(year, month, day));
    r.setDistance(distance);
    r.setCategory(QString::fromLatin1(category));
    if (memo)
        r.setMemo(QString::fromLatin1(memo));
    return r;
}

class DeviceFrame;

class RecordingWaitCursor final : public WaitCursor
{
public:
    void show() override { m_shown = true; }
    void restore() override { m_shown = false; }
    bool isShown() const override { return m_shown; }

private:
    bool m_shown = false;
};

class RecordingMessageBoxes final : public MessageBoxes
{
public:
    struct Shown
    {
        MessageBoxRequest request;
        bool underWaitCursor = false;
    };

    explicit RecordingMessageBoxes(const WaitCursor &cursor)
        : m_cursor(cursor)
    {}
    MessageAnswer show(const MessageBoxRequest &request) override;
    bool closeOpen() override { return forwardTo && forwardTo->closeOpen(); }

    void expect(MessageAnswer answer) { scripted.push_back(answer); }
    void expect(std::initializer_list<MessageAnswer> answers)
    {
        scripted.insert(scripted.end(), answers);
    }
    QStringList texts() const;

    std::deque<MessageAnswer> scripted;
    std::vector<Shown> shown;
    // Called as each box shows, to look at what the program holds at that moment.
    std::function<void(const MessageBoxRequest &)> onShow;
    // Real boxes, shown and answered as a user would, instead of the script.
    std::unique_ptr<MessageBoxes> forwardTo;

private:
    const WaitCursor &m_cursor;
};

class RecordingInputPanel final : public InputPanel
{
public:
    void show() override { m_shown = true; }
    void hide() override { m_shown = false; }
    bool isShown() const override { return m_shown; }

private:
    bool m_shown = false;
};

class RecordingBeeper final : public Beeper
{
public:
    void beep() override { ++count; }
    int count = 0;
};

class RecordingSound final : public Sound
{
public:
    void play(const QString &resourcePath) override { played.append(resourcePath); }
    QStringList played;
};

class RecordingHelpViewer final : public HelpViewer
{
public:
    bool open(const QString &commandLine) override
    {
        opened.append(commandLine);
        return !forwardTo || forwardTo->open(commandLine);
    }
    QStringList opened;
    std::unique_ptr<HelpViewer> forwardTo; // a real viewer, for the end-to-end tests
};

class FixedClock final : public Clock
{
public:
    SystemTime nowUtc() const override { return now; }
    SystemTime localToday() const override
    {
        return localDate.year != 0 ? localDate : makeDate(now.year, now.month, now.day);
    }
    SystemTime now = [] {
        SystemTime t = makeDate(2005, 10, 29);
        t.hour = 14;
        t.minute = 5;
        t.second = 7;
        return t;
    }();
    SystemTime localDate = {}; // the UTC date unless set: a desk east or west of UTC
};

// Modal dialogs do not spin event loops here: the runner hands the open dialog to the next
// scripted callback, which acts on it and ends it, and returns its end code.
class ScriptedDialogRunner final : public DialogRunner
{
public:
    using Script = std::function<void(QDialog &)>;
    int run(FramePage &page) override;
    void expect(Script script) { scripts.push_back(std::move(script)); }
    // From now on each dialog shows as the frame's page, as in the program, and its script runs
    // once the page is up, so that keys reach whatever really has the focus.
    void showIn(DeviceFrame *frame) { m_frame = frame; }

    std::deque<Script> scripts;
    int runCount = 0;

private:
    DeviceFrame *m_frame = nullptr;
};

class TestServices final
{
public:
    TestServices();

    Services &services() { return *m_services; }

    RecordingWaitCursor &waitCursor;
    RecordingMessageBoxes &messageBoxes;
    RecordingInputPanel &inputPanel;
    RecordingBeeper &beeper;
    RecordingSound &sound;
    RecordingHelpViewer &helpViewer;
    FixedClock &clock;
    ScriptedDialogRunner &dialogRunner;

private:
    TestServices(Services::Parts parts, RecordingWaitCursor *cursor);
    std::unique_ptr<Services> m_services;
};

class Databases;
class DeviceDialog;
class DeviceFrame;
class MainWindow;
class Program;
class StatusPane;
class TripLog;
struct ProgramState;

// The program's databases on a store file, opened and loaded as the program does at start,
// for tests and benchmarks that prepare or read a device themselves.
class DeviceSession
{
public:
    explicit DeviceSession(const QString &storePath);
    ~DeviceSession();

    bool isOpen() const { return m_open; }
    ObjectStore store;
    std::unique_ptr<Databases> databases;
    CategoryList categories;
    RouteList book;
    RecordList records; // as loaded
    MileageRecord scratch;
    int loaded = 0; // the loader's result

private:
    bool m_open = false;
};

class ListView;

// Acts on a list view (the main list or a dialog's) as a user would, and reads what it shows.
class ListDriver
{
public:
    explicit ListDriver(ListView *view);
    // Tests watch every list with Qt's model checker; benchmarks switch it off, since it walks
    // every row after each change, which no user's program does.
    static inline bool watchModels = true;

    int rowCount() const;
    QStringList row(int index) const;
    std::vector<QStringList> rows() const;
    int rowImage(int index) const;
    int headerImage(int column) const;
    QString headerText(int column) const;
    int selectedRow() const;
    void selectRow(int row);
    // A tap on a row (it is selected first), and on a column header.
    void tapRow(int row);
    void tapHeader(int column);
    QRect rect() const;

private:
    ListView *m_view;
};

// Acts on a dialog by control id, as a user would.
class DialogDriver
{
public:
    explicit DialogDriver(QDialog &dialog);

    QWidget *control(int id) const;
    void setText(int id, const QString &text);
    QString text(int id) const;
    void setDate(int id, QDate date);
    QDate date(int id) const;
    void click(int id);
    // The frame's title-bar "ok": command 1.
    void shellOk();
    // Leaves the dialog with its cancel code, as a dialog not yet built ends itself.
    void cancel();
    // Picks the entry with this text in a combo box; an empty text picks nothing.
    void select(int id, const QString &text);
    QStringList items(int id) const;
    // The list view with this control id.
    ListDriver list(int id) const;
    bool isVisible(int id) const;
    // Id of the control that has (or would have) the focus; 0 for none.
    int focusedControl() const;
    QString caption() const;
    int result() const;

private:
    DeviceDialog &m_dialog;
};

// mileagelog on a device of its own. Without a device path a fresh temporary device is used;
// starting a second TestApp on the first one's device restarts the program there.
class TestApp
{
public:
    explicit TestApp(QSize screen = Screen::Portrait, const QString &devicePath = {});
    ~TestApp();

    // Puts trips (with keys made from the clock, as added) and a status on the device before
    // the program starts, as an earlier run would have left them.
    void seed(const std::vector<MileageRecord> &trips, std::int32_t starts = 0,
              std::int32_t ends = 0, SystemTime statusDate = {});

    // A registry value on the device before the program starts.
    void seedRegistry(const QString &key, const QString &name, RegistryValue value);
    void seedSetting(const char *name, std::uint32_t value);

    // The instance start; false when the program ended at once.
    bool start();
    // The close command (closing the frame): the normal exit.
    void close();
    bool isRunning() const;

    TestServices kit;
    QString devicePath() const { return m_devicePath; }
    QString zoomSettingsFile() const;
    Program &program() { return *m_program; }
    MainWindow &window();
    DeviceFrame &frame();
    StatusPane &pane();
    ProgramState &state();
    TripLog &log();

    // Shows the frame as the user's window; dialogs then show in it (see showIn).
    void showFrame();
    // Keys typed into the window, reaching whatever has the keyboard focus.
    void type(const QString &text);
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    // The next dialog to open, acted on through a driver (see ScriptedDialogRunner).
    void onDialog(std::function<void(DialogDriver &)> script);
    void command(int id);
    bool isCommandEnabled(int id);
    void clickPane(int controlId);
    void resizeScreen(QSize size);

    // The record list (control 500).
    ListDriver list();
    QString statusValue(int controlId);
    QString heading();
    QRect paneControlRect(int controlId);

    // What the device holds, read through a connection of its own.
    std::vector<MileageRecord> storedTrips();
    std::vector<QString> storedCategories();
    // Start, destination and mileage of every stored route, in the stored order.
    std::vector<QStringList> storedRoutes();
    std::optional<RegistryValue> registryValue(const QString &key, const QString &name);
    // A value under the program's settings key.
    std::optional<RegistryValue> setting(const char *name);

private:
    std::unique_ptr<QTemporaryDir> m_tempDir;
    QString m_devicePath;
    std::unique_ptr<Program> m_program;
};

} // namespace tripvane
