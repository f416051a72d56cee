// Start-up as a user meets it: a fresh process opens a device the program has closed before and
// shows its filled list. Prints the time from entering main() to the first paint of the window
// with the list, the peak memory of the process, and the time the exit takes.
//     build/bench/start_bench --prepare <device> <trips>   (generates, then runs and closes once)
//     QT_QPA_PLATFORM=offscreen build/bench/start_bench [--edit-one] <device>
// With --edit-one the run changes the first trip's distance by a hundredth (up or down, so that
// runs after runs stay alike) before it closes, as a user's edit does.
// A message box during the run voids it: its text is printed and the status is 3.
#include "BenchSupport.h"
#include "Databases.h"
#include "DeviceFrame.h"
#include "DeviceRoot.h"
#include "Program.h"
#include "Services.h"
#include "Testkit.h"
#include "TripLog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

using namespace tripvane;

namespace {

// The process's peak resident memory in KiB.
long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}

class FirstPaint final : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && elapsed < 0)
            elapsed = timer->nsecsElapsed() / 1e6;
        return QObject::eventFilter(watched, event);
    }
    const QElapsedTimer *timer = nullptr;
    double elapsed = -1;
};

// A message box at start (a damaged store, sums that overflow) would wait for a user that a
// benchmark does not have: it is closed as its cancel choice, and the run counts as void.
class UnexpectedBoxes final : public QObject
{
public:
    explicit UnexpectedBoxes(MessageBoxes &boxes)
        : m_boxes(boxes)
    {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show)
            return false; // the filter sees every event of the measured start: cheap first
        const auto *window = qobject_cast<QDialog *>(watched);
        if (window && window->isWindow()) {
            if (const auto *text = window->findChild<QLabel *>(QStringLiteral("messageText"))) {
                texts.append(text->text());
                QMetaObject::invokeMethod(
                    this, [this] { m_boxes.closeOpen(); }, Qt::QueuedConnection);
            }
        }
        return false;
    }
    QStringList texts;

private:
    MessageBoxes &m_boxes;
};

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--prepare")) {
        TestApp app(Screen::Portrait, arguments[2]);
        bench::seedGeneratedLog(app, arguments[3].toInt());
        // One run of the program, so the file is laid out as its exit leaves it.
        if (!app.start())
            return 1;
        app.close();
        return 0;
    }
    const bool editOne = arguments.size() == 3 && arguments[1] == QLatin1String("--edit-one");
    if (arguments.size() != 2 && !editOne) {
        std::fprintf(stderr,
                     "usage: start_bench [--prepare <device> <trips>] [--edit-one] <device>\n");
        return 2;
    }
    // The program as main() builds it, with the desktop's own services: no testkit in between.
    QTemporaryDir zoomFolder;
    auto services = makeDesktopServices();
    auto program = std::make_unique<Program>(*services, DeviceRoot(arguments.back()),
                                             zoomFolder.filePath(QStringLiteral("zoom")));
    FirstPaint paint;
    paint.timer = &sinceMain;
    UnexpectedBoxes boxes(services->messageBoxes());
    application.installEventFilter(&boxes);
    // Prints the text of every box that came up; true when none did.
    const auto runWasPlain = [&boxes] {
        for (const QString &text : boxes.texts)
            std::fprintf(stderr, "a message box came up, so this run measures nothing: %s\n",
                         qPrintable(text));
        return boxes.texts.isEmpty();
    };
    if (!program->start())
        return runWasPlain() ? 1 : 3;
    program->frame()->installEventFilter(&paint);
    while (paint.elapsed < 0)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const long peak = peakKiB();
    if (editOne && !program->log().trips().isEmpty()) {
        MileageRecord edited = program->log().trips().at(0);
        edited.setDistance(edited.distance % 2 ? edited.distance - 1 : edited.distance + 1);
        program->log().replaceTrip(0, edited);
    }
    const auto *list = program->frame()->findChild<QAbstractItemView *>();
    const int trips = list ? list->model()->rowCount() : -1;
    // The exit as a close request runs it, with the program's lists and store let go.
    QElapsedTimer exit;
    exit.start();
    program->frame()->removeEventFilter(&paint);
    program->frame()->close();
    program.reset();
    std::printf("%d trips: first paint %.1f ms after main(), peak memory %ld KiB, exit %.1f ms\n",
                trips, paint.elapsed, peak, exit.nsecsElapsed() / 1e6);
    return runWasPlain() ? 0 : 3;
}
