#include "DeviceFrame.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace tripvane {

DeviceFrame::DeviceFrame(QWidget *parent) : QWidget(parent)
{
    auto *topBar = new QWidget(this);
    topBar->setObjectName(QStringLiteral("topBar"));
    topBar->setAutoFillBackground(true);
    QPalette topPalette = topBar->palette();
    topPalette.setColor(QPalette::Window, QColor(0, 0, 128));
    topPalette.setColor(QPalette::WindowText, Qt::white);
    topBar->setPalette(topPalette);

    m_caption = new QLabel(topBar);
    m_okButton = new QPushButton(QStringLiteral("ok"), topBar);
    m_okButton->setVisible(false);
    connect(m_okButton, &QPushButton::clicked, this, &DeviceFrame::okClicked);

    auto *topLayout = new QHBoxLayout(topBar);
    topLayout->setContentsMargins(4, 2, 4, 2);
    topLayout->addWidget(m_caption, 1);
    topLayout->addWidget(m_okButton);

    m_content = new QStackedWidget(this);
    m_commandBar = new QToolBar(this);
    m_commandBar->setObjectName(QStringLiteral("commandBar"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(topBar);
    layout->addWidget(m_content, 1);
    layout->addWidget(m_commandBar);

    resize(PortraitScreen);
}

void DeviceFrame::setCaption(const QString &caption)
{
    m_caption->setText(caption);
    setWindowTitle(caption);
}

void DeviceFrame::setOkButtonVisible(bool visible)
{
    m_okButton->setVisible(visible);
}

void DeviceFrame::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit screenChanged();
}

void DeviceFrame::closeEvent(QCloseEvent *event)
{
    emit closeRequested();
    event->accept();
}

} // namespace tripvane
