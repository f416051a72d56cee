#include "CategoriesDialog.h"
#include "CategoryNameDialog.h"
#include "Commands.h"
#include "DeviceRoot.h"
#include "ProgramState.h"
#include "StatusPane.h"
#include "Testkit.h"
#include "TripLog.h"

#include <QCheckBox>
#include <QListWidget>

#include <gtest/gtest.h>

using namespace tripvane;
using C = CategoriesDialog;
using N = CategoryNameDialog;

namespace {

class Categories : public ::testing::Test
{
protected:
    void start(std::vector<MileageRecord> trips = {})
    {
        app.seed(trips);
        ASSERT_TRUE(app.start());
    }
    // The hub, with the script acting on it; it is shown again after any end but OK.
    void onHub(std::function<void(DialogDriver &, QListWidget &)> script)
    {
        app.onDialog([script](DialogDriver &hub) {
            script(hub, *qobject_cast<QListWidget *>(hub.control(C::ListBox)));
        });
    }
    void leaveHub()
    {
        onHub([](DialogDriver &hub, QListWidget &) { hub.shellOk(); });
    }
    static void select(QListWidget &list, const QString &name)
    {
        const auto found = list.findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list.setCurrentItem(found.front());
    }
    void onNameDialog(const QString &typed, int expectedEnd)
    {
        app.onDialog([typed, expectedEnd](DialogDriver &dialog) {
            const int edit =
                dialog.caption() == QStringLiteral("New category") ? N::NewEdit : N::EditEdit;
            dialog.setText(edit, typed);
            dialog.shellOk();
            EXPECT_EQ(dialog.result(), expectedEnd) << typed.toStdString();
            if (dialog.result() == 0)
                dialog.cancel();
        });
    }
    std::vector<QString> stored() { return app.storedCategories(); }
    std::vector<QString> storedTripCategories()
    {
        std::vector<QString> names;
        for (const MileageRecord &t : app.storedTrips())
            names.push_back(t.category);
        return names;
    }

    TestApp app;
};

TEST_F(Categories, newNamesFollowTheNameRule)
{
    struct Case
    {
        const char *typed;
        int end;             // 0: refused, the dialog stays open
        const char *message; // shown for a refusal
    };
    const Case cases[] = {
        {" business TRIP ", N::NewOkButton, nullptr},
        {"Car-hire", 0,
         "Please, enter a unique name that is alphabetic character within the "
         "ranges A - Z or a - z or decimal digit (0 - 9)."},
        {"Trip 2", N::NewOkButton, nullptr},
        {"   ", 0, nullptr},
        {"job", N::NewOkButton, nullptr}, // "Job" exists: nothing is added
    };
    start();
    for (const Case &c : cases) {
        if (c.message)
            app.kit.messageBoxes.expect(MessageAnswer::Ok);
        onHub([](DialogDriver &hub, QListWidget &) { hub.click(C::NewButton); });
        onNameDialog(QString::fromLatin1(c.typed), c.end);
        leaveHub();
        app.command(CmdEditCategories);
        if (c.message) {
            EXPECT_EQ(app.kit.messageBoxes.texts().back(), QString::fromLatin1(c.message));
        }
    }
    EXPECT_EQ(stored(),
              (std::vector<QString>{"Holiday", "Job", "Shopping", "Business trip", "Trip 2"}));
    EXPECT_TRUE(app.log().categoriesChangedThisRun());
}

TEST_F(Categories, renamingOntoAnExistingNameMergesThemThroughTheTrips)
{
    start({trip(2005, 10, 3, 100, "Work"), trip(2005, 10, 1, 200, "Home"),
           trip(2005, 10, 2, 300, "Work")});
    app.log().addCategory(QStringLiteral("Work"));
    app.log().addCategory(QStringLiteral("Home"));
    onHub([this](DialogDriver &hub, QListWidget &list) {
        EXPECT_FALSE(hub.control(C::RenameButton)->isEnabled());
        select(list, QStringLiteral("Work"));
        EXPECT_TRUE(hub.control(C::RenameButton)->isEnabled());
        qobject_cast<QCheckBox *>(hub.control(C::ThroughTripsBox))->setChecked(true);
        hub.click(C::RenameButton);
    });
    onNameDialog(QStringLiteral("home"), N::EditOkButton);
    leaveHub();
    app.command(ButtonCategories);
    EXPECT_EQ(stored(), (std::vector<QString>{"Holiday", "Job", "Shopping", "Home"}));
    EXPECT_EQ(storedTripCategories(), (std::vector<QString>{"Home", "Home", "Home"}));
    EXPECT_EQ(app.list().row(0), (QStringList{"01-10-05", "Home", "2.00"})) << "sorted again";
    EXPECT_EQ(app.state().settings.CatRecsApply, 1u);
}

TEST_F(Categories, deletingTakesTheTripsAlongOnlyWithTheBoxSet)
{
    start({trip(2005, 10, 1, 100, "Job"), trip(2005, 10, 2, 200, "Shopping"),
           trip(2005, 10, 3, 300, "Job")});
    const auto deleteCategory = [this](const char *name, bool throughTrips, MessageAnswer answer) {
        app.kit.messageBoxes.expect(answer);
        onHub([=](DialogDriver &hub, QListWidget &list) {
            select(list, QString::fromLatin1(name));
            qobject_cast<QCheckBox *>(hub.control(C::ThroughTripsBox))->setChecked(throughTrips);
            hub.click(C::DeleteButton);
            EXPECT_EQ(hub.result(), answer == MessageAnswer::Yes ? int(C::DeleteButton) : 0);
            if (answer == MessageAnswer::No)
                hub.shellOk();
        });
        if (answer == MessageAnswer::Yes)
            leaveHub();
        app.command(CmdEditCategories);
    };
    deleteCategory("Job", true, MessageAnswer::No);
    EXPECT_EQ(app.kit.messageBoxes.texts().back(),
              QStringLiteral("Selected item will be permanently deleted. Continue?"));
    EXPECT_EQ(stored(), (std::vector<QString>{"Holiday", "Job", "Shopping"}));
    EXPECT_EQ(app.list().rowCount(), 3);
    EXPECT_FALSE(app.log().categoriesChangedThisRun());

    deleteCategory("Shopping", false, MessageAnswer::Yes);
    EXPECT_EQ(storedTripCategories(), (std::vector<QString>{"Job", "Shopping", "Job"}));
    EXPECT_EQ(app.state().settings.CatRecsApply, 0u);

    deleteCategory("Job", true, MessageAnswer::Yes);
    EXPECT_EQ(stored(), (std::vector<QString>{"Holiday"}));
    EXPECT_EQ(storedTripCategories(), (std::vector<QString>{"Shopping"}));
    ASSERT_EQ(app.list().rowCount(), 1);
    EXPECT_EQ(app.list().row(0)[1], QStringLiteral("Shopping"));
    EXPECT_EQ(app.statusValue(StatusPane::RegisteredValue), QStringLiteral("2.00"));
    EXPECT_TRUE(app.log().categoriesChangedThisRun());
}

} // namespace
