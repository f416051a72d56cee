#include "ProgramFolders.h"
#include "Services.h"

#include <QApplication>
#include <QAudioDevice>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputMethod>
#include <QLabel>
#include <QMediaDevices>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSoundEffect>
#include <QStyle>
#include <QUrl>

namespace tripvane {

namespace {

// The handheld's message box: no wider than its screen and centred on it, with the answer
// buttons of the request (No is the default of a question).
class QtMessageBoxes final : public MessageBoxes
{
public:
    MessageAnswer show(const MessageBoxRequest &request) override
    {
        const bool question = request.buttons == MessageButtons::YesNo;
        if (m_ending)
            return question ? MessageAnswer::No : MessageAnswer::Ok;
        QWidget *screen = nullptr;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->objectName() == QLatin1String("deviceFrame"))
                screen = window;
        QDialog box(screen);
        box.setWindowTitle(request.caption);
        auto *icon = new QLabel(&box);
        const QStyle::StandardPixmap pixmap = request.icon == MessageIcon::Stop
                                                  ? QStyle::SP_MessageBoxCritical
                                                  : QStyle::SP_MessageBoxWarning;
        icon->setPixmap(box.style()->standardIcon(pixmap).pixmap(32, 32));
        auto *text = new QLabel(request.text, &box);
        text->setObjectName(QStringLiteral("messageText"));
        text->setWordWrap(true);
        auto *buttons = new QDialogButtonBox(
            question ? QDialogButtonBox::Yes | QDialogButtonBox::No : QDialogButtonBox::Ok, &box);
        buttons->button(question ? QDialogButtonBox::No : QDialogButtonBox::Ok)->setDefault(true);
        QObject::connect(buttons, &QDialogButtonBox::clicked, &box, [&](QAbstractButton *b) {
            box.done(buttons->standardButton(b) == QDialogButtonBox::Yes ? 1 : 0);
        });
        auto *layout = new QGridLayout(&box);
        layout->addWidget(icon, 0, 0, Qt::AlignTop);
        layout->addWidget(text, 0, 1);
        layout->addWidget(buttons, 1, 0, 1, 2);
        // Room for the window's own border inside the screen.
        const int width = (screen ? screen->width() : Screen::Portrait.width()) - 16;
        // Wide enough for its caption too, beside the title bar's icon and three buttons: window
        // managers set captions larger and bold, which the box's own font does not tell.
        QFont titleFont = box.font();
        titleFont.setBold(true);
        titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
        const int captionWidth = QFontMetrics(titleFont).horizontalAdvance(request.caption) + 128;
        box.setFixedWidth(std::min(width, std::max(box.sizeHint().width(), captionWidth)));
        box.setFixedHeight(box.heightForWidth(box.width()) > 0 ? box.heightForWidth(box.width())
                                                               : box.sizeHint().height());
        const QRect area = screen ? screen->geometry() : QApplication::primaryScreen()->geometry();
        box.move(area.center() - QPoint(box.width() / 2, box.height() / 2));
        m_open.push_back(&box);
        const int answer = box.exec();
        m_open.pop_back();
        return question ? (answer == 1 ? MessageAnswer::Yes : MessageAnswer::No)
                        : MessageAnswer::Ok;
    }

    bool closeOpen() override
    {
        if (m_open.empty())
            return false;
        m_open.back()->done(0);
        return true;
    }

    void endAll() override
    {
        m_ending = true;
        for (QDialog *box : m_open)
            box->done(0);
    }

private:
    std::vector<QDialog *> m_open; // a box may open while another one waits under it
    bool m_ending = false;
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
        if (!m_probed) {
            m_probed = true;
            // Without a device the audio system would complain at every start and horn; one
            // line says it all.
            const QtMessageHandler previous = qInstallMessageHandler(
                [](QtMsgType, const QMessageLogContext &, const QString &) {});
            const bool silent = QMediaDevices::audioOutputs().isEmpty();
            qInstallMessageHandler(previous);
            if (silent)
                qInfo("mileagelog: no audio device, the horn is not played");
            else
                m_effect = std::make_unique<QSoundEffect>();
        }
        if (!m_effect)
            return;
        // With no audio device the effect "plays" forever; never wait for its end.
        m_effect->setSource(QUrl(QStringLiteral("qrc") + resourcePath));
        m_effect->play();
    }

private:
    bool m_probed = false;
    std::unique_ptr<QSoundEffect> m_effect;
};

// One viewer for the program: a later F1 sends its section to the open viewer (one line on its
// input), which shows it and comes forward. The viewer ends with the program.
class ProcessHelpViewer final : public HelpViewer
{
public:
    explicit ProcessHelpViewer(const QString &programFolder)
        : m_viewer(fellowProgram(programFolder, QStringLiteral("peghelp")))
    {}
    ~ProcessHelpViewer() override
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel(); // the viewer ends at the end of its input
        if (!m_process.waitForFinished(1000))
            m_process.kill();
    }
    bool open(const QString &commandLine) override
    {
        if (m_process.state() == QProcess::Running) {
            m_process.write(commandLine.toUtf8() + '\n');
            return true;
        }
        m_process.setProgram(m_viewer);
        m_process.setArguments({commandLine});
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start();
        return m_process.waitForStarted();
    }

private:
    QString m_viewer;
    QProcess m_process;
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

std::unique_ptr<MessageBoxes> makeDesktopMessageBoxes()
{
    return std::make_unique<QtMessageBoxes>();
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
