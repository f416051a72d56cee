#include "Commands.h"
#include "RecordDialog.h"
#include "StatusDialog.h"
#include "StatusPane.h"
#include "Testkit.h"
#include "TripLog.h"

#include <gtest/gtest.h>

using namespace tripvane;
using R = RecordDialog;
using S = StatusDialog;

namespace {

const char *const InvalidAmount =
    "Please specify a valid amount. Check mileage view options in the Tools\\View Options menu "
    "item.";

// Every field that takes a distance refuses the same way: an empty field only beeps, a refused
// amount shows its message; either way the dialog stays open with the focus on that field. A
// trip without a category only beeps, with the focus there.
TEST(TypedAmounts, everyDistanceFieldRefusesTheSameWay)
{
    struct Case
    {
        int field;
        const char *text;
        const char *message;               // nullptr: a beep only
        int otherField = R::CategoryCombo; // filled with a valid entry
    };
    const Case cases[] = {
        {R::DistanceEdit, "", nullptr},
        {R::DistanceEdit, "0", "You can not enter 0.0 !"},
        {R::DistanceEdit, "0.00", "You can not enter 0.0 !"},
        {R::DistanceEdit, "1000000.01", "You can enter not more than 1,000,000.00"},
        {R::DistanceEdit, "12km", InvalidAmount},
        {R::CategoryCombo, "", nullptr, R::DistanceEdit},
        {S::StartsEdit, "", nullptr, S::EndsEdit},
        {S::StartsEdit, "abc", InvalidAmount, S::EndsEdit},
        {S::EndsEdit, "   ", "You can not enter 0.0 !", S::StartsEdit},
        {S::EndsEdit, "1000000.01", "You can enter not more than 1,000,000.00", S::StartsEdit},
    };
    TestApp app;
    app.seed({}, 100000, 200000, makeDate(2005, 10, 20));
    ASSERT_TRUE(app.start());
    int beeps = 0;
    for (const Case &c : cases) {
        const bool record = c.field == R::DistanceEdit || c.field == R::CategoryCombo;
        if (c.message)
            app.kit.messageBoxes.expect(MessageAnswer::Ok);
        app.onDialog([&](DialogDriver &dialog) {
            const auto fill = [&](int field, const char *text) {
                if (field == R::CategoryCombo)
                    dialog.select(field, QString::fromLatin1(text));
                else
                    dialog.setText(field, QString::fromLatin1(text));
            };
            fill(c.otherField, c.otherField == R::CategoryCombo ? "Job" : "1500");
            fill(c.field, c.text);
            dialog.click(record ? int(R::OkButton) : int(S::OkButton));
            EXPECT_EQ(dialog.result(), 0) << c.text;
            EXPECT_EQ(dialog.focusedControl(), c.field) << c.text;
            dialog.cancel();
        });
        if (record)
            app.command(CmdNew);
        else
            app.clickPane(StatusPane::ChangeStatusButton);
        EXPECT_EQ(app.kit.beeper.count, ++beeps) << c.text;
        if (c.message) {
            EXPECT_EQ(app.kit.messageBoxes.texts().back(), QString::fromLatin1(c.message));
        }
    }
    EXPECT_EQ(app.list().rowCount(), 0);
    EXPECT_EQ(app.log().status().end.distance, 200000);
}

} // namespace
