#pragma once

#include "Commands.h"
#include "StatusPane.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QWidget;

namespace tripvane {

class CommandBar;
class DeviceFrame;
class ExportFlow;
class MileageBookFlow;
class ObjectStore;
class ReportFlow;
class Services;
class Shell;
class TripLog;
class TripsFlow;

struct ProgramState;

// The main window: made at start-up, laid out again on every screen change, and saved at exit.
// Commands go to the flow of their feature through one table.
class MainWindow final : public QObject
{
    Q_OBJECT

public:
    MainWindow(Services &services, ProgramState &state, TripLog &log, ObjectStore &store,
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

    // The features that keep something for the run.
    const TripsFlow &trips() const { return *m_trips; }
    const MileageBookFlow &book() const { return *m_book; }
    const ReportFlow &report() const { return *m_report; }
    const ExportFlow &exports() const { return *m_exports; }

private:
    void buildDispatch();
    void relayout();
    void placePane();
    // Sorts by the saved order with its header image and fills the list, as at creation and
    // after a screen change.
    bool sortAndFill();
    void help();

    Services &m_services;
    ProgramState &m_state;
    TripLog &m_log;
    ObjectStore &m_store;
    DeviceFrame &m_frame;
    QPointer<QWidget> m_page;
    QPointer<StatusPane> m_pane;
    CommandBar *m_commands = nullptr;
    std::unique_ptr<Shell> m_shell;
    std::unique_ptr<MileageBookFlow> m_book;
    std::unique_ptr<TripsFlow> m_trips;
    std::unique_ptr<ExportFlow> m_exports;
    std::unique_ptr<ReportFlow> m_report;
    std::map<int, std::function<void()>> m_dispatch;
};

} // namespace tripvane
