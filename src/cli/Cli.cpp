#include "Cli.h"

#include "CliCommands.h"
#include "CliDevice.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QRegularExpression>

#include <algorithm>
#include <functional>
#include <map>

namespace tripvane {

namespace {

struct Command
{
    const char *summary;
    QList<QCommandLineOption> options;
    QString arguments; // for the usage line
    std::function<int(const QCommandLineParser &, CliStreams)> run;
};

QCommandLineOption deviceOption()
{
    return {QStringLiteral("device"),
            QStringLiteral("The device folder (default: $TRIPVANE_DEVICE, else mileagelog's)."),
            QStringLiteral("DIR")};
}

QCommandLineOption rangeOption(const char *name, const char *what)
{
    return {QString::fromLatin1(name),
            QStringLiteral("%1 date: yyyy-mm-dd, or as the device shows dates.")
                .arg(QString::fromLatin1(what)),
            QStringLiteral("DATE")};
}

QCommandLineOption formatOption(const char *choices)
{
    return {QStringLiteral("format"),
            QStringLiteral("One of %1.").arg(QString::fromLatin1(choices)),
            QStringLiteral("FORMAT")};
}

QCommandLineOption outputOption()
{
    return {{QStringLiteral("o"), QStringLiteral("output")},
            QStringLiteral("Write to FILE (replaced once complete), or - for standard output."),
            QStringLiteral("FILE")};
}

const std::map<QString, Command> &commands()
{
    static const std::map<QString, Command> table{
        {QStringLiteral("export"),
         {"Export the trips, or the report over a range, as the Export dialogs write them.",
          {deviceOption(),
           outputOption(),
           {QStringLiteral("encoding"),
            QStringLiteral("utf-8, utf-16le or windows-1252 (default: as the device's "
                           "Export dialog)."),
            QStringLiteral("ENCODING")},
           rangeOption("from", "First"),
           rangeOption("to", "Last"),
           {QStringLiteral("total"),
            QStringLiteral("For the report: the one total over every trip in the range, as the "
                           "report's Total view shows it.")}},
          QStringLiteral("trips|report"),
          exportCommand}},
        {QStringLiteral("report"),
         {"The mileage per category over a range, for one device or several side by side.",
          {deviceOption(),
           rangeOption("from", "First"),
           rangeOption("to", "Last"),
           formatOption("table, csv or json (default: table)"),
           {QStringLiteral("amounts"),
            QStringLiteral("Add the amount per category and in total, at the device's rates.")}},
          {},
          reportCommand}},
        {QStringLiteral("list"),
         {"The trips in date order, for scripts.",
          {deviceOption(), rangeOption("from", "First"), rangeOption("to", "Last"),
           formatOption("csv or json (default: csv)")},
          {},
          listCommand}},
        {QStringLiteral("check"),
         {"Check the store: integrity, owner, version, counts and sums.",
          {deviceOption()},
          {},
          checkCommand}},
        {QStringLiteral("backup"),
         {"A consistent copy of the store, also while mileagelog runs.",
          {deviceOption()},
          QStringLiteral("FILE"),
          backupCommand}},
        {QStringLiteral("import"),
         {"Add the trips of a comma-separated file: the trips export, or UTF-8 with its header.",
          {deviceOption(),
           {QStringLiteral("dry-run"), QStringLiteral("Check every line and say what would be "
                                                      "added; write nothing.")},
           {QStringLiteral("add-categories"),
            QStringLiteral("Create the categories the file names that the device lacks.")},
           {QStringLiteral("keep-duplicates"),
            QStringLiteral("Add a line equal to a stored trip all the same.")}},
          QStringLiteral("FILE|-"),
          importCommand}},
        {QStringLiteral("print"),
         {"A printable mileage log as PDF: every trip of the range, the amounts and a chart.",
          {deviceOption(),
           rangeOption("from", "First"),
           rangeOption("to", "Last"),
           {QStringLiteral("title"),
            QStringLiteral("The log's title (default: the device folder's name)."),
            QStringLiteral("TEXT")},
           {{QStringLiteral("o"), QStringLiteral("output")},
            QStringLiteral("The PDF to write (replaced once complete)."),
            QStringLiteral("FILE")}},
          {},
          printCommand}},
        {QStringLiteral("rates"),
         {"List or change the rates a claim pays per distance unit, and their currency.",
          {deviceOption(),
           {QStringLiteral("from"),
            QStringLiteral("The day a rate applies from (default: from the first trip)."),
            QStringLiteral("DATE")},
           {QStringLiteral("after"),
            QStringLiteral("A tier: the distance within a year after which --then pays."),
            QStringLiteral("DISTANCE")},
           {QStringLiteral("then"), QStringLiteral("The rate after the tier's distance."),
            QStringLiteral("RATE")},
           {QStringLiteral("year-starts"),
            QStringLiteral("The day the tier's year starts, MM-DD (default: 01-01)."),
            QStringLiteral("MM-DD")}},
          QStringLiteral("[set CATEGORY RATE | remove CATEGORY | currency TEXT]"),
          ratesCommand}},
        {QStringLiteral("restore"),
         {"Replace the store with a checked backup; the current one is kept beside it.",
          {deviceOption()},
          QStringLiteral("FILE"),
          restoreCommand}},
    };
    return table;
}

QByteArray generalHelp()
{
    QByteArray text = "Usage: tripvane COMMAND [OPTIONS]\n"
                      "The trip log of mileagelog from the command line.\n\nCommands:\n";
    for (const auto &[name, command] : commands())
        text += "  " + name.toUtf8().leftJustified(9) + command.summary + '\n';
    text += "\n'tripvane help COMMAND' shows a command's options.\n"
            "Exit status: 0 done, 1 invalid input, 2 usage error, 3 device missing, busy, "
            "damaged or foreign.\n";
    return text;
}

// Written here rather than by the parser, whose help names the program by its path, lists the
// command among its arguments, cuts the arguments mid-word and offers Qt's own options.
QByteArray commandHelp(const QString &name, const Command &command)
{
    constexpr qsizetype Width = 79;
    QList<QCommandLineOption> options{
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")}};
    options.append(command.options);
    QStringList spelled;
    qsizetype column = 0;
    for (const QCommandLineOption &option : options) {
        QStringList names;
        for (const QString &optionName : option.names())
            names.append((optionName.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) +
                         optionName);
        QString text = names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            text += QStringLiteral(" <%1>").arg(option.valueName());
        spelled.append(text);
        column = std::max(column, text.size() + 4);
    }
    QString help =
        QStringLiteral("Usage: tripvane %1 [OPTIONS]%2\n%3\n\nOptions:\n")
            .arg(name, command.arguments.isEmpty() ? QString() : u' ' + command.arguments,
                 QString::fromLatin1(command.summary));
    for (qsizetype i = 0; i < options.size(); ++i) {
        QString line = QStringLiteral("  ") + spelled[i].leftJustified(column - 2);
        for (const QString &word : options[i].description().split(u' ')) {
            if (line.size() > column && line.size() + 1 + word.size() > Width) {
                help += line + u'\n';
                line = QString(column, u' ') + word;
            } else {
                line += (line.size() > column ? QStringLiteral(" ") : QString()) + word;
            }
        }
        help += line + u'\n';
    }
    return help.toUtf8();
}

} // namespace

int runTripvane(const QStringList &arguments, CliStreams streams)
{
    const auto usage = [&](const QString &message) {
        streams.err.write("tripvane: " + message.toUtf8() +
                          "\nTry 'tripvane --help' for more information.\n");
        return int(ExitUsage);
    };
    const QString first = arguments.value(0);
    if (first.isEmpty()) {
        streams.err.write(generalHelp());
        return ExitUsage;
    }
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        streams.out.write(generalHelp());
        return ExitDone;
    }
    if (first == QLatin1String("--version")) {
        streams.out.write("tripvane " TRIPVANE_VERSION "\n");
        return ExitDone;
    }
    const bool help = first == QLatin1String("help");
    const QString name = help ? arguments.value(1) : first;
    const auto command = commands().find(name);
    if (help && name.isEmpty()) {
        streams.out.write(generalHelp());
        return ExitDone;
    }
    if (command == commands().end())
        return usage(QStringLiteral("no command '%1'").arg(name));
    if (help) {
        streams.out.write(commandHelp(name, command->second));
        return ExitDone;
    }
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addOptions(command->second.options);
    if (!parser.parse(QStringList{QStringLiteral("tripvane")} + arguments)) {
        // The parser takes "-1" for an option named 1: say what was meant.
        static const QRegularExpression negative(QStringLiteral("^-[0-9.]"));
        for (const QString &argument : arguments) {
            if (negative.match(argument).hasMatch() &&
                parser.unknownOptionNames().contains(argument.mid(1)))
                return usage(QStringLiteral("'%1' is no option; a rate or a distance is never "
                                            "negative")
                                 .arg(argument));
        }
        return usage(parser.errorText());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        streams.out.write(commandHelp(name, command->second));
        return ExitDone;
    }
    for (const QString &device : parser.values(QStringLiteral("device"))) {
        if (device.isEmpty())
            return usage(QStringLiteral("--device: the name of a folder is needed"));
    }
    return command->second.run(parser, streams);
}

} // namespace tripvane
