#pragma once

// The testkit: recording versions of every platform service, for GoogleTest files inside or
// outside this project. Link the target `tripvane_testkit` (it brings its own main(), which
// picks the offscreen platform when QT_QPA_PLATFORM is unset) and build a TestServices:
//
//     tripvane::TestServices kit;
//     kit.messageBoxes.expect(tripvane::MessageAnswer::Yes);   // script the next answer
//     runSomething(kit.services());
//     EXPECT_EQ(kit.messageBoxes.shown.at(0).request.text, "...");
//
// A message box that no answer was scripted for fails the running test instead of blocking.

#include "Services.h"

#include <QDialog>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace tripvane {

class RecordingWaitCursor final : public WaitCursor
{
public:
    void show() override
    {
        m_shown = true;
        ++showCount;
    }
    void restore() override { m_shown = false; }
    bool isShown() const override { return m_shown; }

    int showCount = 0;

private:
    bool m_shown = false;
};

class RecordingMessageBoxes final : public MessageBoxes
{
public:
    struct Shown
    {
        MessageBoxRequest request;
        bool underWaitCursor = false;
    };

    explicit RecordingMessageBoxes(const WaitCursor &cursor) : m_cursor(cursor) {}
    MessageAnswer show(const MessageBoxRequest &request) override;

    void expect(MessageAnswer answer) { scripted.push_back(answer); }
    QStringList texts() const;

    std::deque<MessageAnswer> scripted;
    std::vector<Shown> shown;

private:
    const WaitCursor &m_cursor;
};

class RecordingInputPanel final : public InputPanel
{
public:
    void show() override
    {
        m_shown = true;
        history.push_back(true);
    }
    void hide() override
    {
        m_shown = false;
        history.push_back(false);
    }
    bool isShown() const override { return m_shown; }

    std::vector<bool> history;

private:
    bool m_shown = false;
};

class RecordingBeeper final : public Beeper
{
public:
    void beep() override { ++count; }
    int count = 0;
};

class RecordingSound final : public Sound
{
public:
    void play(const QString &resourcePath) override { played.append(resourcePath); }
    QStringList played;
};

class RecordingHelpViewer final : public HelpViewer
{
public:
    void open(const QString &commandLine) override { opened.append(commandLine); }
    QStringList opened;
};

class FixedClock final : public Clock
{
public:
    SystemTime nowUtc() const override { return now; }
    SystemTime now = [] {
        SystemTime t = makeDate(2005, 10, 29);
        t.hour = 14;
        t.minute = 5;
        t.second = 7;
        return t;
    }();
};

// Modal dialogs do not spin event loops here: the runner hands the open dialog to the next
// scripted callback, which acts on it and ends it, and returns its end code.
class ScriptedDialogRunner final : public DialogRunner
{
public:
    using Script = std::function<void(QDialog &)>;
    int run(QDialog &dialog) override;
    void expect(Script script) { scripts.push_back(std::move(script)); }

    std::deque<Script> scripts;
    int runCount = 0;
};

class TestServices final
{
public:
    TestServices();

    Services &services() { return *m_services; }

    RecordingWaitCursor &waitCursor;
    RecordingMessageBoxes &messageBoxes;
    RecordingInputPanel &inputPanel;
    RecordingBeeper &beeper;
    RecordingSound &sound;
    RecordingHelpViewer &helpViewer;
    FixedClock &clock;
    ScriptedDialogRunner &dialogRunner;

private:
    TestServices(Services::Parts parts, RecordingWaitCursor *cursor);
    std::unique_ptr<Services> m_services;
};

} // namespace tripvane
