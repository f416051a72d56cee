// Writes screenshots of the main window in both layouts, under a dark theme, and of the
// installer's two windows, for the documentation; with a zoom
// (QT_SCALE_FACTOR=2) only the portrait one, named for its zoom:
//     QT_QPA_PLATFORM=offscreen build/tools/screenshots/screenshots docs
//     QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 build/tools/screenshots/screenshots docs
#include "DeviceFrame.h"
#include "ListView.h"
#include "SetupWindows.h"
#include "StatusPane.h"
#include "Testkit.h"

#include <QApplication>
#include <QDir>
#include <QFont>

using namespace tripvane;

namespace {

MileageRecord trip(int day, int month, std::int32_t distance, const char *category,
                   const char *memo = nullptr)
{
    MileageRecord r;
    r.setDate(makeDate(2026, month, day));
    r.setDistance(distance);
    r.setCategory(QString::fromLatin1(category));
    r.setStartPlace(QStringLiteral("Home"));
    r.setDestination(QStringLiteral("Office"));
    if (memo)
        r.setMemo(QString::fromLatin1(memo));
    return r;
}

bool shoot(QSize screen, const QString &file)
{
    TestApp app(screen);
    app.kit.clock.now = makeDate(2026, 12, 6);
    app.seed({trip(2, 11, 4250, "Job", "client visit"), trip(9, 11, 1870, "Shopping"),
              trip(15, 11, 31240, "Holiday", "coast"), trip(21, 11, 4250, "Job"),
              trip(28, 11, 2960, "Shopping"), trip(3, 12, 4250, "Job", "meeting")},
             4512300, 4563000, makeDate(2026, 12, 6));
    if (!app.start())
        return false;
    app.showFrame();
    QApplication::processEvents();
    bool saved = app.frame().grab().save(file + QStringLiteral(".png"));

    // The record dialog of the first trip, as the frame shows it.
    app.kit.dialogRunner.expect([&](QDialog &dialog) {
        QApplication::processEvents();
        saved = app.frame().grab().save(file + QStringLiteral("-trip.png")) && saved;
        DialogDriver(dialog).cancel();
    });
    app.list().tapRow(0);
    app.close();
    return saved;
}

bool shootInstaller(const QDir &out)
{
    setup::SetupDialog dialog;
    dialog.show();
    setup::ConnectingWindow connecting;
    connecting.show();
    QApplication::processEvents();
    return dialog.grab().save(out.filePath(QStringLiteral("setup.png"))) &&
           connecting.grab().save(out.filePath(QStringLiteral("setup-connecting.png")));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    const int zoom = qEnvironmentVariableIntValue("QT_SCALE_FACTOR");
    if (zoom > 1)
        return shoot({240, 320}, out.filePath(QStringLiteral("main-portrait-%1x").arg(zoom))) ? 0
                                                                                              : 1;
    const bool ok = shoot({240, 320}, out.filePath(QStringLiteral("main-portrait"))) &&
                    shoot({320, 240}, out.filePath(QStringLiteral("main-wide"))) &&
                    shootInstaller(out);
    // The same under a dark desktop theme.
    QApplication::setPalette(darkPalette());
    const bool dark = shoot({240, 320}, out.filePath(QStringLiteral("main-portrait-dark")));
    return ok && dark ? 0 : 1;
}
