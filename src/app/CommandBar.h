#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <span>
#include <vector>

class QAction;
class QMenu;
class QToolBar;
class QToolButton;

namespace tripvane {

// The command bar of the main window, built from one table: the "New" button, the Mileage and
// Tools menus, and the four image buttons with their tool tips.
class CommandBar final : public QObject
{
    Q_OBJECT

public:
    // Commands that need trips in the log, and those that need deletions to undo.
    static const std::span<const int> NeedsTrips;
    static const std::span<const int> NeedsUndo;
    // The list fill sets only these: Delete by Range keeps its state, as designed.
    static const std::span<const int> EnabledByFill;

    CommandBar(QToolBar &bar, std::function<void(int)> dispatch);

    // A command's actions: a menu item, a button, or both for "New".
    const std::vector<QAction *> &actions(int id) const;
    bool isEnabled(int id) const;
    // The keys of the bar, for the page of the main window: Ctrl+N, and F10 for the menus.
    void takeKeysFrom(QWidget &page);
    void setEnabled(std::span<const int> ids, bool enabled);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openMenu(std::size_t index);
    QAction *addAction(QWidget &owner, int id, const QString &text);

    std::function<void(int)> m_dispatch;
    std::map<int, std::vector<QAction *>> m_actions;
    std::map<QMenu *, QToolButton *> m_menuButtons;
    std::vector<QMenu *> m_menus; // in the bar's order
};

} // namespace tripvane
