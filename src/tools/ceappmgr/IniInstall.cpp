#include "IniInstall.h"

#include "DeviceRoot.h"
#include "ObjectStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tripvane {

std::optional<InstallDescription> InstallDescription::parse(const QString &text, QString *problem)
{
    InstallDescription description;
    QString section;
    bool majorRead = false;
    bool minorRead = false;
    const auto fail = [problem](const QString &why) {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    const QStringList lines = text.split(u'\n');
    for (qsizetype number = 0; number < lines.size(); ++number) {
        const QString line = lines[number].trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            return fail(QStringLiteral("line %1 is not \"name=value\"").arg(number + 1));
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        bool isNumber = true;
        if (section == u"Application" && key == u"Name") {
            description.name = value;
        } else if (section == u"Application" && key == u"RegistryKey") {
            description.registryKey = value;
        } else if (section == u"Application" && key == u"MajorVersion") {
            description.majorVersion = value.toUInt(&isNumber);
            majorRead = isNumber;
        } else if (section == u"Application" && key == u"MinorVersion") {
            description.minorVersion = value.toUInt(&isNumber);
            minorRead = isNumber;
        } else if (section == u"Files") {
            // A file name names a file, never a way out of its folder.
            if (key.contains(u'/') || key.contains(u'\\') || key == u"." || key == u"..")
                return fail(QStringLiteral("line %1 names a path, not a file").arg(number + 1));
            if (value.split(u'\\').contains(QStringLiteral("..")))
                return fail(QStringLiteral("line %1 leaves the device").arg(number + 1));
            description.files.emplace_back(key, value);
        }
        if (!isNumber)
            return fail(QStringLiteral("line %1 holds no number").arg(number + 1));
    }
    if (description.name.isEmpty() || description.registryKey.isEmpty() || !majorRead ||
        !minorRead || description.files.empty())
        return fail(QStringLiteral("the [Application] name, registry key, version or the [Files] "
                                   "are missing"));
    return description;
}

QString install(const InstallDescription &description, const QStringList &sourceFolders,
                const DeviceRoot &device)
{
    std::vector<std::pair<QString, QString>> copies; // source, target
    for (const auto &[name, devicePath] : description.files) {
        QString source;
        for (const QString &folder : sourceFolders) {
            if (QFileInfo(QDir(folder).filePath(name)).isFile()) {
                source = QDir(folder).filePath(name);
                break;
            }
        }
        if (source.isEmpty())
            return QStringLiteral("%1 is not there to install").arg(name);
        copies.emplace_back(source, device.localPath(devicePath));
    }
    if (!device.prepare())
        return QStringLiteral("the device cannot be prepared");
    for (const auto &[source, target] : copies) {
        QFile in(source);
        QDir().mkpath(QFileInfo(target).path());
        QSaveFile out(target);
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly) ||
            out.write(in.readAll()) != in.size() || !out.setPermissions(in.permissions()) ||
            !out.commit())
            return QStringLiteral("%1 could not be written").arg(target);
    }
    ObjectStore registry;
    if (registry.open(device.storePath()) != ObjectStore::OpenStatus::Ok ||
        !registry.createKey(description.registryKey) ||
        !registry.setValue(description.registryKey, QStringLiteral("MajorVersion"),
                           {REG_DWORD, description.majorVersion, {}}) ||
        !registry.setValue(description.registryKey, QStringLiteral("MinorVersion"),
                           {REG_DWORD, description.minorVersion, {}}))
        return QStringLiteral("the device registry could not be written");
    return {};
}

} // namespace tripvane
