#pragma once

#include "Cli.h"

class QCommandLineParser;

namespace tripvane {

// The commands of tripvane, each given its parsed command line; each returns the exit status.
int exportCommand(const QCommandLineParser &parser, CliStreams streams);
int reportCommand(const QCommandLineParser &parser, CliStreams streams);
int listCommand(const QCommandLineParser &parser, CliStreams streams);
int checkCommand(const QCommandLineParser &parser, CliStreams streams);
int backupCommand(const QCommandLineParser &parser, CliStreams streams);
int restoreCommand(const QCommandLineParser &parser, CliStreams streams);
int importCommand(const QCommandLineParser &parser, CliStreams streams);
int printCommand(const QCommandLineParser &parser, CliStreams streams);
int ratesCommand(const QCommandLineParser &parser, CliStreams streams);

} // namespace tripvane
