#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tripvane::setup {

// The desktop's registry, local-machine root, reduced to what the installer reads: the default
// value of a key. It is a text file, "desktop-registry" in the desktop's Tripvane config folder,
// one "key path=value" line per key; key paths compare without regard to case, as the
// registry's do. Blanks around the '=' and CR LF line ends, as another editor may leave them,
// are read as the plain form.
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

    // The same on the file's text: the value of a key, and the text with the key's value set
    // (nothing when the key or value cannot be stored as one line).
    static std::optional<QString> valueIn(const QByteArray &text, const QString &key);
    static std::optional<QByteArray> withValue(const QByteArray &text, const QString &key,
                                               const QString &value);

private:
    QString m_path;
};

} // namespace tripvane::setup
