#pragma once

#include "FramePage.h"

#include <QSize>
#include <QWidget>

#include <vector>

class QLabel;
class QPushButton;
class QStackedWidget;
class QToolBar;

namespace tripvane {

class Screen;

// The handheld's screen: the top-level window. Its size is the screen size. The top bar shows
// the caption of whatever is on top, with an "ok" button for full-screen dialogs that ask for
// it; the content area holds the main window's pane or the dialog on top; the bottom bar is
// the command bar. Ctrl+R (rotate) is a screen change; the window keeps the screen's size.
class DeviceFrame final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int BarHeight = 26;

    explicit DeviceFrame(Screen &screen, QWidget *parent = nullptr);

    QToolBar *commandBar() const { return m_commandBar; }

    // The main window's client: the first page, under every dialog.
    void setMainPage(QWidget *page, const QString &caption);

    // A full-screen dialog covers the main page until it is popped again.
    void pushPage(FramePage &page);
    void popPage(FramePage &page);
    // The dialog on top, or null when the main page shows.
    FramePage *topDialog() const { return m_pages.empty() ? nullptr : m_pages.back(); }
    bool hasDialogOpen() const { return !m_pages.empty(); }

    QString caption() const;
    void clickOk();
    // The screens of the two layouts, 240 x 320 and 320 x 240: Ctrl+R turns one into the other.
    // A shown window turns only where the turned window fits the desk's screen, and stays on it.
    void rotate();
    // Moves the window as little as it takes to lie wholly on the screen that holds it.
    void keepOnScreen();
    void setScreenSize(QSize size);

signals:
    void helpRequested();
    void closeRequested();
    void closeWhileDialogOpen();
    // Ctrl+plus and Ctrl+minus: the screen shown larger or smaller on the desktop.
    void zoomRequested(int step);
    void activated();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showTop();

    Screen &m_screen;
    QLabel *m_caption = nullptr;
    QPushButton *m_okButton = nullptr;
    QStackedWidget *m_content = nullptr;
    QWidget *m_commandArea = nullptr;
    QToolBar *m_commandBar = nullptr;
    QWidget *m_mainPage = nullptr;
    QString m_mainCaption;
    std::vector<FramePage *> m_pages;
};

} // namespace tripvane
