#include "SetupWindows.h"

#include "Images.h"
#include "SetupStrings.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace tripvane::setup {

namespace {

// The picture of the installer (bitmap 104): a road at dusk leading to a handheld.
QPixmap setupPicture(QSize size)
{
    QPixmap picture(size);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(0x1c, 0x3f, 0x8c));
    sky.setColorAt(0.6, QColor(0xf2, 0xa6, 0x5a));
    sky.setColorAt(1, QColor(0x3a, 0x2a, 0x20));
    painter.fillRect(picture.rect(), sky);
    const qreal w = size.width();
    const qreal h = size.height();
    QPainterPath road;
    road.moveTo(w * 0.42, h * 0.62);
    road.lineTo(w * 0.50, h * 0.62);
    road.lineTo(w * 0.80, h);
    road.lineTo(w * 0.05, h);
    road.closeSubpath();
    painter.fillPath(road, QColor(0x40, 0x40, 0x48));
    painter.setPen(QPen(QColor(0xff, 0xe0, 0x70), 3, Qt::DashLine));
    painter.drawLine(QPointF(w * 0.46, h * 0.63), QPointF(w * 0.43, h));
    // The handheld, with the log on its screen.
    const QRectF device(w * 0.68, h * 0.12, w * 0.22, h * 0.62);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x22, 0x22, 0x28));
    painter.drawRoundedRect(device, 10, 10);
    const QRectF screen = device.adjusted(8, 14, -8, -40);
    painter.setBrush(QColor(0xf4, 0xf4, 0xf0));
    painter.drawRect(screen);
    painter.setPen(QPen(QColor(0x20, 0x40, 0xa0), 1));
    for (int line = 1; line < 8; ++line) {
        const qreal y = screen.top() + screen.height() * line / 8;
        painter.drawLine(QPointF(screen.left() + 4, y), QPointF(screen.right() - 4, y));
    }
    painter.drawPixmap(QPointF(device.center().x() - 16, device.bottom() - 36),
                       programIcon().pixmap(32, 32));
    painter.setPen(Qt::white);
    QFont title(QStringLiteral("Times New Roman"), 26, QFont::Bold);
    painter.setFont(title);
    painter.drawText(QRectF(w * 0.05, h * 0.08, w * 0.6, h * 0.2), QStringLiteral("Tripvane"));
    painter.setFont(QFont(QStringLiteral("MS Sans Serif"), 10));
    painter.drawText(QRectF(w * 0.05, h * 0.26, w * 0.6, h * 0.1),
                     QStringLiteral("Your trip log for the PocketPC"));
    return picture;
}

} // namespace

QRect dialogUnits(int x, int y, int width, int height)
{
    // The font's average character is 6 by 13 pixels: a unit is a quarter across, an eighth down.
    const auto across = [](int units) { return units * 6 / 4; };
    const auto down = [](int units) { return units * 13 / 8; };
    return {across(x), down(y), across(width), down(height)};
}

SetupDialog::SetupDialog()
{
    setWindowTitle(setupString(SetupTitle));
    setWindowIcon(programIcon());
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(dialogUnits(0, 0, 301, 223).size());
    auto *picture = new QLabel(this);
    picture->setGeometry(dialogUnits(3, 2, 296, 193));
    picture->setPixmap(setupPicture(picture->size()));
    auto *install = new QPushButton(QStringLiteral("Install Now..."), this);
    install->setObjectName(QStringLiteral("control1000"));
    install->setGeometry(dialogUnits(229, 203, 64, 14));
    install->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("control1001"));
    cancel->setGeometry(dialogUnits(153, 203, 64, 14));
    connect(cancel, &QPushButton::clicked, this, [this] { done(CancelButton); });
    connect(install, &QPushButton::clicked, this, [this] {
        hide();
        emit installRequested();
    });
    install->setFocus();
}

void SetupDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->geometry();
        move(available.left() + (available.width() - width()) / 2,
             available.top() + (available.height() - height()) / 2);
    }
}

ConnectingWindow::ConnectingWindow()
{
    setWindowTitle(QStringLiteral("Connecting Windows CE device . . ."));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(dialogUnits(0, 0, 186, 74).size());
    auto *icon = new QLabel(this);
    icon->setGeometry(QRect(dialogUnits(16, 22, 0, 0).topLeft(), QSize(32, 32)));
    icon->setPixmap(programIcon().pixmap(32, 32));
    m_text = new QLabel(QStringLiteral("Please, wait..."), this);
    m_text->setObjectName(QStringLiteral("control1003"));
    m_text->setGeometry(dialogUnits(52, 29, 120, 10));
}

void ConnectingWindow::showConnected()
{
    m_text->setText(QStringLiteral("Connected."));
    QTimer::singleShot(1500, this, [this] { done(16); });
}

QString ConnectingWindow::text() const
{
    return m_text->text();
}

} // namespace tripvane::setup
