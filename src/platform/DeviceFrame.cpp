#include "DeviceFrame.h"

#include "Services.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace tripvane {

DeviceFrame::DeviceFrame(Screen &screen, QWidget *parent)
    : QWidget(parent)
    , m_screen(screen)
{
    setObjectName(QStringLiteral("deviceFrame"));
    auto *topBar = new QWidget(this);
    topBar->setObjectName(QStringLiteral("topBar"));
    topBar->setFixedHeight(BarHeight);
    topBar->setAutoFillBackground(true);
    QPalette topPalette = topBar->palette();
    topPalette.setColor(QPalette::Window, QColor(0, 0, 128));
    topPalette.setColor(QPalette::WindowText, Qt::white);
    topBar->setPalette(topPalette);

    m_caption = new QLabel(topBar);
    QFont captionFont = m_caption->font();
    captionFont.setBold(true);
    m_caption->setFont(captionFont);
    m_okButton = new QPushButton(QStringLiteral("ok"), topBar);
    m_okButton->setObjectName(QStringLiteral("shellOk"));
    m_okButton->setFixedSize(36, 20);
    m_okButton->setFocusPolicy(Qt::NoFocus);
    m_okButton->setVisible(false);
    connect(m_okButton, &QPushButton::clicked, this, &DeviceFrame::clickOk);

    auto *topLayout = new QHBoxLayout(topBar);
    topLayout->setContentsMargins(6, 2, 4, 2);
    topLayout->addWidget(m_caption, 1);
    topLayout->addWidget(m_okButton);

    m_content = new QStackedWidget(this);
    // The bar keeps its height whatever the tool bar's style makes of it.
    m_commandArea = new QWidget(this);
    m_commandArea->setFixedHeight(BarHeight);
    m_commandBar = new QToolBar(m_commandArea);
    m_commandBar->setObjectName(QStringLiteral("commandBar"));
    auto *commandLayout = new QHBoxLayout(m_commandArea);
    commandLayout->setContentsMargins(0, 0, 0, 0);
    commandLayout->addWidget(m_commandBar);
    m_commandBar->setIconSize(QSize(16, 16));
    m_commandBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_commandBar->setMovable(false);
    m_commandBar->setFloatable(false);
    m_commandBar->setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(topBar);
    layout->addWidget(m_content, 1);
    layout->addWidget(m_commandArea);

    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, &DeviceFrame::helpRequested);
    auto *rotateKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
    rotateKey->setContext(Qt::WindowShortcut);
    connect(rotateKey, &QShortcut::activated, this, &DeviceFrame::rotate);
    // Ctrl+= too: on most keyboards "+" needs Shift.
    const std::pair<QKeySequence, int> zoomKeys[] = {{QKeySequence::ZoomIn, 1},
                                                     {QKeySequence(Qt::CTRL | Qt::Key_Equal), 1},
                                                     {QKeySequence::ZoomOut, -1}};
    for (const auto &[keys, step] : zoomKeys) {
        auto *zoom = new QShortcut(keys, this);
        zoom->setContext(Qt::WindowShortcut);
        connect(zoom, &QShortcut::activated, this,
                [this, step = step] { emit zoomRequested(step); });
    }

    setScreenSize(m_screen.size());
}

void DeviceFrame::setScreenSize(QSize size)
{
    // A handheld's screen is not dragged to other sizes: it only turns.
    setFixedSize(size);
}

void DeviceFrame::setMainPage(QWidget *page, const QString &caption)
{
    m_mainPage = page;
    m_mainCaption = caption;
    m_content->insertWidget(0, page);
    showTop();
}

void DeviceFrame::pushPage(FramePage &page)
{
    m_pages.push_back(&page);
    m_content->addWidget(&page.pageDialog());
    showTop();
}

void DeviceFrame::popPage(FramePage &page)
{
    std::erase(m_pages, &page);
    m_content->removeWidget(&page.pageDialog());
    showTop();
}

void DeviceFrame::showTop()
{
    FramePage *top = topDialog();
    const QString caption = top ? top->pageDialog().windowTitle() : m_mainCaption;
    m_caption->setText(caption);
    setWindowTitle(caption);
    m_okButton->setVisible(top != nullptr);
    // The command bar belongs to the main window; a full-screen dialog hides it.
    m_commandArea->setVisible(!top);
    if (QWidget *shown = top ? &top->pageDialog() : m_mainPage)
        m_content->setCurrentWidget(shown);
}

QString DeviceFrame::caption() const
{
    return m_caption->text();
}

void DeviceFrame::clickOk()
{
    // The title-bar OK arrives at the dialog on top as command 1.
    if (FramePage *top = topDialog())
        top->pageCommand(TitleBarOkCommand);
}

void DeviceFrame::rotate()
{
    const QSize decorations = frameGeometry().size() - size();
    const QSize turned = size().transposed();
    if (isVisible() && screen()) {
        const QSize available = screen()->availableGeometry().size();
        if (turned.width() + decorations.width() > available.width() ||
            turned.height() + decorations.height() > available.height())
            return;
    }
    setScreenSize(turned);
    if (isVisible())
        keepOnScreen();
}

void DeviceFrame::keepOnScreen()
{
    const QRect placed = frameGeometry();
    const QScreen *holder = QGuiApplication::screenAt(placed.center());
    if (!holder)
        holder = screen();
    if (!holder)
        return;
    const QRect available = holder->availableGeometry();
    QRect moved = placed;
    moved.moveRight(std::min(moved.right(), available.right()));
    moved.moveBottom(std::min(moved.bottom(), available.bottom()));
    moved.moveLeft(std::max(moved.left(), available.left()));
    moved.moveTop(std::max(moved.top(), available.top()));
    if (moved.topLeft() != placed.topLeft())
        move(moved.topLeft());
}

void DeviceFrame::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_screen.setSize(size());
}

void DeviceFrame::closeEvent(QCloseEvent *event)
{
    // The window's close button while a dialog is open: the dialog goes first, as it does for
    // a close request from outside, and the frame closes once nothing is open.
    if (hasDialogOpen()) {
        event->ignore();
        emit closeWhileDialogOpen();
        return;
    }
    emit closeRequested();
    event->accept();
}

void DeviceFrame::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        emit activated();
}

} // namespace tripvane
