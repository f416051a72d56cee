#include "Heading.h"

#include <QPaintDevice>
#include <QPainter>

namespace tripvane {

namespace {

const QColor Blue(0, 0, 255);

} // namespace

QFont headingFont(const QPaintDevice &device)
{
    QFont font(QStringLiteral("Times New Roman"));
    // Height in pixels as the handheld computes it: points x vertical dpi / 72, truncated.
    font.setPixelSize(10 * device.logicalDpiY() / 72);
    font.setWeight(QFont::Weight(800));
    font.setItalic(false);
    return font;
}

void paintHeading(QPainter &painter, QPoint topLeft, const QString &text)
{
    painter.save();
    painter.setFont(headingFont(*painter.device()));
    painter.setPen(Blue);
    painter.drawText(QRect(topLeft, QSize(2000, 100)),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.restore();
}

void paintRule(QPainter &painter, QPoint from, QPoint to, int width)
{
    painter.save();
    painter.setPen(QPen(Blue, width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(from, to);
    painter.restore();
}

} // namespace tripvane
