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
    if (!program.start())
        return 0;
    services->setDialogRunner(std::make_unique<tripvane::FrameDialogRunner>(*program.frame()));
    QObject::connect(&termination, &tripvane::TerminationSignals::terminationRequested,
                     program.frame(), [&program] { program.requestClose(); });
    const int code = app.exec();
    if (program.restartRequested()) {
        if (zoomed)
            tripvane::ScreenZoom::forgetApplied(); // the new start reads the new level
        QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
    }
    return code;
}
