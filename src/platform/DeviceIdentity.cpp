#include "DeviceIdentity.h"

#include "DeviceRoot.h"

#include <QFile>
#include <QSaveFile>

#include <map>

namespace tripvane {

namespace {

QString identityPath(const DeviceRoot &device)
{
    return device.localPath(QStringLiteral("\\device-identity"));
}

} // namespace

std::optional<DeviceIdentity> DeviceIdentity::read(const DeviceRoot &device)
{
    QFile file(identityPath(device));
    if (!file.open(QIODevice::ReadOnly) || file.size() > 4096)
        return std::nullopt;
    std::map<QByteArray, int> values;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype equals = line.indexOf('=');
        bool number = false;
        const int value = equals > 0 ? line.mid(equals + 1).trimmed().toInt(&number) : 0;
        if (!number)
            return std::nullopt;
        values[line.left(equals).trimmed()] = value;
    }
    DeviceIdentity identity;
    for (auto [name, field] :
         {std::pair{"OsMajorVersion", &identity.osMajorVersion},
          std::pair{"ProcessorType", &identity.processorType},
          std::pair{"ProcessorArchitecture", &identity.processorArchitecture}}) {
        const auto found = values.find(QByteArray(name));
        if (found == values.end())
            return std::nullopt;
        *field = found->second;
    }
    return identity;
}

bool DeviceIdentity::writeIfAbsent(const DeviceRoot &device)
{
    const QString path = identityPath(device);
    if (QFile::exists(path))
        return true;
    const DeviceIdentity identity;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QStringLiteral("OsMajorVersion=%1\nProcessorType=%2\nProcessorArchitecture=%3\n")
                   .arg(identity.osMajorVersion)
                   .arg(identity.processorType)
                   .arg(identity.processorArchitecture)
                   .toLatin1());
    return file.commit();
}

} // namespace tripvane
