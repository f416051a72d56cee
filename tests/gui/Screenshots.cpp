// Writes screenshots of the main window in both layouts, for the documentation:
//     QT_QPA_PLATFORM=offscreen build/tests/gui/screenshots docs
#include "DeviceFrame.h"
#include "RecordListView.h"
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
    app.frame().show();
    QApplication::processEvents();
    bool saved = app.frame().grab().save(file + QStringLiteral(".png"));

    // The record dialog of the first trip, as the frame shows it.
    app.kit.dialogRunner.expect([&](QDialog &dialog) {
        auto &page = dynamic_cast<FramePage &>(dialog);
        dialog.setWindowFlags(Qt::Widget);
        app.frame().pushPage(page);
        dialog.show();
        QApplication::processEvents();
        saved = app.frame().grab().save(file + QStringLiteral("-trip.png")) && saved;
        app.frame().popPage(page);
        DialogDriver(dialog).cancel();
    });
    app.tapRow(0);
    app.close();
    return saved;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    const bool ok = shoot({240, 320}, out.filePath(QStringLiteral("main-portrait"))) &&
                    shoot({320, 240}, out.filePath(QStringLiteral("main-wide")));
    return ok ? 0 : 1;
}
