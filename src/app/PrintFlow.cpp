#include "PrintFlow.h"

#include "MileageLogPrint.h"
#include "ObjectStore.h"
#include "ProgramState.h"
#include "Services.h"
#include "Shell.h"
#include "StatusPane.h"
#include "TripLog.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QShortcut>
#include <QToolButton>

namespace tripvane {

namespace {

// Qt's preview leaves its page field, zoom box and page view without a name: a reader would
// say "edit".
void nameControls(QPrintPreviewDialog &preview)
{
    for (auto *field : preview.findChildren<QLineEdit *>())
        field->setAccessibleName(QStringLiteral("Page"));
    for (auto *zoom : preview.findChildren<QComboBox *>())
        zoom->setAccessibleName(QStringLiteral("Zoom"));
    for (auto *pages : preview.findChildren<QAbstractScrollArea *>()) {
        pages->setAccessibleName(QStringLiteral("Pages"));
        pages->viewport()->setAccessibleName(QStringLiteral("Page view"));
    }
    for (auto *button : preview.findChildren<QToolButton *>()) {
        if (button->objectName() == QLatin1String("qt_toolbar_ext_button"))
            button->setAccessibleName(QStringLiteral("More commands"));
        if (button->accessibleName().isEmpty() && button->defaultAction())
            button->setAccessibleName(button->defaultAction()->text().remove(u'&'));
        button->setFocusPolicy(Qt::TabFocus); // the preview is worked from the keyboard too
    }
}

} // namespace

void printMileageLog(Shell &shell, ObjectStore &store, const DateRange &range)
{
    const ProgramState &state = shell.state();
    const AppSettings &settings = state.settings;
    // A log without its amounts would be wrong paper: rather none, and a word why.
    const auto cannotPrint = [&shell](const char *why) {
        shell.services().message(QString::fromLatin1(why) +
                                     QStringLiteral(", so the mileage log cannot be printed."),
                                 MessageIcon::Exclamation);
    };
    std::optional<RateTable> rates = loadRates(store, settings);
    if (!rates)
        return cannotPrint("The stored rates cannot be read");
    const std::uint32_t first = dateKeyOf(range.start);
    const std::uint32_t last = dateKeyOf(range.end);
    MileageLogContent content;
    content.title = QFileInfo(state.devicePath).fileName();
    std::optional<PrintedVehicle> vehicle =
        printedVehicle(content.title, shell.log(), settings.DateTypeView, settings.DistanceTypeView,
                       std::move(*rates), first, last);
    if (!vehicle)
        return cannotPrint("The amounts are too large to add up");
    content.vehicles.push_back(std::move(*vehicle));
    content.setRange(first, last);

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    printer.setDocName(content.title);
    QPrintPreviewDialog preview(&printer);
    preview.setObjectName(QStringLiteral("printPreview"));
    preview.setWindowTitle(QStringLiteral("Print Mileage Log"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&content](QPrinter *target) { printMileageLog(*target, content); });
    auto *help = new QShortcut(QKeySequence::HelpContents, &preview);
    QObject::connect(help, &QShortcut::activated,
                     [&shell] { shell.services().openHelp(QStringLiteral("MileageLog")); });
    nameControls(preview);
    const int row = shell.rememberSelection();
    preview.exec();
    // The preview is no child of the frame: the frame takes the keys back itself.
    shell.pane().window()->activateWindow();
    shell.restoreSelection(row);
}

} // namespace tripvane
