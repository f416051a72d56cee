#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>

class QPainter;
class QPaintDevice;

namespace tripvane {

// The font every dialog paints its heading in: "Times New Roman", 10 points, weight 800.
QFont headingFont(const QPaintDevice &device);
// The least contrast any text keeps against its background (WCAG's level AA).
constexpr double MinimumContrast = 4.5;
double contrastRatio(const QColor &text, const QColor &background);
// The handheld's blue, or a light blue where a dark palette would hide it.
QColor headingColour(const QColor &background);

// The heading text in blue with its top-left corner at the given point.
void paintHeading(QPainter &painter, QPoint topLeft, const QString &text);
// A blue rule from one point to the other.
void paintRule(QPainter &painter, QPoint from, QPoint to, int width = 1);

} // namespace tripvane
