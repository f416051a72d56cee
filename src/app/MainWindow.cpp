#include "MainWindow.h"

#include "CategoriesFlow.h"
#include "CommandBar.h"
#include "DeleteRangeFlow.h"
#include "DeviceFrame.h"
#include "ExportFlow.h"
#include "Images.h"
#include "ListView.h"
#include "MileageBookFlow.h"
#include "OptionsFlow.h"
#include "PrintFlow.h"
#include "ProgramState.h"
#include "ReportFlow.h"
#include "Services.h"
#include "Shell.h"
#include "Sorting.h"
#include "StatusFlow.h"
#include "StatusPane.h"
#include "StringTable.h"
#include "TripLog.h"
#include "TripsFlow.h"

#include <QResizeEvent>

namespace tripvane {

namespace {

// The main window's client: light grey, with the pane 27 pixels below its top.
class MainPage final : public QWidget
{
public:
    using QWidget::QWidget;
    std::function<void()> onResize;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        if (onResize)
            onResize();
    }
};

const std::vector<QAction *> noActions;

} // namespace

MainWindow::MainWindow(Services &services, ProgramState &state, TripLog &log, ObjectStore &store,
                       DeviceFrame &frame)
    : m_services(services)
    , m_state(state)
    , m_log(log)
    , m_store(store)
    , m_frame(frame)
{}

MainWindow::~MainWindow() = default;

bool MainWindow::create()
{
    m_commands = new CommandBar(*m_frame.commandBar(), [this](int id) { command(id); });

    auto *page = new MainPage;
    page->setObjectName(QStringLiteral("mainWindow"));
    page->setAutoFillBackground(true);
    // The handheld's grey and its black text go together, whatever the desktop's colours are.
    QPalette palette = page->palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    palette.setColor(QPalette::WindowText, Qt::black);
    page->setPalette(palette);
    m_page = page;
    m_commands->takeKeysFrom(*page);
    m_pane = new StatusPane(m_services, m_state.settings, m_log, page);
    page->onResize = [this] { placePane(); };
    m_frame.setMainPage(page, loadString(IDS_TITLE));
    placePane();
    m_pane->show();
    m_shell = std::make_unique<Shell>(m_services, m_state, m_log, *m_pane, *m_commands);
    const SystemTime today = m_services.clock().localToday();
    m_book = std::make_unique<MileageBookFlow>(*m_shell);
    m_trips = std::make_unique<TripsFlow>(*m_shell, *m_book, today);
    m_exports = std::make_unique<ExportFlow>(*m_shell);
    m_report = std::make_unique<ReportFlow>(*m_shell, *m_exports, today);
    buildDispatch();

    const bool anyTrips = m_log.finishLoadingTrips();
    m_pane->recomputeStatus(); // it was built before the trips came
    if (!anyTrips)
        m_shell->setNeedsTripsState(false);
    else if (!sortAndFill())
        return false;

    m_shell->setNeedsUndoState(false);
    m_state.sortedOnce = m_state.mainSortOrder != SortUnset;

    connect(&m_services.screen(), &Screen::changed, this, &MainWindow::relayout);
    connect(m_pane, &StatusPane::rowTapped, this, [this] { m_trips->editSelectedTrip(); });
    connect(m_pane, &StatusPane::columnTapped, this,
            [this](int column) { m_trips->dateHeaderTapped(column); });
    connect(m_pane, &StatusPane::changeStatusClicked, this,
            [this] { changeOdometerStatus(*m_shell); });
    connect(&m_frame, &DeviceFrame::helpRequested, this, &MainWindow::help);
    connect(&m_frame, &DeviceFrame::activated, this, [this] { m_services.inputPanel().hide(); });
    // The keys work at once: the arrows move through the trips.
    m_pane->listView().setFocus();
    return true;
}

void MainWindow::buildDispatch()
{
    Shell &shell = *m_shell;
    TripsFlow &trips = *m_trips;
    const auto both = [this](std::initializer_list<int> ids, std::function<void()> flow) {
        for (int id : ids)
            m_dispatch[id] = flow;
    };
    both({CmdNew}, [&trips] { trips.newTrip(); });
    both({CmdUndo, ButtonUndo}, [&trips] { trips.undo(); });
    both({CmdEmptyUndo}, [&trips] { trips.emptyUndo(); });
    both({CmdDeleteByRange}, [this] { deleteTripsByRange(*m_shell, m_report->range()); });
    both({CmdMileageBook, ButtonMileageBook}, [this] { m_book->editBook(); });
    both({CmdMileageReport, ButtonReport}, [this] { m_report->showReport(); });
    both({CmdEditCategories, ButtonCategories}, [&shell] { editCategories(shell); });
    both({CmdExportRecords}, [this] { m_exports->exportTrips(); });
    both({CmdViewOptions}, [&shell] { changeViewOptions(shell); });
    both({CmdAbout}, [&shell] { showAbout(shell); });
    both({CmdPrintMileageLog}, [this] { printMileageLog(*m_shell, m_store, m_report->range()); });
    both({CmdExit},
         [this] { QMetaObject::invokeMethod(&m_frame, &QWidget::close, Qt::QueuedConnection); });
}

void MainWindow::command(int id)
{
    if (!m_pane)
        return; // after a failed screen change the window has no pane to work in
    if (const auto flow = m_dispatch.find(id); flow != m_dispatch.end())
        flow->second();
}

bool MainWindow::sortAndFill()
{
    const std::uint32_t order = m_state.mainSortOrder;
    if (!showsTripsByDate(m_state.mainSortColumn, order)) {
        m_shell->afterFill();
        return true;
    }
    m_pane->listModel().setHeaderImage(0, order == SortUnset ? ImageNoOrder : int(order));
    return m_shell->resortAndRefill();
}

const std::vector<QAction *> &MainWindow::actions(int id) const
{
    return m_commands ? m_commands->actions(id) : noActions;
}

bool MainWindow::isCommandEnabled(int id) const
{
    return m_commands && m_commands->isEnabled(id);
}

void MainWindow::placePane()
{
    if (!m_pane || !m_page)
        return;
    const QRect client = m_page->rect();
    // The wide layout's "Change Status" stands low in the pane: there the pane fills the whole
    // client, or the command bar would cover the button.
    if (m_services.screen().isPortrait())
        m_pane->setGeometry(0, 27, client.width(), client.height() - 26);
    else
        m_pane->setGeometry(client);
}

void MainWindow::relayout()
{
    if (!m_pane)
        return;
    placePane();
    if (!m_log.trips().isEmpty()) {
        if (!sortAndFill()) {
            // Without its list the pane cannot serve; the window stays open without it.
            delete m_pane;
            return;
        }
        if (m_state.mainSortColumn == 0 && m_state.mainSortOrder <= SortDescending)
            m_state.sortedOnce = true;
    } else {
        m_shell->setNeedsTripsState(false);
    }
    m_pane->placeControls(true);
    m_pane->recomputeStatus();
}

void MainWindow::help()
{
    if (FramePage *dialog = m_frame.topDialog()) {
        dialog->pageHelp();
        return;
    }
    const int row = m_shell->rememberSelection();
    m_services.openHelp(QStringLiteral("Navigating"));
    m_shell->restoreSelection(row);
}

void MainWindow::exit()
{
    m_log.writeBackAtExit();
    m_state.settings.Sort = m_state.mainSortColumn;
    m_state.settings.SortOrder = m_state.mainSortOrder;
    m_state.settings.save(m_store);
}

} // namespace tripvane
