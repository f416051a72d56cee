// setup: installs mileagelog on the connected handheld through the application manager.
//     setup                       the installer window
//     setup --register-manager    records ceappmgr (beside setup) as the application manager
#include "DesktopRegistry.h"
#include "Installation.h"
#include "ProgramFolders.h"
#include "SetupStrings.h"
#include "SetupWindows.h"
#include "SingleInstance.h"
#include "WindowProgramOptions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

#include <climits>
#include <cstring>

#include <spawn.h>
#include <unistd.h>

using namespace tripvane;
using namespace tripvane::setup;

namespace {

// The pauses and the wait keep the windows painted: the event loop runs while time passes.
class EventLoopTiming final : public SetupTiming
{
public:
    void pause(int milliseconds) override
    {
        QEventLoop loop;
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        loop.exec();
    }

    Connection waitForConnection(ConnectionSignal &signal, int milliseconds) override
    {
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            const auto left = std::max<qint64>(0, milliseconds - waited.elapsed());
            if (const std::optional<bool> outcome =
                    signal.waitFor(std::chrono::milliseconds(std::min<qint64>(left, 20))))
                return *outcome ? Connection::Connected : Connection::Failed;
            if (left == 0)
                return Connection::TimedOut;
            QCoreApplication::processEvents();
        }
    }
};

// The current folder byte for byte, as the manager must get it; empty when it no longer exists.
QByteArray currentDirectory()
{
    QByteArray folder(PATH_MAX, '\0');
    if (!::getcwd(folder.data(), std::size_t(folder.size())))
        return {};
    folder.truncate(qsizetype(std::strlen(folder.constData())));
    return folder;
}

// Started alone and not waited for, with its argument's bytes untouched.
void startManager(const Handover &handover)
{
    const QByteArray program = QFile::encodeName(handover.managerPath);
    QByteArray argument = handover.iniPath;
    char *arguments[] = {const_cast<char *>(program.constData()), argument.data(), nullptr};
    pid_t child = 0;
    ::posix_spawn(&child, program.constData(), nullptr, nullptr, arguments, environ);
}

void showError(int stringId)
{
    QMessageBox box(QMessageBox::Critical, setupString(SetupTitle), setupString(stringId),
                    QMessageBox::Ok);
    box.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    static const char *const ownOptions[] = {"register-manager", nullptr};
    if (const std::optional<int> answered = answerCommandLine(
            argc, argv,
            {"tripvane-setup", "Installs Tripvane onto a connected handheld.",
             "  --register-manager  Register the application manager beside it and end.\n",
             ownOptions}))
        return *answered;
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(TRIPVANE_APP_ID));
    const QString programs = QCoreApplication::applicationDirPath();
    if (app.arguments().contains(QStringLiteral("--register-manager"))) {
        const bool written = DesktopRegistry().setDefaultValue(
            setupString(ManagerKey), fellowProgram(programs, QStringLiteral("ceappmgr")));
        return written ? 0 : 1;
    }

    // One installer at a time: a second one brings the first forward.
    SingleInstance instance(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
                            u'/' + setupString(SetupTitle));
    if (!instance.claim())
        return 0;

    SetupDialog dialog;
    QObject::connect(&instance, &SingleInstance::raiseRequested, &dialog, [&dialog] {
        dialog.showNormal();
        dialog.raise();
        dialog.activateWindow();
    });
    const DesktopRegistry registry;
    EventLoopTiming timing;
    std::optional<Handover> handover;
    QObject::connect(&dialog, &SetupDialog::installRequested, &dialog, [&] {
        auto *connecting = new ConnectingWindow;
        connecting->setAttribute(Qt::WA_DeleteOnClose);
        const QPointer<ConnectingWindow> window(connecting);
        InstallPlatform platform{
            .link = std::make_shared<FolderDeviceLink>(),
            .registry = registry,
            .timing = timing,
            .currentDirectory = currentDirectory(),
            .showError = showError,
            .showConnecting =
                [window] {
                    if (window)
                        window->show();
                },
            .closeConnecting =
                [window] {
                    if (window)
                        window->close();
                },
            .connected =
                [window] {
                    QMetaObject::invokeMethod(qApp, [window] {
                        if (window)
                            window->showConnected();
                    });
                },
        };
        handover = runInstallationStep(platform);
        dialog.done(handover ? SetupDialog::InstallButton : SetupDialog::CancelButton);
    });
    dialog.show();
    if (dialog.exec() == SetupDialog::InstallButton && handover) {
        // The manager goes on alone; setup ends at once, whatever becomes of it.
        startManager(*handover);
    }
    instance.release();
    return 0;
}
