#pragma once

#include "Commands.h"
#include "StatusPane.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <vector>

class QAction;
class QWidget;

namespace tripvane {

class Databases;
class DeviceFrame;
class ObjectStore;
class Services;

struct ProgramState;

// The main window: the command bar, the status pane with the record list, the screen
// changes, the dispatch of commands, the menu states and the exit.
class MainWindow final : public QObject
{
    Q_OBJECT

public:
    MainWindow(Services &services, ProgramState &state, ObjectStore &store, Databases &databases,
               DeviceFrame &frame);
    ~MainWindow() override;

    // The window creation of the design; false when the program cannot go on.
    bool create();
    void command(int id);
    // Saves everything in the designed order; the program calls it once, when the frame closes.
    void exit();

    StatusPane *pane() const { return m_pane; }
    bool isCommandEnabled(int id) const;
    // The actions of a command: a menu item, a command-bar button, or both for "New".
    const std::vector<QAction *> &actions(int id) const;

    // Menu states of the two command groups.
    void setNeedsRecordsState(bool hasRecords);
    void setNeedsUndoState(bool hasUndo);

private:
    void setCommandsEnabled(std::initializer_list<int> ids, bool enabled);
    void newRecord();
    // Stores the record under edit as a new trip with a key of its own and lists it last.
    bool addRecordUnderEdit();
    void editSelectedRecord();
    // Shows the record dialog, and the Mileage Book picker whenever it ends with Book, until
    // it ends otherwise; returns that end code.
    int runRecordDialog();
    void undo();
    void emptyUndo();
    void deleteByRange();
    void dateHeaderTapped(int column);
    void viewOptions();
    // A dialog that manages a list runs until it ends with its leave code; the codes of its
    // changes set the flag that makes the exit rewrite the list's database.
    void runListLoop(int hubTemplate, std::initializer_list<int> changeCodes, int leaveCode,
                     bool &changed);
    void categoriesLoop();
    void mileageBookLoop();
    void showAndRestoreSelection(int templateId);
    void playHorn();
    void selectLastRow();
    void buildCommandBar();
    QAction *addCommand(QWidget *owner, int id, const QString &text);
    void relayout();
    void placePane();
    // Sorts by the main order and fills the list, as at creation and after a screen change.
    bool sortAndFill();
    void fillList();
    void help();
    int rememberSelection() const;
    void restoreSelection(int row);

    Services &m_services;
    ProgramState &m_state;
    ObjectStore &m_store;
    Databases &m_databases;
    DeviceFrame &m_frame;
    QPointer<QWidget> m_page;
    QPointer<StatusPane> m_pane;
    std::map<int, std::vector<QAction *>> m_actions;
};

} // namespace tripvane
