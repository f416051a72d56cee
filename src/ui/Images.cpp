#include "Images.h"

#include <QHash>

namespace tripvane {

namespace {

// Bitmaps are strips of 16 x 16 images, as the handheld's image lists take them.
QIcon fromStrip(const QString &resource, int index)
{
    static QHash<QString, QPixmap> strips;
    QPixmap &strip = strips[resource];
    if (strip.isNull())
        strip.load(resource);
    return QIcon(strip.copy(index * 16, 0, 16, 16));
}

} // namespace

QIcon listImage(int index)
{
    return fromStrip(QStringLiteral(":/images/list128.png"), index);
}

QIcon commandBarImage(int index)
{
    return fromStrip(QStringLiteral(":/images/commandbar106.png"), index);
}

QPixmap odometerPicture()
{
    return QPixmap(QStringLiteral(":/images/odometer137.png"));
}

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/images/icon101.png"));
}

} // namespace tripvane
