#pragma once

#include <QFont>
#include <QPoint>
#include <QString>

class QPainter;
class QPaintDevice;

namespace tripvane {

// The font every dialog paints its heading in: "Times New Roman", 10 points, weight 800.
QFont headingFont(const QPaintDevice &device);
// The heading text in blue with its top-left corner at the given point.
void paintHeading(QPainter &painter, QPoint topLeft, const QString &text);
// A blue rule from one point to the other.
void paintRule(QPainter &painter, QPoint from, QPoint to, int width = 1);

} // namespace tripvane
