// The real mileagelog binary, with its desktop services, on a device of its own.
#include "DeviceRoot.h"
#include "ObjectStore.h"
#include "SingleInstance.h"

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

} // namespace
