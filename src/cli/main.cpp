// tripvane: the trip log of mileagelog from the command line.
#include "Cli.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QFile out;
    QFile err;
    QFile in;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    in.open(stdin, QIODevice::ReadOnly);
    return tripvane::runTripvane(app.arguments().mid(1),
                                 {out, err, in, ::isatty(STDERR_FILENO) == 1});
}
