#pragma once

#include <QObject>

class QSocketNotifier;

namespace tripvane {

// Turns SIGTERM and SIGINT (a logout, Ctrl+C in a terminal) into a request to close through
// the normal exit, so the settings of the run are saved as after any close.
class TerminationSignals final : public QObject
{
    Q_OBJECT

public:
    // Catches the signals before anything else exists (the application object, the store),
    // so that none ends the program by its default action; the object below answers them.
    static void catchFromNowOn();

    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace tripvane
