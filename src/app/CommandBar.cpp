#include "CommandBar.h"

#include "Commands.h"
#include "ControlLayout.h"
#include "Images.h"
#include "StringTable.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

namespace tripvane {

namespace {

enum class Kind {
    TextButton, // a button on the bar
    Menu,       // a drop-down on the bar; the items below belong to it
    MenuItem,   // an item of the last menu
    Separator,  // in the last menu
    BarSeparator,
    ImageButton, // a button on the bar showing an image of the command-bar bitmap
};

struct Item
{
    Kind kind;
    int id = 0;
    int stringId = 0; // the text from the string table, or
    const char *text = nullptr;
    const char *toolTip = nullptr;
    int image = -1;
};

// clang-format off
constexpr Item items[] = {
    {Kind::TextButton, CmdNew, IDS_NEW_BUTTON, nullptr, "New Mileage"},
    {Kind::Menu, CmdMileageMenu, IDS_MILEAGE_MENU},
    {Kind::MenuItem, CmdNew, 0, "New..."},
    {Kind::MenuItem, CmdUndo, 0, "Undo Deleting"},
    {Kind::MenuItem, CmdMileageBook, 0, "Mileage Book..."},
    {Kind::MenuItem, CmdMileageReport, 0, "Mileage Report..."},
    {Kind::MenuItem, CmdExit, 0, "Exit"},
    {Kind::Menu, CmdToolsMenu, IDS_TOOLS_MENU},
    {Kind::MenuItem, CmdEditCategories, 0, "Edit Categories..."},
    {Kind::MenuItem, CmdDeleteByRange, 0, "Delete by Range of Dates..."},
    {Kind::MenuItem, CmdEmptyUndo, 0, "Empty Undo Mileage records"},
    {Kind::Separator},
    {Kind::MenuItem, CmdExportRecords, 0, "Export Mileage records..."},
    {Kind::MenuItem, CmdViewOptions, 0, "View Options..."},
    {Kind::Separator},
    {Kind::MenuItem, CmdAbout, 0, "About"},
    {Kind::Separator},
    {Kind::MenuItem, CmdPrintMileageLog, 0, "Print Mileage Log..."},
    {Kind::BarSeparator},
    {Kind::ImageButton, ButtonCategories, 0, nullptr, "Edit Categories", 0},
    {Kind::ImageButton, ButtonReport, 0, nullptr, "Mileage Report", 1},
    {Kind::ImageButton, ButtonUndo, 0, nullptr, "Undo Deleting", 2},
    {Kind::ImageButton, ButtonMileageBook, 0, nullptr, "Mileage Book", 3},
};
// clang-format on

constexpr int needsTrips[] = {ButtonReport, CmdMileageReport, CmdExportRecords, CmdDeleteByRange,
                              CmdPrintMileageLog};
constexpr int needsUndo[] = {ButtonUndo, CmdUndo, CmdEmptyUndo};
constexpr int enabledByFill[] = {ButtonReport, CmdMileageReport, CmdExportRecords};

const std::vector<QAction *> noActions;

QString textOf(const Item &item)
{
    return item.stringId ? loadString(item.stringId) : QString::fromLatin1(item.text);
}

} // namespace

const std::span<const int> CommandBar::NeedsTrips = needsTrips;
const std::span<const int> CommandBar::NeedsUndo = needsUndo;
const std::span<const int> CommandBar::EnabledByFill = enabledByFill;

CommandBar::CommandBar(QToolBar &bar, std::function<void(int)> dispatch)
    : QObject(&bar)
    , m_dispatch(std::move(dispatch))
{
    bar.clear();
    bar.setToolButtonStyle(Qt::ToolButtonTextOnly);
    // As compact as the handheld's menu bar: everything fits in 240 pixels.
    bar.setStyleSheet(
        QStringLiteral("QToolBar { spacing: 0px; padding: 0px; border: none; }"
                       "QToolBar::separator { width: 6px; }"
                       "QToolButton { padding: 1px 3px; margin: 0px; min-width: 0px; border: none; "
                       "font: 8pt \"MS Sans Serif\"; }"
                       "QToolButton:pressed { background: #c8c8c8; color: black; }"
                       "QToolButton:focus { border: 1px dotted palette(window-text); }"
                       "QToolButton::menu-indicator { image: none; width: 0px; }"));

    QMenu *menu = nullptr;
    QString barMnemonics;
    QString menuMnemonics;
    for (const Item &item : items) {
        switch (item.kind) {
        case Kind::TextButton:
            addAction(bar, item.id, textOf(item))->setToolTip(QString::fromLatin1(item.toolTip));
            break;
        case Kind::Menu: {
            menu = new QMenu(&bar);
            menu->setObjectName(QStringLiteral("menu%1").arg(item.id));
            auto *button = new QToolButton(&bar);
            button->setObjectName(QStringLiteral("command%1").arg(item.id));
            // Alt and the underlined letter open the menu.
            button->setText(withMnemonic(textOf(item), barMnemonics));
            button->setPopupMode(QToolButton::InstantPopup);
            button->setMenu(menu);
            bar.addWidget(button);
            menu->installEventFilter(this);
            m_menuButtons[menu] = button;
            m_menus.push_back(menu);
            menuMnemonics.clear();
            break;
        }
        case Kind::MenuItem:
            addAction(*menu, item.id, withMnemonic(textOf(item), menuMnemonics));
            break;
        case Kind::Separator:
            menu->addSeparator();
            break;
        case Kind::BarSeparator:
            bar.addSeparator();
            break;
        case Kind::ImageButton: {
            QAction *action = addAction(bar, item.id, QString());
            action->setIcon(commandBarImage(item.image));
            action->setToolTip(QString::fromLatin1(item.toolTip));
            if (auto *widget = qobject_cast<QToolButton *>(bar.widgetForAction(action))) {
                widget->setToolButtonStyle(Qt::ToolButtonIconOnly);
                widget->setAccessibleName(action->toolTip());
            }
            break;
        }
        }
    }
    // Tab reaches every button of the bar, not only the pointer, and Enter presses it as
    // Space does.
    for (QToolButton *button : bar.findChildren<QToolButton *>()) {
        button->setFocusPolicy(Qt::TabFocus);
        button->installEventFilter(this);
    }
    // The bar's own button for what does not fit is only shown on a narrow bar.
    if (auto *more = bar.findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More commands"));
}

void CommandBar::takeKeysFrom(QWidget &page)
{
    // Ctrl+N is shown beside "New..." and works while the main window shows: a dialog on top
    // hides the page and with it the key.
    QAction *newTrip = actions(CmdNew).back();
    newTrip->setShortcut(QKeySequence::New);
    page.addAction(newTrip);
    // Ctrl+P is not shown in Tools: beside the longest item it would push the menu past the
    // screen's edge.
    auto *printKey = new QShortcut(QKeySequence::Print, &page);
    connect(printKey, &QShortcut::activated, actions(CmdPrintMileageLog).back(), &QAction::trigger);
    // F10 opens the first menu, as a menu bar does.
    auto *menuKey = new QShortcut(QKeySequence(Qt::Key_F10), &page);
    connect(
        menuKey, &QShortcut::activated, this, [this] { openMenu(0); }, Qt::QueuedConnection);
}

void CommandBar::openMenu(std::size_t index)
{
    if (index < m_menus.size())
        m_menuButtons.at(m_menus[index])->showMenu();
}

QAction *CommandBar::addAction(QWidget &owner, int id, const QString &text)
{
    auto *action = new QAction(text, &owner);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    connect(action, &QAction::triggered, this, [this, id] { m_dispatch(id); });
    owner.addAction(action);
    m_actions[id].push_back(action);
    return action;
}

bool CommandBar::eventFilter(QObject *watched, QEvent *event)
{
    if (auto *pressed = qobject_cast<QToolButton *>(watched)) {
        const auto *key =
            event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event) : nullptr;
        if (!key || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter))
            return false;
        if (pressed->menu())
            pressed->showMenu();
        else
            pressed->click();
        return true;
    }
    auto *menu = qobject_cast<QMenu *>(watched);
    const auto button = m_menuButtons.find(menu);
    if (button == m_menuButtons.end())
        return false;
    if (event->type() == QEvent::Show) {
        // As on the handheld, a menu of the bottom bar opens upward, inside the screen.
        const QWidget *screen = button->second->window();
        const QPoint corner = button->second->mapToGlobal(QPoint(0, 0));
        const int right = screen->mapToGlobal(QPoint(screen->width(), 0)).x();
        menu->move(std::min(corner.x(), right - menu->width()), corner.y() - menu->height());
    } else if (event->type() == QEvent::KeyPress) {
        // Left and Right go on to the neighbouring menu, as in a menu bar.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            const auto at = std::find(m_menus.begin(), m_menus.end(), menu) - m_menus.begin();
            const std::size_t count = m_menus.size();
            const std::size_t next =
                (std::size_t(at) + (key == Qt::Key_Right ? 1 : count - 1)) % count;
            menu->close();
            QMetaObject::invokeMethod(
                this, [this, next] { openMenu(next); }, Qt::QueuedConnection);
            return true;
        }
    } else if (event->type() == QEvent::Hide) {
        // The pointer left for the menu: the button must not stay lit.
        button->second->setAttribute(Qt::WA_UnderMouse, false);
        button->second->update();
    }
    return false;
}

const std::vector<QAction *> &CommandBar::actions(int id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? noActions : found->second;
}

bool CommandBar::isEnabled(int id) const
{
    const auto &list = actions(id);
    return !list.empty() && list.front()->isEnabled();
}

void CommandBar::setEnabled(std::span<const int> ids, bool enabled)
{
    for (int id : ids)
        for (QAction *action : actions(id))
            action->setEnabled(enabled);
}

} // namespace tripvane
