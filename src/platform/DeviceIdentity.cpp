#include "DeviceIdentity.h"

#include "DeviceRoot.h"
#include "SmallFile.h"

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
    return parse(readSmallFile(identityPath(device), 4096, nullptr).value_or(QByteArray()));
}

std::optional<DeviceIdentity> DeviceIdentity::parse(const QByteArray &text)
{
    std::map<QByteArray, int> values;
    for (const QByteArray &raw : textLines(text)) {
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
    // The version is asked first; a device too old for the program is not asked further.
    DeviceIdentity identity;
    const auto read = [&values](const char *name, int &field) {
        const auto found = values.find(QByteArray(name));
        if (found != values.end())
            field = found->second;
        return found != values.end();
    };
    if (!read("OsMajorVersion", identity.osMajorVersion))
        return std::nullopt;
    if (identity.osMajorVersion < 3)
        return identity;
    if (!read("ProcessorType", identity.processorType) ||
        !read("ProcessorArchitecture", identity.processorArchitecture))
        return std::nullopt;
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
