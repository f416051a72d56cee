// tripvane: the trip log of mileagelog from the command line.
#include "Cli.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <cstdio>
#include <cstring>
#include <memory>

#include <unistd.h>

namespace {

QtMessageHandler qtMessages = nullptr;

// Cron runs a script without XDG_RUNTIME_DIR, and Qt's platform start says each time that it
// made a folder of its own: nothing for whoever asked for a PDF to act on, and a mail per run.
void withoutRuntimeFolderNotice(QtMsgType type, const QMessageLogContext &context,
                                const QString &text)
{
    if (!text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        qtMessages(type, context, text);
}

} // namespace

int main(int argc, char *argv[])
{
    // Only print paints: it needs fonts, never a display. Every other command starts as a core
    // program.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && std::strcmp(argv[1], "print") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qtMessages = qInstallMessageHandler(withoutRuntimeFolderNotice);
        app = std::make_unique<QGuiApplication>(argc, argv);
        qInstallMessageHandler(qtMessages);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Each failure is told in tripvane's own one line; the store's log of what SQLite said is
    // for QT_LOGGING_RULES="tripvane.store=true".
    QLoggingCategory::setFilterRules(QStringLiteral("tripvane.store=false"));
    QFile out;
    QFile err;
    QFile in;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    in.open(stdin, QIODevice::ReadOnly);
    return tripvane::runTripvane(app->arguments().mid(1),
                                 {out, err, in, ::isatty(STDERR_FILENO) == 1});
}
