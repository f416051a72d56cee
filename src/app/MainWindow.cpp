#include "MainWindow.h"

#include "Databases.h"
#include "DeviceFrame.h"
#include "Images.h"
#include "ObjectStore.h"
#include "ProgramState.h"
#include "RecordListView.h"
#include "Services.h"
#include "Sorting.h"
#include "StatusPane.h"
#include "StringTable.h"

#include <QAction>
#include <QMenu>
#include <QResizeEvent>
#include <QToolBar>
#include <QToolButton>

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

MainWindow::MainWindow(Services &services, ProgramState &state, ObjectStore &store,
                       Databases &databases, DeviceFrame &frame)
    : m_services(services)
    , m_state(state)
    , m_store(store)
    , m_databases(databases)
    , m_frame(frame)
{}

MainWindow::~MainWindow() = default;

QAction *MainWindow::addCommand(QWidget *owner, int id, const QString &text)
{
    auto *action = new QAction(text, owner);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    connect(action, &QAction::triggered, this, [this, id] { command(id); });
    owner->addAction(action);
    m_actions[id].push_back(action);
    return action;
}

void MainWindow::buildCommandBar()
{
    QToolBar *bar = m_frame.commandBar();
    bar->clear();
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // As compact as the handheld's menu bar: everything fits in 240 pixels.
    bar->setStyleSheet(QStringLiteral(
        "QToolBar { spacing: 0px; padding: 0px; border: none; }"
        "QToolBar::separator { width: 6px; }"
        "QToolButton { padding: 1px 3px; margin: 0px; min-width: 0px; border: none; font: 8pt \"MS Sans Serif\"; }"
        "QToolButton:hover, QToolButton:pressed { background: #c8c8c8; }"
        "QToolButton::menu-indicator { image: none; width: 0px; }"));

    QAction *newTrip = addCommand(bar, CmdNew, loadString(40038));
    newTrip->setToolTip(QStringLiteral("New Mileage"));

    const auto dropDown = [&](int id, int caption) {
        auto *menu = new QMenu(bar);
        menu->setObjectName(QStringLiteral("menu%1").arg(id));
        auto *button = new QToolButton(bar);
        button->setObjectName(QStringLiteral("command%1").arg(id));
        button->setText(loadString(caption));
        button->setPopupMode(QToolButton::InstantPopup);
        button->setMenu(menu);
        bar->addWidget(button);
        return menu;
    };
    QMenu *mileage = dropDown(CmdMileageMenu, 40001);
    addCommand(mileage, CmdNew, QStringLiteral("New..."));
    addCommand(mileage, CmdUndo, QStringLiteral("Undo Deleting"));
    addCommand(mileage, CmdMileageBook, QStringLiteral("Mileage Book..."));
    addCommand(mileage, CmdMileageReport, QStringLiteral("Mileage Report..."));
    addCommand(mileage, CmdExit, QStringLiteral("Exit"));

    QMenu *tools = dropDown(CmdToolsMenu, 40017);
    addCommand(tools, CmdEditCategories, QStringLiteral("Edit Categories..."));
    addCommand(tools, CmdDeleteByRange, QStringLiteral("Delete by Range of Dates..."));
    addCommand(tools, CmdEmptyUndo, QStringLiteral("Empty Undo Mileage records"));
    tools->addSeparator();
    addCommand(tools, CmdExportRecords, QStringLiteral("Export Mileage records..."));
    addCommand(tools, CmdViewOptions, QStringLiteral("View Options..."));
    tools->addSeparator();
    addCommand(tools, CmdAbout, QStringLiteral("About"));

    bar->addSeparator();
    const struct
    {
        int id;
        int image;
        const char *tip;
    } buttons[] = {
        {ButtonCategories, 0, "Edit Categories"},
        {ButtonReport, 1, "Mileage Report"},
        {ButtonUndo, 2, "Undo Deleting"},
        {ButtonMileageBook, 3, "Mileage Book"},
    };
    for (const auto &button : buttons) {
        QAction *action = addCommand(bar, button.id, QString());
        action->setIcon(commandBarImage(button.image));
        action->setToolTip(QString::fromLatin1(button.tip));
        if (auto *widget = qobject_cast<QToolButton *>(bar->widgetForAction(action)))
            widget->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
}

bool MainWindow::create()
{
    const SystemTime now = m_services.clock().nowUtc();
    m_state.lastDate = now;
    m_state.reportRangeStart = now;
    m_state.reportRangeEnd = now;

    buildCommandBar();
    m_state.sortedOnce = false;

    m_state.settings.load(m_store, loadString(IDS_MAKER), loadString(IDS_TITLE));
    m_state.mainSortColumn = m_state.settings.Sort;
    m_state.mainSortOrder = m_state.settings.SortOrder;

    if (!m_databases.loadStatus(m_state.holders))
        return false;
    const bool anyRecords = m_databases.loadRecords(m_state.records, m_state.recordUnderEdit) == 1;

    auto *page = new MainPage;
    page->setObjectName(QStringLiteral("mainWindow"));
    page->setAutoFillBackground(true);
    QPalette palette = page->palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    page->setPalette(palette);
    m_page = page;
    m_pane = new StatusPane(m_services, m_state, m_databases, page);
    page->onResize = [this] { placePane(); };
    m_frame.setMainPage(page, loadString(IDS_TITLE));
    placePane();
    m_pane->show();

    if (!anyRecords)
        setNeedsRecordsState(false);
    else if (!sortAndFill())
        return false;

    setNeedsUndoState(false);
    m_state.editMode = false;
    m_state.categoriesChanged = false;
    m_state.bookChanged = false;
    m_state.sortedOnce = m_state.mainSortOrder != SortUnset;

    connect(&m_services.screen(), &Screen::changed, this, &MainWindow::relayout);
    connect(&m_frame, &DeviceFrame::helpRequested, this, &MainWindow::help);
    connect(&m_frame, &DeviceFrame::activated, this, [this] { m_services.inputPanel().hide(); });
    return true;
}

bool MainWindow::sortAndFill()
{
    if (m_state.mainSortColumn == 0 && m_state.mainSortOrder <= SortDescending)
        m_pane->listModel().setDateHeaderImage(int(m_state.mainSortOrder));
    else if (m_state.mainSortOrder == SortUnset)
        m_pane->listModel().setDateHeaderImage(ImageNoOrder);
    else {
        fillList();
        return true;
    }
    WaitCursorGuard busy(m_services.waitCursor());
    if (!SortRecordsByDate(m_state.records, m_state.mainSortOrder))
        return false;
    fillList();
    return true;
}

void MainWindow::fillList()
{
    m_pane->listModel().fill();
    const bool hasRecords = !m_state.records.isEmpty();
    // The fill enables only report and export: Delete by Range keeps its state, as designed.
    for (int id : {int(ButtonReport), int(CmdMileageReport), int(CmdExportRecords)})
        for (QAction *action : actions(id))
            action->setEnabled(hasRecords);
    if (!hasRecords)
        for (QAction *action : actions(CmdDeleteByRange))
            action->setEnabled(false);
    if (hasRecords && m_state.mainSortOrder != SortDescending)
        m_pane->listView().scrollToBottom();
}

void MainWindow::setNeedsRecordsState(bool hasRecords)
{
    for (int id : {int(ButtonReport), int(CmdMileageReport), int(CmdExportRecords),
                   int(CmdDeleteByRange)})
        for (QAction *action : actions(id))
            action->setEnabled(hasRecords);
}

void MainWindow::setNeedsUndoState(bool hasUndo)
{
    for (int id : {int(ButtonUndo), int(CmdUndo), int(CmdEmptyUndo)})
        for (QAction *action : actions(id))
            action->setEnabled(hasUndo);
}

const std::vector<QAction *> &MainWindow::actions(int id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? noActions : found->second;
}

bool MainWindow::isCommandEnabled(int id) const
{
    const auto &list = actions(id);
    return !list.empty() && list.front()->isEnabled();
}

void MainWindow::placePane()
{
    if (!m_pane || !m_page)
        return;
    const QRect client = m_page->rect();
    m_pane->setGeometry(0, 27, client.width(), client.height() - 26);
}

void MainWindow::relayout()
{
    if (!m_pane)
        return;
    placePane();
    if (!m_state.records.isEmpty()) {
        if (!sortAndFill()) {
            // Without its list the pane cannot serve; the window stays open without it.
            delete m_pane;
            return;
        }
        if (m_state.mainSortColumn == 0 && m_state.mainSortOrder <= SortDescending)
            m_state.sortedOnce = true;
    } else {
        setNeedsRecordsState(false);
    }
    m_pane->placeControls(true);
    m_pane->recomputeStatus();
}

int MainWindow::rememberSelection() const
{
    return m_pane ? m_pane->listView().selectedRow() : -1;
}

void MainWindow::restoreSelection(int row)
{
    if (!m_pane)
        return;
    m_pane->listView().setFocus();
    if (row != -1)
        m_pane->listView().selectRow(row);
}

void MainWindow::help()
{
    if (m_frame.hasDialogOpen()) {
        QMetaObject::invokeMethod(m_frame.topPage(), "help", Qt::DirectConnection);
        return;
    }
    const int row = rememberSelection();
    m_services.helpViewer().open(QStringLiteral("file:tripvaneppc.htm#Navigating"));
    restoreSelection(row);
}

void MainWindow::command(int id)
{
    switch (id) {
    case CmdExit:
        QMetaObject::invokeMethod(&m_frame, &QWidget::close, Qt::QueuedConnection);
        break;
    default:
        break; // the remaining commands arrive with their dialogs
    }
}

void MainWindow::exit()
{
    if (m_exited)
        return;
    m_exited = true;
    m_databases.writeBackAtExit(m_state.records, m_state.categories, m_state.book,
                                m_state.categoriesChanged, m_state.bookChanged);
    m_state.settings.Sort = m_state.mainSortColumn;
    m_state.settings.SortOrder = m_state.mainSortOrder;
    m_state.settings.save(m_store);
}

} // namespace tripvane
