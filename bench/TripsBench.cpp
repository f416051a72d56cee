// The trip commands on a log of generated trips, through the running program:
//     QT_QPA_PLATFORM=offscreen build/bench/trips_bench [trips]      (default 100000)
// The date sort is compared with std::stable_sort of the bare date keys on the same data.
#include "BenchSupport.h"
#include "Commands.h"
#include "Databases.h"
#include "DeleteRangeDialog.h"
#include "DeviceFrame.h"
#include "DeviceRoot.h"
#include "ListView.h"
#include "ObjectStore.h"
#include "RecordDialog.h"
#include "Sorting.h"
#include "StatusPane.h"
#include "Testkit.h"
#include "TripLog.h"

#include <QApplication>

#include <algorithm>

using namespace tripvane;

namespace {} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    ListDriver::watchModels = false; // timed as a user's program runs, without the checker
    const int tripCount = argc > 1 ? std::atoi(argv[1]) : 100000;
    TestApp app;
    bench::seedGeneratedLog(app, tripCount);
    if (!app.start())
        qFatal("the program did not start");
    app.frame().show();
    const RecordList &trips = app.log().trips();
    std::printf("%d trips\n", tripCount);

    // Sorting: the program's sort against a stable sort of the bare keys, same input each time.
    RecordList sorted;
    bench::appendGeneratedTrips(sorted, tripCount);
    std::mt19937 shuffle(1);
    for (std::uint32_t order : {SortAscending, SortDescending}) {
        double ours = 1e300;
        double bare = 1e300;
        for (int run = 0; run < 5; ++run) {
            sorted.reorder([&](auto nodes) { std::shuffle(nodes.begin(), nodes.end(), shuffle); });
            std::vector<std::int32_t> keys;
            for (ListPosition i = 0; i < sorted.size(); ++i)
                keys.push_back(std::int32_t(sorted.at(i).dateKey));
            ours = std::min(ours, bench::bestOf(1, [&] { SortRecordsByDate(sorted, order); }));
            bare = std::min(bare, bench::bestOf(1, [&] {
                                std::stable_sort(keys.begin(), keys.end());
                                if (order == SortDescending)
                                    std::reverse(keys.begin(), keys.end());
                            }));
        }
        bench::report(order == SortAscending ? "sort by date, ascending"
                                             : "sort by date, descending",
                      ours, bare, "std::stable_sort of keys");
    }
    app.log().sortTripsByDate(SortAscending);

    // A sort of sorted trips is all refill: the list is reset and drawn again.
    const double fill = bench::bestOf(5, [&] {
        app.log().sortTripsByDate(SortAscending);
        app.pane().listView().scrollToBottom();
        QApplication::processEvents();
    });
    std::printf("%-34s %9.1f ms\n", "sort sorted trips, fill and draw", fill);

    app.kit.clock.now.second = 0;
    const double add = bench::bestOf(5, [&] {
        ++app.kit.clock.now.second;
        app.kit.dialogRunner.expect([](QDialog &d) {
            DialogDriver dialog(d);
            dialog.setText(RecordDialog::DistanceEdit, QStringLiteral("12.5"));
            dialog.select(RecordDialog::CategoryCombo, QStringLiteral("Job"));
            dialog.click(RecordDialog::OkButton);
        });
        app.command(CmdNew);
    });
    std::printf("%-34s %9.1f ms\n", "add one trip (store write)", add);

    const double remove = bench::bestOf(5, [&] {
        app.kit.messageBoxes.expect(MessageAnswer::Yes);
        app.kit.dialogRunner.expect(
            [](QDialog &d) { DialogDriver(d).click(RecordDialog::DeleteButton); });
        app.list().tapRow(int(trips.size() / 2));
    });
    std::printf("%-34s %9.1f ms\n", "delete one trip (store write)", remove);

    // Half the log lies before the middle date of the sorted list.
    const MileageRecord &middle = trips.at(trips.size() / 2);
    const QDate to(middle.date.year, middle.date.month, middle.date.day);
    const std::size_t before = trips.size();
    app.kit.messageBoxes.expect(MessageAnswer::Yes);
    app.kit.dialogRunner.expect([&](QDialog &d) {
        DialogDriver dialog(d);
        dialog.setDate(DeleteRangeDialog::StartsPicker, QDate(1990, 1, 1));
        dialog.setDate(DeleteRangeDialog::EndsPicker, to);
        dialog.click(DeleteRangeDialog::FindButton);
    });
    const double range = bench::bestOf(1, [&] { app.command(CmdDeleteByRange); });
    std::printf("%-34s %9.1f ms   (%zu of %zu trips deleted)\n", "delete by range, half the log",
                range, before - trips.size(), before);
    app.close();
    return 0;
}
