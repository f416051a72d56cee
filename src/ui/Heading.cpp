#include "Heading.h"

#include <QLabel>

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
    // A screen reader cannot read what is painted: a label of the same text stands where the
    // heading is, drawn in no colour.
    if (auto *owner = dynamic_cast<QWidget *>(painter.device())) {
        auto *spoken =
            owner->findChild<QLabel *>(QStringLiteral("heading"), Qt::FindDirectChildrenOnly);
        if (!spoken) {
            spoken = new QLabel(owner);
            spoken->setObjectName(QStringLiteral("heading"));
            spoken->setAttribute(Qt::WA_TransparentForMouseEvents);
            QPalette unseen = spoken->palette();
            unseen.setColor(QPalette::WindowText, Qt::transparent);
            spoken->setPalette(unseen);
            spoken->setFont(headingFont(*owner));
            spoken->lower();
            spoken->show();
        }
        if (spoken->text() != text || spoken->pos() != topLeft) {
            spoken->setText(text);
            spoken->setGeometry(QRect(topLeft, spoken->sizeHint()));
        }
    }
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
