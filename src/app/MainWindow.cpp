#include "MainWindow.h"

#include "Databases.h"
#include "DeleteRangeDialog.h"
#include "DeviceFrame.h"
#include "Images.h"
#include "ObjectStore.h"
#include "PlaceholderDialog.h"
#include "ProgramState.h"
#include "RecordDialog.h"
#include "RecordListView.h"
#include "Services.h"
#include "Sorting.h"
#include "StatusPane.h"
#include "StringTable.h"

#include <QAction>
#include <QFile>
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

const QString HornSound = QStringLiteral(":/sounds/IDW_CAR_HORN.wav");

// Dialogs whose features come later, and the end codes the commands look at.
enum : int {
    TemplateAbout = 102,
    TemplateCategories = 124,
    TemplateReport = 127,
    TemplateMileageBook = 130,
    TemplateExport = 1085,
    TemplateViewOptions = 1150,
    TemplateBookPicker = 1210,
    CategoriesNew = 1040,
    CategoriesRename = 1041,
    CategoriesDelete = 1042,
    CategoriesOk = 1052,
    BookNew = 1186,
    BookEdit = 1187,
    BookDelete = 1185,
    ViewOptionsOk = 1161,
};

std::unique_ptr<PlaceholderDialog> makePlaceholder(Services &services, int templateId)
{
    struct Known
    {
        int id;
        const char *caption;
        int endCode;
        const char *anchor;
    };
    static constexpr Known known[] = {
        {TemplateAbout, "About", 1, "Navigating"},
        {TemplateCategories, "Edit Categories...", CategoriesOk, "Categories"},
        {TemplateReport, "Mileage Report", 1, "Workwithrapport"},
        {TemplateMileageBook, "Mileage Book", 1, "Rittenboek"},
        {TemplateExport, "Export Mileage records", 1095, "Export"},
        {TemplateViewOptions, "View Options", 1160, "Settings"},
        {TemplateBookPicker, "Mileage Book", 1211, "Rittenboek"},
    };
    for (const Known &k : known) {
        if (k.id == templateId)
            return std::make_unique<PlaceholderDialog>(services, QString::fromLatin1(k.caption),
                                                       k.endCode, QString::fromLatin1(k.anchor));
    }
    return std::make_unique<PlaceholderDialog>(services, QString(), 1,
                                               QStringLiteral("Navigating"));
}

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
    bar->setStyleSheet(
        QStringLiteral("QToolBar { spacing: 0px; padding: 0px; border: none; }"
                       "QToolBar::separator { width: 6px; }"
                       "QToolButton { padding: 1px 3px; margin: 0px; min-width: 0px; border: none; "
                       "font: 8pt \"MS Sans Serif\"; }"
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
    connect(m_pane, &StatusPane::rowTapped, this, &MainWindow::editSelectedRecord);
    connect(m_pane, &StatusPane::columnTapped, this, &MainWindow::dateHeaderTapped);
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
    setCommandsEnabled({ButtonReport, CmdMileageReport, CmdExportRecords}, hasRecords);
    if (!hasRecords)
        setCommandsEnabled({CmdDeleteByRange}, false);
    if (hasRecords && m_state.mainSortOrder != SortDescending)
        m_pane->listView().scrollToBottom();
}

void MainWindow::setCommandsEnabled(std::initializer_list<int> ids, bool enabled)
{
    for (int id : ids)
        for (QAction *action : actions(id))
            action->setEnabled(enabled);
}

void MainWindow::setNeedsRecordsState(bool hasRecords)
{
    setCommandsEnabled({ButtonReport, CmdMileageReport, CmdExportRecords, CmdDeleteByRange},
                       hasRecords);
}

void MainWindow::setNeedsUndoState(bool hasUndo)
{
    setCommandsEnabled({ButtonUndo, CmdUndo, CmdEmptyUndo}, hasUndo);
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
    if (!m_pane)
        return; // after a failed screen change the window has no pane to work in
    switch (id) {
    case CmdNew:
        newRecord();
        break;
    case CmdUndo:
    case ButtonUndo:
        undo();
        break;
    case CmdMileageBook:
    case ButtonMileageBook:
        mileageBookLoop();
        break;
    case CmdMileageReport:
    case ButtonReport:
        showAndRestoreSelection(TemplateReport);
        break;
    case CmdExit:
        QMetaObject::invokeMethod(&m_frame, &QWidget::close, Qt::QueuedConnection);
        break;
    case CmdEditCategories:
    case ButtonCategories:
        categoriesLoop();
        break;
    case CmdDeleteByRange:
        deleteByRange();
        break;
    case CmdEmptyUndo:
        emptyUndo();
        break;
    case CmdExportRecords:
        showAndRestoreSelection(TemplateExport);
        break;
    case CmdViewOptions:
        viewOptions();
        break;
    case CmdAbout:
        showAndRestoreSelection(TemplateAbout);
        break;
    default:
        break;
    }
}

int MainWindow::runRecordDialog()
{
    for (;;) {
        RecordDialog::Shell shell;
        shell.selectedRow = m_pane->listView().selectedRow();
        shell.rowRemoved = [this](int row) {
            m_pane->listModel().removeRow(row);
            setNeedsRecordsState(!m_state.records.isEmpty());
        };
        shell.undoChanged = [this] { setNeedsUndoState(!m_state.undo.isEmpty()); };
        RecordDialog dialog(m_services, m_state, m_databases, std::move(shell));
        const int code = m_services.dialogRunner().run(dialog);
        if (code != RecordDialog::BookButton)
            return code;
        // The picker places the chosen route in the record under edit; then the dialog
        // shows again on the same record.
        auto picker = makePlaceholder(m_services, TemplateBookPicker);
        m_services.dialogRunner().run(*picker);
    }
}

void MainWindow::newRecord()
{
    const int row = rememberSelection();
    m_state.recordUnderEdit.clear();
    m_state.recordUnderEdit.setDate(m_state.lastDate);
    m_state.editMode = false;
    const int code = runRecordDialog();
    if (code == RecordDialog::OkButton)
        addRecordUnderEdit();
    m_pane->recomputeStatus();
    if (code == RecordDialog::OkButton) {
        selectLastRow();
        playHorn();
    } else if (code == RecordDialog::CancelButton) {
        restoreSelection(row);
    }
}

bool MainWindow::addRecordUnderEdit()
{
    std::int32_t key = 0;
    if (!m_databases.addRecord(m_state.recordUnderEdit, key))
        return false;
    WaitCursorGuard busy(m_services.waitCursor());
    m_state.recordUnderEdit.key = key;
    // Appended at the end; it is not sorted into place until the next sort.
    m_state.records.append(m_state.recordUnderEdit);
    m_pane->listModel().appendRow();
    setNeedsRecordsState(true);
    return true;
}

void MainWindow::editSelectedRecord()
{
    const int row = rememberSelection();
    m_state.recordUnderEdit.clear();
    const MileageRecord *record =
        row < 0 ? nullptr : m_state.records.findAtPosition(ListPosition(row));
    if (!record)
        return;
    m_state.recordUnderEdit.copyFrom(*record);
    m_state.editMode = true;
    if (runRecordDialog() == RecordDialog::OkButton) {
        WaitCursorGuard busy(m_services.waitCursor());
        // The trip keeps its place in the list; it is not sorted into place.
        m_state.records.findAtPosition(ListPosition(row));
        m_state.records.replaceAtPosition(ListPosition(row), m_state.recordUnderEdit);
        m_databases.updateRecord(m_state.recordUnderEdit);
        m_pane->listModel().updateRow(row);
    }
    m_pane->recomputeStatus();
    restoreSelection(row);
    m_state.editMode = false;
}

void MainWindow::undo()
{
    if (!m_state.undo.isEmpty()) {
        m_state.recordUnderEdit.clear();
        m_state.recordUnderEdit.copyFrom(*m_state.undo.last());
        if (addRecordUnderEdit()) {
            m_state.undo.removeAtPosition(m_state.undo.size() - 1);
            selectLastRow();
        }
        m_pane->recomputeStatus();
    }
    setNeedsUndoState(!m_state.undo.isEmpty());
}

void MainWindow::emptyUndo()
{
    m_state.undo.clear();
    setNeedsUndoState(false);
}

void MainWindow::deleteByRange()
{
    const int row = rememberSelection();
    DeleteRangeDialog dialog(m_services, m_state, m_databases);
    if (m_services.dialogRunner().run(dialog) == DeleteRangeDialog::FindButton) {
        WaitCursorGuard busy(m_services.waitCursor());
        if (SortRecordsByDate(m_state.records, m_state.mainSortOrder))
            fillList();
        m_pane->recomputeStatus();
    }
    restoreSelection(row);
}

void MainWindow::dateHeaderTapped(int column)
{
    if (column != 0)
        return;
    RecordListModel &model = m_pane->listModel();
    int image = model.dateHeaderImage();
    if (image == ImageAscending) {
        image = ImageDescending;
        m_state.mainSortOrder = SortDescending;
    } else if (image == ImageDescending) {
        image = ImageAscending;
        m_state.mainSortOrder = SortAscending;
    } else if (m_state.sortedOnce) {
        image = int(m_state.mainSortOrder);
        m_state.mainSortColumn = 0;
    } else {
        image = ImageAscending;
        m_state.mainSortOrder = SortAscending;
        m_state.mainSortColumn = 0;
    }
    model.setDateHeaderImage(image);
    if (m_state.records.isEmpty())
        return;
    WaitCursorGuard busy(m_services.waitCursor());
    if (!SortRecordsByDate(m_state.records, m_state.mainSortOrder))
        return;
    fillList();
    m_state.sortedOnce = true;
}

void MainWindow::viewOptions()
{
    auto dialog = makePlaceholder(m_services, TemplateViewOptions);
    const int code = m_services.dialogRunner().run(*dialog);
    if (code != ViewOptionsOk && code != 1)
        return;
    WaitCursorGuard busy(m_services.waitCursor());
    if (SortRecordsByDate(m_state.records, m_state.mainSortOrder))
        fillList();
    m_pane->recomputeStatus();
}

void MainWindow::runListLoop(int hubTemplate, std::initializer_list<int> changeCodes, int leaveCode,
                             bool &changed)
{
    for (;;) {
        auto hub = makePlaceholder(m_services, hubTemplate);
        const int code = m_services.dialogRunner().run(*hub);
        if (std::find(changeCodes.begin(), changeCodes.end(), code) != changeCodes.end())
            changed = true;
        if (code == leaveCode)
            return;
    }
}

void MainWindow::categoriesLoop()
{
    const int row = rememberSelection();
    runListLoop(TemplateCategories, {CategoriesNew, CategoriesRename, CategoriesDelete},
                CategoriesOk, m_state.categoriesChanged);
    if (m_state.recordsChanged) {
        if (SortRecordsByDate(m_state.records, m_state.mainSortOrder))
            fillList();
        m_state.recordsChanged = false;
    }
    restoreSelection(row);
}

void MainWindow::mileageBookLoop()
{
    const int row = rememberSelection();
    runListLoop(TemplateMileageBook, {BookNew, BookEdit, BookDelete}, 1, m_state.bookChanged);
    restoreSelection(row);
}

void MainWindow::showAndRestoreSelection(int templateId)
{
    const int row = rememberSelection();
    auto dialog = makePlaceholder(m_services, templateId);
    m_services.dialogRunner().run(*dialog);
    restoreSelection(row);
}

void MainWindow::selectLastRow()
{
    m_pane->listView().setFocus();
    m_pane->listView().selectRow(m_pane->listModel().rowCount() - 1);
}

void MainWindow::playHorn()
{
    // Without the sound in the resources nothing is played.
    if (QFile::exists(HornSound))
        m_services.sound().play(HornSound);
}

void MainWindow::exit()
{
    m_databases.writeBackAtExit(m_state.records, m_state.categories, m_state.book,
                                m_state.categoriesChanged, m_state.bookChanged);
    m_state.settings.Sort = m_state.mainSortColumn;
    m_state.settings.SortOrder = m_state.mainSortOrder;
    m_state.settings.save(m_store);
}

} // namespace tripvane
