#include "DesktopRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace tripvane::setup {

namespace {

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

bool sameKey(const QString &line, const QString &key)
{
    return line.section(u'=', 0, 0).compare(key, Qt::CaseInsensitive) == 0;
}

} // namespace

QString DesktopRegistry::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tripvane/desktop-registry");
}

std::optional<QString> DesktopRegistry::defaultValue(const QString &key) const
{
    for (const QString &line : readLines(m_path)) {
        if (line.contains(u'=') && sameKey(line, key))
            return line.section(u'=', 1);
    }
    return std::nullopt;
}

bool DesktopRegistry::setDefaultValue(const QString &key, const QString &value) const
{
    if (key.contains(u'=') || key.contains(u'\n') || value.contains(u'\n'))
        return false;
    QStringList lines = readLines(m_path);
    lines.removeIf([&key](const QString &line) { return sameKey(line, key); });
    lines.append(key + u'=' + value);
    QDir().mkpath(QFileInfo(m_path).path());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write((lines.join(u'\n') + u'\n').toUtf8());
    return file.commit();
}

} // namespace tripvane::setup
