#include "SingleInstance.h"
#include "DeviceFrame.h"
#include "DeviceRoot.h"
#include "FrameDialogRunner.h"
#include "Program.h"
#include "ProgramState.h"
#include "TerminationSignals.h"
#include "Testkit.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QTimer>

#include <csignal>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

void processEventsUntil(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

QByteArray storeHash(const QString &device)
{
    QFile file(DeviceRoot(device).storePath());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// A second start raises the first window and changes nothing on the device.
TEST(SingleInstanceTest, secondStartBringsTheFirstForwardAndTouchesNothing)
{
    TestApp first;
    first.seed({trip(2005, 10, 1, 100)});
    ASSERT_TRUE(first.start());
    const QByteArray before = storeHash(first.devicePath());

    first.frame().showMinimized();
    ASSERT_TRUE(first.frame().isMinimized());

    TestApp second(Screen::Portrait, first.devicePath());
    EXPECT_FALSE(second.start());
    EXPECT_TRUE(second.kit.messageBoxes.shown.empty());
    EXPECT_EQ(second.program().frame(), nullptr);
    EXPECT_EQ(storeHash(first.devicePath()), before);
    EXPECT_TRUE(first.isRunning());
    processEventsUntil([&] { return !first.frame().isMinimized(); });
    EXPECT_FALSE(first.frame().isMinimized()) << "the first window comes forward";
}

TEST(SingleInstanceTest, theSecondClaimAsksTheFirstToComeForward)
{
    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("instance"));
    SingleInstance first(socket);
    ASSERT_TRUE(first.claim());
    int raised = 0;
    int closed = 0;
    QObject::connect(&first, &SingleInstance::raiseRequested, [&] { ++raised; });
    QObject::connect(&first, &SingleInstance::closeRequested, [&] { ++closed; });

    SingleInstance second(socket);
    EXPECT_FALSE(second.claim());
    processEventsUntil([&] { return raised == 1; });
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(closed, 0);

    // A caller taken in before the exit whose line comes after it: a raise then would show the
    // closed window again and keep the program running.
    QLocalSocket late;
    late.connectToServer(socket);
    ASSERT_TRUE(late.waitForConnected(2000));
    QElapsedTimer taken;
    taken.start();
    while (taken.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    first.release();
    late.write("raise\n");
    late.flush();
    processEventsUntil(
        [&] { return raised > 1 || late.state() == QLocalSocket::UnconnectedState; });
    EXPECT_EQ(raised, 1) << "a caller of before the release is not answered";
    EXPECT_FALSE(SingleInstance::sendRequest(socket, "raise\n")) << "a released instance is gone";
}

TEST(SingleInstanceTest, aSecondStartWaitsForAFirstThatIsStillStartingUp)
{
    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("instance"));
    // A first instance holds the device but, under load, listens only a moment later.
    const int lock = ::open(QFile::encodeName(socket + QStringLiteral(".lock")).constData(),
                            O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(socket).constData(),
                 sizeof address.sun_path - 1);
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        ::bind(server, reinterpret_cast<sockaddr *>(&address), sizeof address);
        ::listen(server, 4);
    });
    SingleInstance second(socket);
    EXPECT_FALSE(second.claim()) << "never a second instance";
    late.join();
    ::close(server);
    ::close(lock);
}

TEST(SingleInstanceTest, closeRequestEndsThroughTheNormalExit)
{
    TestApp app;
    app.seed({trip(2005, 10, 1, 100)});
    ASSERT_TRUE(app.start());
    app.state().mainSortOrder = 1;
    const QString socket = SingleInstance::socketPathFor(DeviceRoot(app.devicePath()));
    ASSERT_TRUE(QFileInfo::exists(socket));
    EXPECT_EQ(QFileInfo(socket).permissions() &
                  (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
              QFile::Permissions())
        << "the socket is private to the user";
    EXPECT_EQ(QFileInfo(app.devicePath()).permissions() &
                  (QFile::ExeOther | QFile::ExeGroup | QFile::ReadOther),
              QFile::Permissions());
    ASSERT_TRUE(SingleInstance::sendRequest(socket, "close\n"));
    processEventsUntil([&] { return !app.isRunning(); });
    EXPECT_FALSE(app.isRunning());
    const auto order = app.setting("SortOrder");
    ASSERT_TRUE(order);
    EXPECT_EQ(order->dword, 1u);
    EXPECT_EQ(app.storedTrips().size(), 1u);

    // After the exit nobody answers: a new start runs.
    TestApp next(Screen::Portrait, app.devicePath());
    EXPECT_TRUE(next.start());
}

TEST(SingleInstanceTest, aStaleSocketFromACrashedRunDoesNotBlockTheStart)
{
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("device"));
    ASSERT_TRUE(DeviceRoot(device).prepare());
    QFile stale(SingleInstance::socketPathFor(DeviceRoot(device)));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    TestApp app(Screen::Portrait, device);
    EXPECT_TRUE(app.start());
}

