#include "DeviceFrame.h"
#include "FrameDialogRunner.h"
#include "Program.h"
#include "ScreenZoom.h"
#include "Services.h"
#include "TerminationSignals.h"
#include "WindowProgramOptions.h"

#include <QApplication>
#include <QFont>
#include <QProcess>

int main(int argc, char *argv[])
{
    if (const std::optional<int> answered = tripvane::answerCommandLine(
            argc, argv,
            {"mileagelog", "The personal trip log, in a handheld's frame on the desktop."}))
        return *answered;
    tripvane::TerminationSignals::catchFromNowOn();
    const bool zoomed =
        tripvane::ScreenZoom(tripvane::ScreenZoom::defaultSettingsFile()).applyBeforeStart();
    QApplication app(argc, argv);
    // The compositor matches the window to its desktop entry: its icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral(TRIPVANE_APP_ID));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    auto services = tripvane::makeDesktopServices();
    // Caught from the start: a termination during start-up is answered once the loop runs.
    tripvane::TerminationSignals termination;
    tripvane::Program program(*services, tripvane::DeviceRoot(tripvane::DeviceRoot::defaultPath()));
    // A termination ends every box: one shown at start-up (a damaged store's, say) and any
    // later one. During the start it is kept for when the program runs.
    bool terminatedEarly = false;
    const auto early =
        QObject::connect(&termination, &tripvane::TerminationSignals::terminationRequested, &app,
                         [&terminatedEarly, &services] {
                             terminatedEarly = true;
                             services->messageBoxes().endAll();
                         });
    if (!program.start())
        return 0;
    QObject::disconnect(early);
    services->setDialogRunner(std::make_unique<tripvane::FrameDialogRunner>(*program.frame()));
    QObject::connect(&termination, &tripvane::TerminationSignals::terminationRequested,
                     program.frame(), [&program, &services] {
                         services->messageBoxes().endAll();
                         program.requestClose();
                     });
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
