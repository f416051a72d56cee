#pragma once

#include <QString>

namespace tripvane {

// How large the handheld's screen shows on the desktop: 1, 2 or 3 times, kept in the desktop
// settings. Qt's own scaling applies it to the whole window when the program starts, so no
// layout coordinate changes.
class ScreenZoom final
{
public:
    static constexpr int Smallest = 1;
    static constexpr int Largest = 3;

    // $XDG_CONFIG_HOME/Tripvane/desktop.conf
    static QString defaultSettingsFile();

    explicit ScreenZoom(QString settingsFile);

    int level() const;
    // Stores the level, kept within the three; false when that changes nothing.
    bool setLevel(int level);
    // Before the application object exists: the stored level as Qt's scale factor, unless the
    // environment already chose one. True when it set the factor; a program started from this
    // one must then not inherit it (see forgetApplied).
    bool applyBeforeStart() const;
    static void forgetApplied();

private:
    QString m_file;
};

} // namespace tripvane
