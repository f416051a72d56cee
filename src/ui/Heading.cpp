#include "Heading.h"

#include <QPaintDevice>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tripvane {

namespace {

const QColor Blue(0, 0, 255);
const QColor LightBlue(0x9c, 0xc4, 0xff); // the heading's blue on a dark background

double luminance(const QColor &colour)
{
    auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

QColor headingColourOn(const QPainter &painter)
{
    const auto *widget = dynamic_cast<const QWidget *>(painter.device());
    return widget ? headingColour(widget->palette().color(widget->backgroundRole())) : Blue;
}

} // namespace

double contrastRatio(const QColor &text, const QColor &background)
{
    const double a = luminance(text);
    const double b = luminance(background);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor headingColour(const QColor &background)
{
    return contrastRatio(Blue, background) >= MinimumContrast ? Blue : LightBlue;
}

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
    painter.setPen(headingColourOn(painter));
    painter.drawText(QRect(topLeft, QSize(2000, 100)),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.restore();
}

void paintRule(QPainter &painter, QPoint from, QPoint to, int width)
{
    painter.save();
    painter.setPen(QPen(headingColourOn(painter), width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(from, to);
    painter.restore();
}

} // namespace tripvane
