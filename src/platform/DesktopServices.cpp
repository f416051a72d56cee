#include "Services.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QInputMethod>
#include <QMessageBox>
#include <QProcess>
#include <QSoundEffect>
#include <QUrl>

namespace tripvane {

namespace {

class QtMessageBoxes final : public MessageBoxes
{
public:
    MessageAnswer show(const MessageBoxRequest &request) override
    {
        QMessageBox box(request.icon == MessageIcon::Stop ? QMessageBox::Critical
                                                          : QMessageBox::Warning,
                        request.caption, request.text);
        if (request.buttons == MessageButtons::YesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MessageAnswer::Ok;
    }
};

class QtInputPanel final : public InputPanel
{
public:
    void show() override
    {
        m_shown = true;
        QGuiApplication::inputMethod()->show();
    }
    void hide() override
    {
        m_shown = false;
        QGuiApplication::inputMethod()->hide();
    }
    bool isShown() const override { return m_shown; }

private:
    bool m_shown = false;
};

class QtBeeper final : public Beeper
{
public:
    void beep() override { QApplication::beep(); }
};

class QtSound final : public Sound
{
public:
    void play(const QString &resourcePath) override
    {
        // Made at the first horn: starting the audio system can take seconds, which a start of
        // the program should not wait for.
        if (!m_effect)
            m_effect = std::make_unique<QSoundEffect>();
        // With no audio device the effect "plays" forever; never wait for its end.
        m_effect->setSource(QUrl(QStringLiteral("qrc") + resourcePath));
        m_effect->play();
    }

private:
    std::unique_ptr<QSoundEffect> m_effect;
};

class ProcessHelpViewer final : public HelpViewer
{
public:
    explicit ProcessHelpViewer(const QString &programFolder)
        : m_viewer(QDir(programFolder).filePath(QStringLiteral("peghelp")))
    {}
    bool open(const QString &commandLine) override
    {
        return QProcess::startDetached(m_viewer, {commandLine});
    }

private:
    QString m_viewer;
};

class SystemClock final : public Clock
{
public:
    SystemTime nowUtc() const override
    {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        SystemTime time;
        time.year = static_cast<std::uint16_t>(now.date().year());
        time.month = static_cast<std::uint16_t>(now.date().month());
        time.dayOfWeek = static_cast<std::uint16_t>(now.date().dayOfWeek() % 7);
        time.day = static_cast<std::uint16_t>(now.date().day());
        time.hour = static_cast<std::uint16_t>(now.time().hour());
        time.minute = static_cast<std::uint16_t>(now.time().minute());
        time.second = static_cast<std::uint16_t>(now.time().second());
        time.milliseconds = static_cast<std::uint16_t>(now.time().msec());
        return time;
    }
};

class OverrideWaitCursor final : public WaitCursor
{
public:
    void show() override
    {
        if (m_shown)
            return;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_shown = true;
    }
    void restore() override
    {
        if (!m_shown)
            return;
        QGuiApplication::restoreOverrideCursor();
        m_shown = false;
    }
    bool isShown() const override { return m_shown; }

private:
    bool m_shown = false;
};

class ModalDialogRunner final : public DialogRunner
{
public:
    int run(FramePage &page) override { return page.pageDialog().exec(); }
};

} // namespace

std::unique_ptr<HelpViewer> makeProgramHelpViewer(const QString &programFolder)
{
    return std::make_unique<ProcessHelpViewer>(programFolder);
}

std::unique_ptr<Services> makeDesktopServices()
{
    Services::Parts parts;
    parts.messageBoxes = std::make_unique<QtMessageBoxes>();
    parts.inputPanel = std::make_unique<QtInputPanel>();
    parts.beeper = std::make_unique<QtBeeper>();
    parts.sound = std::make_unique<QtSound>();
    parts.helpViewer = makeProgramHelpViewer(QCoreApplication::applicationDirPath());
    parts.clock = std::make_unique<SystemClock>();
    parts.waitCursor = std::make_unique<OverrideWaitCursor>();
    parts.dialogRunner = std::make_unique<ModalDialogRunner>();
    return std::make_unique<Services>(std::move(parts));
}

} // namespace tripvane
