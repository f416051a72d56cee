#pragma once

#include <QString>

#include <optional>

namespace tripvane::setup {

// The desktop's registry, local-machine root, reduced to what the installer reads: the default
// value of a key. It is a text file, "desktop-registry" in the desktop's Tripvane config folder,
// one "key path=value" line per key; key paths compare without regard to case, as the
// registry's do.
class DesktopRegistry
{
public:
    // $XDG_CONFIG_HOME/Tripvane/desktop-registry (~/.config/... by default).
    static QString defaultPath();

    explicit DesktopRegistry(QString path = defaultPath())
        : m_path(std::move(path))
    {}

    std::optional<QString> defaultValue(const QString &key) const;
    bool setDefaultValue(const QString &key, const QString &value) const;

private:
    QString m_path;
};

} // namespace tripvane::setup
