#include "ScreenZoom.h"

#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace tripvane {

namespace {

const QString ZoomKey = QStringLiteral("screen/zoom");
const QString WideKey = QStringLiteral("restart/wide");
const QString PlaceKey = QStringLiteral("restart/place");

} // namespace

QString ScreenZoom::defaultSettingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tripvane/desktop.conf");
}

ScreenZoom::ScreenZoom(QString settingsFile)
    : m_file(std::move(settingsFile))
{}

int ScreenZoom::level() const
{
    const int stored = QSettings(m_file, QSettings::IniFormat).value(ZoomKey, Smallest).toInt();
    return std::clamp(stored, Smallest, Largest);
}

bool ScreenZoom::setLevel(int level)
{
    level = std::clamp(level, Smallest, Largest);
    if (level == this->level())
        return false;
    QSettings settings(m_file, QSettings::IniFormat);
    settings.setValue(ZoomKey, level);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool ScreenZoom::applyBeforeStart() const
{
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        return false;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(level()));
    return true;
}

void ScreenZoom::forgetApplied()
{
    qunsetenv("QT_SCALE_FACTOR");
}

} // namespace tripvane

namespace tripvane {

bool ScreenZoom::fits(QSize window, QSize available, int currentLevel, int level)
{
    const QSize scaled = window * level / currentLevel;
    return scaled.width() <= available.width() && scaled.height() <= available.height();
}

void ScreenZoom::keepWindow(const KeptWindow &window)
{
    QSettings settings(m_file, QSettings::IniFormat);
    settings.setValue(WideKey, window.wide);
    settings.setValue(PlaceKey, window.place);
}

std::optional<ScreenZoom::KeptWindow> ScreenZoom::takeKeptWindow()
{
    QSettings settings(m_file, QSettings::IniFormat);
    if (!settings.contains(PlaceKey))
        return std::nullopt;
    const KeptWindow kept{settings.value(WideKey).toBool(), settings.value(PlaceKey).toPoint()};
    settings.remove(QStringLiteral("restart"));
    return kept;
}

} // namespace tripvane