// A caller gets a short line and a few places at a time; the program holds nothing more for it.
TEST(SingleInstanceTest, anOverlongLineAndTooManyCallersAreDropped)
{
    TestApp app;
    ASSERT_TRUE(app.start());
    const QString path = SingleInstance::socketPathFor(DeviceRoot(app.devicePath()));
    QLocalSocket flooding;
    flooding.connectToServer(path);
    ASSERT_TRUE(flooding.waitForConnected(2000));
    const QByteArray chunk(64 * 1024, 'x');
    for (int i = 0; i < 64 && flooding.state() == QLocalSocket::ConnectedState; ++i) {
        flooding.write(chunk);
        processEventsUntil([&] { return flooding.bytesToWrite() == 0 || !flooding.isOpen(); });
    }
    processEventsUntil([&] { return flooding.state() == QLocalSocket::UnconnectedState; });
    EXPECT_EQ(flooding.state(), QLocalSocket::UnconnectedState) << "a 4 MiB line";

    std::vector<std::unique_ptr<QLocalSocket>> idle;
    for (int i = 0; i < SingleInstance::MaxConnections + 1; ++i) {
        idle.push_back(std::make_unique<QLocalSocket>());
        idle.back()->connectToServer(path);
        ASSERT_TRUE(idle.back()->waitForConnected(2000));
    }
    processEventsUntil([&] { return idle.back()->state() == QLocalSocket::UnconnectedState; });
    EXPECT_EQ(idle.back()->state(), QLocalSocket::UnconnectedState) << "one caller too many";
    EXPECT_EQ(idle.front()->state(), QLocalSocket::ConnectedState);
    idle.clear();

    QTimer::singleShot(0, [&] { SingleInstance::sendRequest(path, "close\n"); });
    processEventsUntil([&] { return !app.isRunning(); });
    EXPECT_FALSE(app.isRunning()) << "still answering";
}

TEST(TerminationSignalsTest, sigtermBecomesARequestToClose)
{
    TerminationSignals termination;
    int requests = 0;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, [&] { ++requests; });
    ::raise(SIGTERM);
    processEventsUntil([&] { return requests == 1; });
    EXPECT_EQ(requests, 1);
}

// A real box is up (OK on a new trip's zero distance): the close request closes the box, then
// the dialog, then the program through its exit, which saves the settings.
TEST(SingleInstanceTest, closeRequestDuringAMessageBoxClosesItAndEnds)
{
    TestApp app;
    app.kit.messageBoxes.forwardTo = makeDesktopMessageBoxes();
    ASSERT_TRUE(app.start());
    app.frame().show();
    app.kit.services().setDialogRunner(std::make_unique<FrameDialogRunner>(app.frame()));
    const QString socket = SingleInstance::socketPathFor(DeviceRoot(app.devicePath()));
    QTimer::singleShot(50, [&] {
        if (auto *ok = app.frame().findChild<QAbstractButton *>(QStringLiteral("control1033")))
            ok->click(); // the box's own loop runs from here
    });
    QTimer::singleShot(300, [&] { SingleInstance::sendRequest(socket, "close\n"); });
    QElapsedTimer closing;
    closing.start();
    app.command(40002);
    processEventsUntil([&] { return !app.isRunning(); });
    EXPECT_FALSE(app.isRunning());
    EXPECT_LT(closing.elapsed(), 2000);
    EXPECT_EQ(app.kit.messageBoxes.texts(), QStringList{"You can not enter 0.0 !"});
    EXPECT_TRUE(app.setting("SortOrder")) << "saved through the normal exit";
}

} // namespace
