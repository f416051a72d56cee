#pragma once

#include <QStringList>

class QIODevice;

namespace tripvane {

// Where a command's output goes: the data to out (binary, as files are written), one line a
// message to err; in is what "-" reads.
struct CliStreams
{
    QIODevice &out;
    QIODevice &err;
    QIODevice &in;
};

// Runs "tripvane ARGUMENTS..." (without the program name); returns the exit status.
int runTripvane(const QStringList &arguments, CliStreams streams);

} // namespace tripvane
