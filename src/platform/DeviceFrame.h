#pragma once

#include <QSize>
#include <QWidget>

class QLabel;
class QPushButton;
class QStackedWidget;
class QToolBar;

namespace tripvane {

// The handheld's screen: the top-level window. Its size is the screen size; a top bar shows the
// caption of whatever is on top (with an "ok" button for dialogs that ask for it), the content
// area holds the main window's pane or a full-screen dialog, the bottom bar is the command bar.
class DeviceFrame final : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize PortraitScreen{240, 320};

    explicit DeviceFrame(QWidget *parent = nullptr);

    QStackedWidget *contentArea() const { return m_content; }
    QToolBar *commandBar() const { return m_commandBar; }
    void setCaption(const QString &caption);
    void setOkButtonVisible(bool visible);

    // The layout test of the whole program: exactly 240 x 320 is portrait, all else wide.
    bool isPortrait() const { return size() == PortraitScreen; }

signals:
    void okClicked();
    void screenChanged();
    void closeRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_caption = nullptr;
    QPushButton *m_okButton = nullptr;
    QStackedWidget *m_content = nullptr;
    QToolBar *m_commandBar = nullptr;
};

} // namespace tripvane
