#pragma once

#include "FramePage.h"
#include "SystemTime.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <memory>

namespace tripvane {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { Exclamation, Stop };
enum class MessageAnswer { Ok, Yes, No };

struct MessageBoxRequest
{
    QString caption;
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Exclamation;
};

class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(const MessageBoxRequest &request) = 0;
    // Closes the box on top as its No or OK, so that the program can end; false when no box is
    // open.
    virtual bool closeOpen() { return false; }
    // The program is ending on a termination: the open boxes close so, and later ones are
    // answered so at once, without waiting for a user who is gone.
    virtual void endAll() {}
};

class InputPanel
{
public:
    virtual ~InputPanel() = default;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual bool isShown() const = 0;
};

class Beeper
{
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

class Sound
{
public:
    virtual ~Sound() = default;
    // Plays a WAV from the Qt resources without waiting for its end.
    virtual void play(const QString &resourcePath) = 0;
};

class HelpViewer
{
public:
    virtual ~HelpViewer() = default;
    // The whole command line handed to the help viewer, e.g. "file:tripvaneppc.htm#Navigating";
    // false when the viewer could not be started.
    virtual bool open(const QString &commandLine) = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    // What keys are made from.
    virtual SystemTime nowUtc() const = 0;
    // The date a person at this desk calls today: every date shown or offered starts here.
    virtual SystemTime localToday() const = 0;
};

// The computer's own clock, for both programs.
class SystemClock final : public Clock
{
public:
    SystemTime nowUtc() const override;
    SystemTime localToday() const override;
};

// Not a stack: like the handheld's cursor, one restore ends every pending show.
class WaitCursor
{
public:
    virtual ~WaitCursor() = default;
    virtual void show() = 0;
    virtual void restore() = 0;
    virtual bool isShown() const = 0;
};

class DialogRunner
{
public:
    virtual ~DialogRunner() = default;
    // Runs the page's dialog modally and returns the id of the control that ended it.
    virtual int run(FramePage &page) = 0;
};

// The handheld's screen size. The device frame keeps it up to date; every dialog and pane
// chooses its layout by it. Exactly 240 x 320 is the portrait layout, every other size wide.
class Screen final : public QObject
{
    Q_OBJECT

public:
    static constexpr QSize Portrait{240, 320};

    QSize size() const { return m_size; }
    bool isPortrait() const { return m_size == Portrait; }
    void setSize(QSize size)
    {
        if (size == m_size)
            return;
        m_size = size;
        emit changed();
    }

signals:
    void changed();

private:
    QSize m_size = Portrait;
};

// Every platform effect of the program goes through this one object: main() fills it with the
// real implementations, the testkit with recording ones.
class Services final
{
public:
    struct Parts
    {
        std::unique_ptr<MessageBoxes> messageBoxes;
        std::unique_ptr<InputPanel> inputPanel;
        std::unique_ptr<Beeper> beeper;
        std::unique_ptr<Sound> sound;
        std::unique_ptr<HelpViewer> helpViewer;
        std::unique_ptr<Clock> clock;
        std::unique_ptr<WaitCursor> waitCursor;
        std::unique_ptr<DialogRunner> dialogRunner;
    };

    explicit Services(Parts parts);
    ~Services();

    MessageBoxes &messageBoxes() { return *m_parts.messageBoxes; }
    InputPanel &inputPanel() { return *m_parts.inputPanel; }
    Beeper &beeper() { return *m_parts.beeper; }
    Sound &sound() { return *m_parts.sound; }
    HelpViewer &helpViewer() { return *m_parts.helpViewer; }
    const Clock &clock() const { return *m_parts.clock; }
    WaitCursor &waitCursor() { return *m_parts.waitCursor; }
    DialogRunner &dialogRunner() { return *m_parts.dialogRunner; }
    Screen &screen() { return m_screen; }
    // The runner of full-screen dialogs can be replaced once the frame that shows them exists.
    void setDialogRunner(std::unique_ptr<DialogRunner> runner)
    {
        m_parts.dialogRunner = std::move(runner);
    }

    // A box with no owner and the product name as caption. The wait cursor goes first, so a
    // message never appears under a busy cursor.
    MessageAnswer message(const QString &text, MessageIcon icon,
                          MessageButtons buttons = MessageButtons::Ok);
    MessageAnswer message(int stringId, MessageIcon icon,
                          MessageButtons buttons = MessageButtons::Ok);
    // The help file at a section, or its contents for no section; the user is told when the
    // viewer cannot be started.
    void openHelp(const QString &anchor);

private:
    Parts m_parts;
    Screen m_screen;
};

// Shows the wait cursor for a scope. A message inside the scope removes it early.
class WaitCursorGuard final
{
public:
    explicit WaitCursorGuard(WaitCursor &cursor)
        : m_cursor(cursor)
    {
        m_cursor.show();
    }
    ~WaitCursorGuard() { m_cursor.restore(); }
    WaitCursorGuard(const WaitCursorGuard &) = delete;
    WaitCursorGuard &operator=(const WaitCursorGuard &) = delete;

private:
    WaitCursor &m_cursor;
};

std::unique_ptr<Services> makeDesktopServices();
// The handheld's message boxes on the desktop, for tests that need a real one.
std::unique_ptr<MessageBoxes> makeDesktopMessageBoxes();
// The help viewer "peghelp" from the folder the programs are installed in.
std::unique_ptr<HelpViewer> makeProgramHelpViewer(const QString &programFolder);

} // namespace tripvane
