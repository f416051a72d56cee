#include "CliCommands.h"

#include "CliDevice.h"
#include "MileageLogPrint.h"
#include "OutputFile.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QSaveFile>

namespace tripvane {

int printCommand(const QCommandLineParser &parser, CliStreams streams)
{
    if (parser.positionalArguments().size() != 1 || !parser.isSet(QStringLiteral("output")))
        return usage(streams, QStringLiteral("print --from DATE --to DATE -o FILE.pdf"));
    if (!qGuiApp)
        return fail(streams, {ExitDevice, QStringLiteral("print: no fonts to print with")});
    QStringList devices = parser.values(QStringLiteral("device"));
    if (devices.isEmpty())
        devices.append(QString());
    std::vector<std::unique_ptr<DeviceLog>> logs;
    MileageLogContent content;
    std::optional<KeyRange> range;
    std::optional<QString> currency;
    for (const QString &device : devices) {
        CliFailure failure;
        std::unique_ptr<DeviceLog> log = readDevice(devicePathOf(device), failure);
        if (!log)
            return fail(streams, failure);
        if (!range && !(range = rangeOf(parser, log->settings.DateTypeView, true, failure)))
            return fail(streams, failure);
        std::optional<RateTable> rates = ratesOfDevice(*log, failure);
        if (!rates)
            return fail(streams, failure);
        if (const std::optional<CliFailure> mixed = mixedCurrency(currency, rates->currency))
            return fail(streams, *mixed);
        const QString name = QFileInfo(log->root.path()).fileName();
        std::optional<PrintedVehicle> vehicle = printedVehicle(
            name, log->log(), log->settings.DateTypeView, log->settings.DistanceTypeView,
            std::move(*rates), range->first, range->last);
        if (!vehicle)
            return fail(streams, overflowFailure(log->root.path()));
        content.vehicles.push_back(std::move(*vehicle));
        logs.push_back(std::move(log));
    }
    content.title = parser.isSet(QStringLiteral("title")) ? parser.value(QStringLiteral("title"))
                                                          : content.vehicles.front().name;
    content.setRange(range->first, range->last);

    // The PDF takes the name only once complete.
    const QString output = parser.value(QStringLiteral("output"));
    // Looked at against every device printed: a fleet's second store is no output either.
    OutputTarget target;
    for (const std::unique_ptr<DeviceLog> &log : logs) {
        target = resolveOutput(output, log->root);
        if (target.kind != OutputTarget::Kind::File)
            break;
    }
    if (target.kind != OutputTarget::Kind::File)
        return fail(streams, {ExitInvalidInput,
                              output + QStringLiteral(": ") +
                                  (target.problem.isEmpty()
                                       ? QStringLiteral("is not a plain file; a PDF needs one")
                                       : target.problem)});
    QSaveFile file(target.path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(streams, {ExitInvalidInput, output + QStringLiteral(": cannot create")});
    QPdfWriter pdf(&file);
    pdf.setTitle(content.title);
    pdf.setCreator(QStringLiteral("tripvane " TRIPVANE_VERSION));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    if (!printMileageLog(pdf, content) || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return fail(streams, {ExitInvalidInput, output + QStringLiteral(": cannot write")});
    }
    if (!keepReplaced(target)) {
        file.cancelWriting();
        file.commit();
        return fail(streams, keptFailure(output));
    }
    if (!file.commit() || !keepOwnerAndMode(target))
        return fail(streams, {ExitInvalidInput, output + QStringLiteral(": cannot write")});
    return ExitDone;
}

} // namespace tripvane
