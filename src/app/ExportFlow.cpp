#include "ExportFlow.h"

#include "CsvExport.h"
#include "DeviceRoot.h"
#include "ExportDialog.h"
#include "ProgramState.h"
#include "Services.h"
#include "SettingValues.h"
#include "Shell.h"
#include "TripLog.h"

#include <functional>

namespace tripvane {

namespace {

enum : int {
    IDS_CANNOT_DELETE_FILE = 40029,
    IDS_CANNOT_CREATE_FILE = 40030,
    IDS_NO_BUSINESS_FOLDER = 40031,
    IDS_NO_PERSONAL_FOLDER = 40032,
    IDS_REPLACE_FILE = 40041,
    IDS_CANNOT_WRITE_FILE = 40044,
};

using WriteFile = std::function<ExportOutcome(bool replace)>;

// Writes the file, asking before an existing one is replaced, and tells what went wrong; 1 when
// the file was written, as the dialog expects.
int writeAsking(Services &services, const ExportOptions &options, const WriteFile &write)
{
    ExportOutcome outcome = write(false);
    if (outcome == ExportOutcome::FileExists) {
        if (services.message(IDS_REPLACE_FILE, MessageIcon::Exclamation, MessageButtons::YesNo) !=
            MessageAnswer::Yes)
            return 0;
        outcome = write(true);
    }
    switch (outcome) {
    case ExportOutcome::Written:
        return 1;
    case ExportOutcome::NothingToWrite:
    case ExportOutcome::FileExists:
        break;
    case ExportOutcome::NoFolder:
        services.message(options.folder == BusinessFolder ? IDS_NO_BUSINESS_FOLDER
                                                          : IDS_NO_PERSONAL_FOLDER,
                         MessageIcon::Exclamation);
        break;
    case ExportOutcome::CannotReplace:
        services.message(IDS_CANNOT_DELETE_FILE, MessageIcon::Stop);
        break;
    case ExportOutcome::CannotCreate:
        services.message(IDS_CANNOT_CREATE_FILE, MessageIcon::Stop);
        break;
    case ExportOutcome::CannotWrite:
        services.message(IDS_CANNOT_WRITE_FILE, MessageIcon::Stop);
        break;
    }
    return 0;
}

using WriteTo = std::function<ExportOutcome(const DeviceRoot &device, const QString &name,
                                            const ExportOptions &options, bool replace)>;

// The export dialog of the kind with the name it offers; the name that passed its rule is kept.
void runExportDialog(Shell &shell, ExportDialog::Kind kind, QString &rememberedName,
                     const WriteTo &write)
{
    AppSettings &settings = shell.state().settings;
    ExportDialog dialog(
        shell.services(),
        {settings.ExportFileType, settings.ExportFileFolder, settings.DateTypeView,
         settings.DistanceTypeView},
        kind, rememberedName, [&](const QString &name, const ExportOptions &options) {
            return writeAsking(shell.services(), options, [&](bool replace) {
                return write(DeviceRoot(shell.state().devicePath), name, options, replace);
            });
        });
    shell.runDialog(dialog);
    rememberedName = dialog.rememberedName();
    settings.ExportFileType = dialog.chosenOptions().fileType;
    settings.ExportFileFolder = dialog.chosenOptions().folder;
}

} // namespace

void ExportFlow::exportTrips()
{
    const int row = m_shell.rememberSelection();
    runExportDialog(m_shell, ExportDialog::Kind::Trips, m_tripsName,
                    [this](const DeviceRoot &device, const QString &name,
                           const ExportOptions &options, bool replace) {
                        return ExportMileageRecords(device, m_shell.log().trips(), name, options,
                                                    replace);
                    });
    m_shell.restoreSelection(row);
}

void ExportFlow::exportReport()
{
    runExportDialog(m_shell, ExportDialog::Kind::Report, m_reportName,
                    [this](const DeviceRoot &device, const QString &name,
                           const ExportOptions &options, bool replace) {
                        return ExportReport(device, m_shell.log().categories(), name, options,
                                            replace);
                    });
}

} // namespace tripvane
