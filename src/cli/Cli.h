#pragma once

#include <QStringList>

class QIODevice;

namespace tripvane {

// Where a command's output goes: the data to out (binary, as files are written), one line a
// message to err; in is what "-" reads. Progress of long work goes to err only when a person
// reads it there.
struct CliStreams
{
    QIODevice &out;
    QIODevice &err;
    QIODevice &in;
    bool errIsTerminal = false;
};

// Runs "tripvane ARGUMENTS..." (without the program name); returns the exit status.
int runTripvane(const QStringList &arguments, CliStreams streams);

} // namespace tripvane
