// tripvane: the trip log of mileagelog from the command line.
#include "Cli.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>

#include <cstdio>

#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Each failure is told in tripvane's own one line; the store's log of what SQLite said is
    // for QT_LOGGING_RULES="tripvane.store=true".
    QLoggingCategory::setFilterRules(QStringLiteral("tripvane.store=false"));
    QFile out;
    QFile err;
    QFile in;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    in.open(stdin, QIODevice::ReadOnly);
    return tripvane::runTripvane(app.arguments().mid(1),
                                 {out, err, in, ::isatty(STDERR_FILENO) == 1});
}
