// Renaming and deleting a category through a log of generated trips, half of them in that
// category, through the running program's dialogs; beside the sqlite3 command-line tool doing
// the same UPDATE and DELETE on a copy of the same file:
//     QT_QPA_PLATFORM=offscreen build/bench/categories_bench [trips]      (default 100000)
#include "BenchSupport.h"
#include "CategoriesDialog.h"
#include "CategoryNameDialog.h"
#include "Commands.h"
#include "DatabaseLayouts.h"
#include "Databases.h"
#include "DeviceRoot.h"
#include "ObjectStore.h"
#include "Testkit.h"
#include "TripLog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QProcess>

#include <cstring>

using namespace tripvane;
using C = CategoriesDialog;

namespace {

double sqliteCli(const QString &file, const QString &sql)
{
    return bench::bestOf(1, [&] {
        QProcess cli;
        cli.start(QStringLiteral("sqlite3"), {file, sql});
        if (!cli.waitForFinished(-1) || cli.exitCode() != 0)
            qFatal("sqlite3 failed: %s", qPrintable(cli.readAllStandardError()));
    });
}

// The hub with the category selected and the through-trips box set, then the given button.
void pressOnCategory(TestApp &app, const QString &name, int button)
{
    app.kit.dialogRunner.expect([=](QDialog &d) {
        DialogDriver hub(d);
        auto *list = qobject_cast<QListWidget *>(hub.control(C::ListBox));
        list->setCurrentItem(list->findItems(name, Qt::MatchExactly).front());
        qobject_cast<QAbstractButton *>(hub.control(C::ThroughTripsBox))->setChecked(true);
        hub.click(button);
    });
}

void leaveHub(TestApp &app)
{
    app.kit.dialogRunner.expect([](QDialog &d) { DialogDriver(d).shellOk(); });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    ListDriver::watchModels = false; // timed as a user's program runs, without the checker
    const int tripCount = argc > 1 ? std::atoi(argv[1]) : 100000;
    TestApp app;
    bench::seedGeneratedLog(app, tripCount, [](DeviceSession &session) {
        for (ListPosition i = 0; i < session.records.size(); i += 2)
            session.records.at(i).setCategory(QStringLiteral("Work"));
        session.categories.append({0, QStringLiteral("Work"), 0});
        session.databases->rewriteCategories(session.categories);
    });
    const DeviceRoot device(app.devicePath());
    // The reference works on a copy of the file the program closed.
    const QString copy = device.storePath() + QStringLiteral(".sqlite3-copy");
    QFile::copy(device.storePath(), copy);
    Oid mileage = 0;
    {
        ObjectStore store;
        store.open(copy);
        store.findDatabase(QStringLiteral("Velmora OdometerRec"), mileage);
    }
    // The trip's category as the store keeps it: a member of its properties named by id.
    const QString member =
        QStringLiteral("'$.\"0x%1\"'")
            .arg(QString::number(Prop::TripCategory, 16).toUpper().rightJustified(8, u'0'));
    const QString category = QStringLiteral("json_extract(properties, %1)").arg(member);
    const auto where = [&](const char *name) {
        return QStringLiteral(" WHERE database = %1 AND %2 = '%3'")
            .arg(mileage)
            .arg(category, QString::fromLatin1(name));
    };
    double cliRename = 1e300;
    for (const auto &[from, to] : {std::pair{"Work", "Office"}, {"Office", "Work"}}) {
        const QString update =
            QStringLiteral("UPDATE records SET properties = json_set(properties, %1, '%2')")
                .arg(member, QString::fromLatin1(to));
        cliRename = std::min(cliRename, sqliteCli(copy, update + where(from)));
    }
    const double cliDelete = sqliteCli(copy, QStringLiteral("DELETE FROM records") + where("Work"));

    if (!app.start())
        qFatal("the program did not start");
    std::printf("%d trips, %d in the category\n", tripCount, (tripCount + 1) / 2);
    double rename = 1e300;
    for (const char *to : {"Office", "Work", "Office"}) {
        const QString from = QString::fromLatin1(std::strcmp(to, "Work") ? "Work" : "Office");
        pressOnCategory(app, from, C::RenameButton);
        app.kit.dialogRunner.expect([to](QDialog &d) {
            DialogDriver dialog(d);
            dialog.setText(CategoryNameDialog::EditEdit, QString::fromLatin1(to));
            dialog.shellOk();
        });
        leaveHub(app);
        rename = std::min(rename, bench::bestOf(1, [&] { app.command(CmdEditCategories); }));
    }
    app.kit.messageBoxes.expect(MessageAnswer::Yes);
    pressOnCategory(app, QStringLiteral("Office"), C::DeleteButton);
    leaveHub(app);
    const std::size_t before = app.log().trips().size();
    const double remove = bench::bestOf(1, [&] { app.command(CmdEditCategories); });
    if (app.log().trips().size() * 2 > before + 1)
        qFatal("the trips of the category were not deleted");

    bench::report("rename category through trips", rename, cliRename, "sqlite3 UPDATE, one txn");
    bench::report("delete category through trips", remove, cliDelete, "sqlite3 DELETE, one txn");
    app.close();
    QFile::remove(copy);
    return 0;
}
