// The real mileagelog binary, with its desktop services, on a device of its own.
#include "Databases.h"
#include "DeviceRoot.h"
#include "ObjectStore.h"
#include "SingleInstance.h"
#include "Testkit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

QProcess *startProgram(const QString &device, QObject *parent)
{
    auto *process = new QProcess(parent);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TRIPVANE_DEVICE"), device);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(MILEAGELOG_PATH), {});
    return process;
}

bool waitFor(const std::function<bool()> &condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 60000)
            return false;
        QThread::msleep(20);
    }
    return true;
}

TEST(EndToEnd, oneInstanceRunsAndATerminationSavesThroughTheExit)
{
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("device"));
    QObject owner;
    QProcess *first = startProgram(device, &owner);
    ASSERT_TRUE(first->waitForStarted(60000));
    const QString socket = SingleInstance::socketPathFor(DeviceRoot(device));
    ASSERT_TRUE(waitFor([&] { return QFile::exists(socket); }));

    QProcess *second = startProgram(device, &owner);
    ASSERT_TRUE(second->waitForFinished(60000))
        << "second: " << second->readAllStandardError().toStdString();
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);

    ::kill(pid_t(first->processId()), SIGTERM);
    ASSERT_TRUE(first->waitForFinished(60000))
        << "first: " << first->readAllStandardError().toStdString();
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);

    ObjectStore store;
    ASSERT_EQ(store.open(DeviceRoot(device).storePath()), ObjectStore::OpenStatus::Ok);
    const auto order = store.queryValue(QStringLiteral("Software\\Velmora\\Tripvane\\Settings"),
                                        QStringLiteral("SortOrder"));
    ASSERT_TRUE(order) << "the exit saved the settings";
    EXPECT_EQ(order->dword, 2u);
    EXPECT_TRUE(QFile::exists(device + QStringLiteral("/Windows/tripvaneppc.htm")));
}

// A termination while a start-up box is up (the status overflows; the store is damaged) closes
// the box and ends through the normal exit, which leaves no socket behind.
TEST(EndToEnd, aTerminationDuringAStartUpBoxEndsThroughTheExit)
{
    struct Case
    {
        const char *what;
        int signal;
        bool damaged;
    };
    for (const Case c :
         {Case{"overflow, SIGTERM", SIGTERM, false}, Case{"overflow, SIGHUP", SIGHUP, false},
          Case{"damaged store, SIGTERM", SIGTERM, true}}) {
        QTemporaryDir dir;
        const QString device = dir.filePath(QStringLiteral("device"));
        ASSERT_TRUE(DeviceRoot(device).prepare());
        if (c.damaged) {
            QFile store(DeviceRoot(device).storePath());
            ASSERT_TRUE(store.open(QIODevice::WriteOnly));
            store.write(QByteArray("SQLite format 3").append('\0').append(4000, '\x5a'));
        } else {
            TestServices kit;
            DeviceSession session(DeviceRoot(device).storePath());
            for (int i = 0; i < 22; ++i) // 22 x 1,000,000.00 up to the status date
                session.records.append(trip(2005, 10, 1, 100000000));
            ASSERT_TRUE(session.databases->rebuildMileage(session.records));
        }
        QObject owner;
        QProcess *program = startProgram(device, &owner);
        ASSERT_TRUE(program->waitForStarted(60000));
        QThread::msleep(1500); // the box is up
        ::kill(pid_t(program->processId()), c.signal);
        ASSERT_TRUE(program->waitForFinished(10000)) << c.what;
        EXPECT_EQ(program->exitStatus(), QProcess::NormalExit) << c.what;
        EXPECT_EQ(program->exitCode(), 0) << c.what;
        EXPECT_FALSE(QFile::exists(SingleInstance::socketPathFor(DeviceRoot(device)))) << c.what;
    }
}

} // namespace
