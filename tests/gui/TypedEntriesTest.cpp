#include "Commands.h"
#include "DataTable.h"
#include "MileageBookDialog.h"
#include "RecordDialog.h"
#include "RouteDialog.h"
#include "StatusDialog.h"
#include "StatusPane.h"
#include "Testkit.h"
#include "TripLog.h"

#include <gtest/gtest.h>

#include <map>

using namespace tripvane;
using R = RecordDialog;
using S = StatusDialog;
using RD = RouteDialog;

namespace {

const std::map<QString, QString> longMessages{
    {QStringLiteral("invalid"),
     QStringLiteral("Please specify a valid amount. Check mileage view options in the "
                    "Tools\\View Options menu item.")},
    {QStringLiteral("rule"),
     QStringLiteral("Please, enter a unique name that is alphabetic character within the ranges "
                    "A - Z or a - z or decimal digit (0 - 9).")}};

struct Form
{
    std::map<QString, int> fields;              // by the table's names
    std::vector<std::pair<int, QString>> valid; // what the other fields hold
    int ok;
};

const std::map<QString, Form> forms{
    {QStringLiteral("trip"),
     {{{"distance", R::DistanceEdit}, {"category", R::CategoryCombo}},
      {{R::DistanceEdit, "15"}, {R::CategoryCombo, "Job"}},
      R::OkButton}},
    {QStringLiteral("status"),
     {{{"starts", S::StartsEdit}, {"ends", S::EndsEdit}},
      {{S::StartsEdit, "1000"}, {S::EndsEdit, "1500"}},
      S::OkButton}},
    {QStringLiteral("route"),
     {{{"start", RD::StartEdit},
       {"destination", RD::DestinationEdit},
       {"mileage", RD::MileageEdit}},
      {{RD::StartEdit, "Home"}, {RD::DestinationEdit, "Work"}, {RD::MileageEdit, "1"}},
      RD::OkButton}},
};

TEST(TypedEntries, areRefusedTheSameWayInEveryDialog)
{
    TestApp app;
    app.seed({}, 100000, 200000, makeDate(2005, 10, 20));
    ASSERT_TRUE(app.start());
    for (const QStringList &row : dataTable("typed-entries.txt")) {
        ASSERT_EQ(row.size(), 5) << row.join(u'|').toStdString();
        const std::string what = row.join(u'|').toStdString();
        const Form &form = forms.at(row[0]);
        const int field = form.fields.at(row[1]);
        const int beepsBefore = app.kit.beeper.count;
        const qsizetype messagesBefore = app.kit.messageBoxes.shown.size();
        if (row[3] != u"-")
            app.kit.messageBoxes.expect(MessageAnswer::Ok);
        const auto enter = [&](DialogDriver &dialog) {
            for (const auto &[id, text] : form.valid) {
                const QString typed = id == field ? row[2] : text;
                if (id == R::CategoryCombo)
                    dialog.select(id, typed);
                else
                    dialog.setText(id, typed);
            }
            dialog.click(form.ok);
            EXPECT_EQ(dialog.result(), 0) << what;
            EXPECT_EQ(dialog.focusedControl(), field) << what;
            EXPECT_TRUE(app.kit.inputPanel.isShown()) << "raised for the field: " << what;
            dialog.cancel();
        };
        if (row[0] == u"trip") {
            app.onDialog(enter);
            app.command(CmdNew);
        } else if (row[0] == u"status") {
            app.onDialog(enter);
            app.clickPane(StatusPane::ChangeStatusButton);
        } else {
            app.onDialog([](DialogDriver &hub) { hub.click(MileageBookDialog::NewButton); });
            app.onDialog(enter);
            app.onDialog([](DialogDriver &hub) { hub.shellOk(); });
            app.command(CmdMileageBook);
        }
        EXPECT_EQ(app.kit.beeper.count - beepsBefore, row[4].toInt()) << what;
        ASSERT_EQ(app.kit.messageBoxes.shown.size() - messagesBefore, row[3] == u"-" ? 0 : 1)
            << what;
        if (row[3] != u"-") {
            EXPECT_EQ(app.kit.messageBoxes.texts().back(),
                      longMessages.count(row[3]) ? longMessages.at(row[3]) : row[3])
                << what;
        }
    }
    EXPECT_EQ(app.list().rowCount(), 0);
    EXPECT_EQ(app.log().status().end.distance, 200000);
    EXPECT_EQ(app.log().book().size(), 0);
}

} // namespace
