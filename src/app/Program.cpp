#include "Program.h"

#include "Databases.h"
#include "DeviceFrame.h"
#include "DeviceIdentity.h"
#include "DeviceLog.h"
#include "FrameDialogRunner.h"
#include "Images.h"
#include "MainWindow.h"
#include "ObjectStore.h"
#include "ProgramState.h"
#include "Services.h"
#include "Shell.h"
#include "SingleInstance.h"
#include "StringTable.h"
#include "TripLog.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QScreen>

namespace tripvane {

Program::Program(Services &services, DeviceRoot device, QString zoomSettings)
    : m_services(services)
    , m_device(std::move(device))
    , m_state(std::make_unique<ProgramState>())
    , m_zoom(zoomSettings.isEmpty() ? ScreenZoom::defaultSettingsFile() : zoomSettings)
{}

Program::~Program() = default;

bool Program::start()
{
    if (!m_device.prepare()) {
        m_services.message(IDS_CANNOT_CONTINUE, MessageIcon::Stop);
        return false;
    }
    m_instance = std::make_unique<SingleInstance>(m_device);
    if (!m_instance->claim())
        return false; // the running one was asked to come forward; nothing here is touched
    installHelpFiles();
    // The desktop installer asks a connected device what it is.
    DeviceIdentity::writeIfAbsent(m_device);
    m_state->devicePath = m_device.path();

    {
        WaitCursorGuard busy(m_services.waitCursor());
        m_store = std::make_unique<ObjectStore>();
        m_databases = std::make_unique<Databases>(*m_store);
        m_log =
            std::make_unique<TripLog>(*m_databases, m_services.waitCursor(), m_services.clock());
        QObject::connect(
            m_log.get(), &TripLog::storeFailed, m_log.get(),
            [this](const StoreFailure &failure) { tellStoreFailure(m_services, failure); });
        const std::optional<StoreFailure> unopened =
            openDeviceStore(*m_store, m_device.storePath(), DeviceAccess::Write);
        if (unopened)
            tellStoreFailure(m_services, *unopened);
        if (unopened || !m_log->openDatabases()) {
            m_services.message(IDS_CANNOT_CONTINUE, MessageIcon::Stop);
            return false;
        }
    }

    // The trips are read on a connection of their own while the settings and the status are
    // read and the frame and the window are built, which takes about as long as reading 10,000
    // of them.
    m_log->startLoadingTrips();
    m_state->settings.load(*m_store, loadString(IDS_MAKER), loadString(IDS_TITLE));
    m_state->mainSortColumn = m_state->settings.Sort;
    m_state->mainSortOrder = m_state->settings.SortOrder;
    if (!m_log->loadStatus())
        return false;

    m_frame = std::make_unique<DeviceFrame>(m_services.screen());
    m_frame->setWindowIcon(programIcon());
    m_mainWindow = std::make_unique<MainWindow>(m_services, *m_state, *m_log, *m_store, *m_frame);
    if (!m_mainWindow->create()) {
        // A failed creation ends the program without the saving steps of the exit.
        m_mainWindow.reset();
        m_frame.reset();
        return false;
    }
    QObject::connect(m_frame.get(), &DeviceFrame::closeRequested, m_frame.get(),
                     [this] { exit(); });
    QObject::connect(
        m_frame.get(), &DeviceFrame::closeWhileDialogOpen, m_frame.get(),
        [this] { requestClose(); }, Qt::QueuedConnection);
    QObject::connect(m_instance.get(), &SingleInstance::raiseRequested, m_frame.get(), [this] {
        m_frame->showNormal();
        m_frame->raise();
        m_frame->activateWindow();
    });
    QObject::connect(m_instance.get(), &SingleInstance::closeRequested, m_frame.get(),
                     [this] { requestClose(); });
    QObject::connect(m_frame.get(), &DeviceFrame::zoomRequested, m_frame.get(),
                     [this](int step) { zoom(step); });
    if (const auto kept = m_zoom.takeKeptWindow()) {
        // A start for a new zoom shows the window as the user left it.
        if (kept->wide == m_services.screen().isPortrait())
            m_frame->rotate();
        m_frame->move(kept->place / m_frame->devicePixelRatioF());
    }
    m_frame->show();
    // A larger zoom keeps the corner it had, which may push the rest off the screen.
    m_frame->keepOnScreen();
    lowerZoomThatNoLongerFits();
    return true;
}

void Program::requestClose()
{
    if (!m_frame || m_exited)
        return;
    // The box on top goes first, then the dialog under it, then the frame.
    FramePage *dialog = nullptr;
    if (!m_services.messageBoxes().closeOpen() && !(dialog = m_frame->topDialog())) {
        m_frame->close();
        return;
    }
    if (dialog)
        dialog->pageCancel();
    QMetaObject::invokeMethod(
        m_frame.get(), [this] { requestClose(); }, Qt::QueuedConnection);
}

void Program::zoom(int step)
{
    // Qt scales a window only from its start: the program closes through its normal exit and
    // main() starts it again.
    const int level = m_zoom.level();
    const QScreen *screen = m_frame->screen();
    if (m_frame->hasDialogOpen() ||
        (step > 0 && screen &&
         !ScreenZoom::fits(m_frame->frameGeometry().size(), screen->availableGeometry().size(),
                           level, level + step)))
        return;
    if (!m_zoom.setLevel(level + step))
        return;
    m_zoom.keepWindow(
        {!m_services.screen().isPortrait(), m_frame->pos() * m_frame->devicePixelRatioF()});
    m_restart = true;
    m_frame->close();
}

void Program::lowerZoomThatNoLongerFits()
{
    // A level chosen on a larger screen, or before the desk scaled everything itself, would push
    // the command bar off the screen: the largest level that fits is taken, in a new start.
    const int level = m_zoom.level();
    const QScreen *screen = m_frame->screen();
    if (level == ScreenZoom::Smallest || !screen ||
        qEnvironmentVariableIntValue("QT_SCALE_FACTOR") != level)
        return;
    const QSize available = screen->availableGeometry().size();
    int fitting = level;
    while (fitting > ScreenZoom::Smallest &&
           !ScreenZoom::fits(m_frame->frameGeometry().size(), available, level, fitting))
        --fitting;
    if (fitting != level)
        QMetaObject::invokeMethod(
            m_frame.get(), [this, step = fitting - level] { zoom(step); }, Qt::QueuedConnection);
}

void Program::exit()
{
    if (m_exited)
        return;
    m_exited = true;
    m_mainWindow->exit();
    m_instance->release();
}

void Program::installHelpFiles() const
{
    // A new handheld comes with its help files; a newer program brings newer ones.
    const QDir windows(m_device.localPath(QStringLiteral("\\Windows")));
    QDirIterator help(QStringLiteral(":/help"));
    while (help.hasNext()) {
        const QString source = help.next();
        const QString target = windows.filePath(help.fileName());
        QFile installed(target);
        QFile bundled(source);
        if (installed.open(QIODevice::ReadOnly) && bundled.open(QIODevice::ReadOnly) &&
            installed.readAll() == bundled.readAll())
            continue;
        installed.close();
        QFile::remove(target);
        if (QFile::copy(source, target))
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
}

} // namespace tripvane
