#pragma once

#include "DeviceRoot.h"
#include "ScreenZoom.h"

#include <memory>

namespace tripvane {

class Databases;
class DeviceFrame;
class MainWindow;
class ObjectStore;
class Services;
class SingleInstance;
class TripLog;
struct ProgramState;

// mileagelog from start to exit: one instance per device, the databases opened, the main
// window made, and everything saved when the frame closes.
class Program final
{
public:
    // The zoom's settings file is the desktop's (ScreenZoom::defaultSettingsFile) unless given.
    Program(Services &services, DeviceRoot device, QString zoomSettings = {});
    ~Program();

    // The instance start of the design. False when the program must end: another instance
    // runs (it was brought forward), or the databases or the main window could not be made.
    bool start();

    DeviceFrame *frame() const { return m_frame.get(); }
    MainWindow *mainWindow() const { return m_mainWindow.get(); }
    ProgramState &state() { return *m_state; }
    ObjectStore &store() { return *m_store; }
    Databases *databases() const { return m_databases.get(); }
    TripLog &log() { return *m_log; }
    const DeviceRoot &device() const { return m_device; }
    bool hasExited() const { return m_exited; }
    // A new zoom takes effect in a new start, after this one's normal exit.
    bool restartRequested() const { return m_restart; }
    // A close asked from outside (another program, a logout): a dialog still open is left
    // as its Cancel leaves it, then the program closes through its normal exit.
    void requestClose();

private:
    void exit();
    void installHelpFiles() const;
    void zoom(int step);
    void lowerZoomThatNoLongerFits();

    Services &m_services;
    DeviceRoot m_device;
    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<ObjectStore> m_store;
    std::unique_ptr<Databases> m_databases;
    std::unique_ptr<TripLog> m_log;
    std::unique_ptr<DeviceFrame> m_frame;
    std::unique_ptr<MainWindow> m_mainWindow;
    bool m_exited = false;
    bool m_restart = false;
    ScreenZoom m_zoom;
};

} // namespace tripvane
