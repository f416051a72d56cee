#include "DeviceFrame.h"
#include "FrameDialogRunner.h"
#include "Program.h"
#include "ScreenZoom.h"
#include "Services.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QFont>
#include <QProcess>

int main(int argc, char *argv[])
{
    const bool zoomed =
        tripvane::ScreenZoom(tripvane::ScreenZoom::defaultSettingsFile()).applyBeforeStart();
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    auto services = tripvane::makeDesktopServices();
    // Caught from the start: a termination during start-up is answered once the loop runs.
    tripvane::TerminationSignals termination;
    tripvane::Program program(*services, tripvane::DeviceRoot(tripvane::DeviceRoot::defaultPath()));
    // A start-up that shows a message runs the event loop: a termination heard then is kept.
    bool terminatedEarly = false;
    const auto early =
        QObject::connect(&termination, &tripvane::TerminationSignals::terminationRequested, &app,
                         [&terminatedEarly] { terminatedEarly = true; });
    if (!program.start())
        return 0;
    QObject::disconnect(early);
    services->setDialogRunner(std::make_unique<tripvane::FrameDialogRunner>(*program.frame()));
    QObject::connect(&termination, &tripvane::TerminationSignals::terminationRequested,
                     program.frame(), [&program] { program.requestClose(); });
    if (terminatedEarly)
        QMetaObject::invokeMethod(
            program.frame(), [&program] { program.requestClose(); }, Qt::QueuedConnection);
    const int code = app.exec();
    if (program.restartRequested()) {
        if (zoomed)
            tripvane::ScreenZoom::forgetApplied(); // the new start reads the new level
        QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
    }
    return code;
}
