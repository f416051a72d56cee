#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

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

    // Whether a window of this size (in the current zoom's pixels) fits the available area at
    // another level: only levels that fit are offered.
    static bool fits(QSize window, QSize available, int currentLevel, int level);

    // The window as it was when the zoom changed, for the start that shows the new zoom: its
    // layout and its place in the desk's own pixels. Taken once.
    struct KeptWindow
    {
        bool wide = false;
        QPoint place;
    };
    void keepWindow(const KeptWindow &window);
    std::optional<KeptWindow> takeKeptWindow();

private:
    QString m_file;
};

} // namespace tripvane
