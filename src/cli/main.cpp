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

int main(int argc, char *argv[])
{
    // Only print paints: it needs fonts, never a display. Every other command starts as a core
    // program.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && std::strcmp(argv[1], "print") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
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
