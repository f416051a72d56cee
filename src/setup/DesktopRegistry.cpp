#include "DesktopRegistry.h"

#include "SmallFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

namespace tripvane::setup {

namespace {

// A registry that large is not one this installer wrote.
constexpr qint64 MaxRegistryBytes = 1 << 20;

bool sameKey(const QString &line, const QString &key)
{
    return line.section(u'=', 0, 0).trimmed().compare(key.trimmed(), Qt::CaseInsensitive) == 0;
}

// A byte-order mark counts only at the start of the file: one starting a later line is part of
// its key, as the line is written back (fromUtf8 would drop it, and the key would change from
// one reading to the next).
QStringList lines(const QByteArray &text)
{
    QStringList lines;
    for (const QByteArray &line : textLines(text)) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        if (!line.trimmed().isEmpty())
            lines.append(utf8.decode(line));
    }
    return lines;
}

} // namespace

QString DesktopRegistry::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tripvane/desktop-registry");
}

std::optional<QString> DesktopRegistry::valueIn(const QByteArray &text, const QString &key)
{
    for (const QString &line : lines(text)) {
        if (line.contains(u'=') && sameKey(line, key))
            return line.section(u'=', 1).trimmed();
    }
    return std::nullopt;
}

std::optional<QByteArray> DesktopRegistry::withValue(const QByteArray &text, const QString &key,
                                                     const QString &value)
{
    const auto unsafe = [](const QString &part) {
        return part.contains(u'\n') || part.contains(u'\r') || part.contains(QChar(0)) ||
               part.startsWith(QChar(0xFEFF)) || part != part.trimmed();
    };
    if (key.isEmpty() || key.contains(u'=') || unsafe(key) || unsafe(value))
        return std::nullopt;
    QStringList kept = lines(text);
    kept.removeIf([&key](const QString &line) { return sameKey(line, key); });
    kept.append(key + u'=' + value);
    // A first line that starts with a mark of its own needs the file's before it, or it would
    // be read as the file's and the line's key would change.
    const QString written = kept.join(u'\n') + u'\n';
    return (written.startsWith(QChar(0xFEFF)) ? QChar(0xFEFF) + written : written).toUtf8();
}

std::optional<QString> DesktopRegistry::defaultValue(const QString &key) const
{
    const std::optional<QByteArray> text = readSmallFile(m_path, MaxRegistryBytes, nullptr);
    return text ? valueIn(*text, key) : std::nullopt;
}

bool DesktopRegistry::setDefaultValue(const QString &key, const QString &value) const
{
    // A registry that is there but cannot be read is kept as it is, not replaced.
    std::optional<QByteArray> text =
        QFileInfo::exists(m_path) ? readSmallFile(m_path, MaxRegistryBytes, nullptr) : QByteArray();
    const std::optional<QByteArray> changed = text ? withValue(*text, key, value) : std::nullopt;
    if (!changed)
        return false;
    QDir().mkpath(QFileInfo(m_path).path());
    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(*changed) == changed->size() &&
           file.commit();
}

} // namespace tripvane::setup
