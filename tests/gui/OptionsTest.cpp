#include "AboutDialog.h"
#include "Commands.h"
#include "ProgramState.h"
#include "RecordDialog.h"
#include "Testkit.h"
#include "ViewOptionsDialog.h"

#include <QComboBox>

#include <gtest/gtest.h>

using namespace tripvane;
using V = ViewOptionsDialog;
using R = RecordDialog;

namespace {

class ViewOptions : public ::testing::Test
{
protected:
    void start(std::uint32_t dateView = 0)
    {
        app.seed({trip(2005, 10, 29, 100087)});
        app.seedSetting("DateTypeView", dateView);
        ASSERT_TRUE(app.start());
    }
    // Types an amount into a new trip and taps OK; a refused one is answered and cancelled.
    void typeNewTrip(const char *distance, bool refused)
    {
        if (refused)
            app.kit.messageBoxes.expect(MessageAnswer::Ok);
        app.onDialog([distance, refused](DialogDriver &dialog) {
            dialog.setText(R::DistanceEdit, QString::fromLatin1(distance));
            dialog.select(R::CategoryCombo, QStringLiteral("Job"));
            dialog.click(R::OkButton);
            EXPECT_EQ(dialog.result(), refused ? 0 : int(R::OkButton)) << distance;
            if (refused)
                dialog.click(R::CancelButton);
        });
        app.command(CmdNew);
    }

    TestApp app;
};

TEST_F(ViewOptions, samplesFollowTheListsCancelKeepsTheSettingsAndOkShowsTheNewForms)
{
    start(2);
    app.onDialog([this](DialogDriver &dialog) {
        auto *dates = qobject_cast<QComboBox *>(dialog.control(V::DateList));
        dates->showPopup();
        dates->hidePopup();
        EXPECT_FALSE(app.kit.inputPanel.isShown()) << "no field here takes typing";
        EXPECT_EQ(dialog.text(V::DateList), QStringLiteral("mm - dd - yyyy"));
        EXPECT_EQ(dialog.text(V::DateSample), QStringLiteral("10-29-05"));
        EXPECT_EQ(dialog.items(V::GroupingList), (QStringList{" , (comma)", " . (dot)"}));
        dialog.select(V::GroupingList, QStringLiteral(" . (dot)"));
        EXPECT_EQ(dialog.text(V::AmountSample), QStringLiteral("1.000,87"));
        dialog.select(V::DateList, QStringLiteral("dd / mm / yyyy"));
        EXPECT_EQ(dialog.text(V::DateSample), QStringLiteral("29/10/05"));
        dialog.click(V::CancelButton);
    });
    app.command(CmdViewOptions);
    EXPECT_EQ(app.state().settings.DistanceTypeView, 0u);
    EXPECT_EQ(app.state().settings.DateTypeView, 2u);
    EXPECT_EQ(app.list().row(0), (QStringList{"10-29-05", "Job", "1,000.87"}));

    // OK shows every list in the new forms and reads typed amounts so.
    app.onDialog([](DialogDriver &dialog) {
        dialog.select(V::GroupingList, QStringLiteral(" . (dot)"));
        dialog.select(V::DateList, QStringLiteral("dd / mm / yyyy"));
        dialog.shellOk();
        EXPECT_EQ(dialog.result(), V::OkButton);
    });
    app.command(CmdViewOptions);
    EXPECT_EQ(app.list().row(0), (QStringList{"29/10/05", "Job", "1.000,87"}));
    EXPECT_EQ(app.statusValue(1146), QStringLiteral("1.000,87")) << "the status pane too";
    typeNewTrip("1,000,87", true); // two decimal separators
    typeNewTrip("12,5", false);
    EXPECT_EQ(app.list().row(1)[2], QStringLiteral("12,50"));
}

TEST(About, showsTheInstalledVersion)
{
    struct Case
    {
        int major, minor; // -1: no value in the registry
        const char *shown;
    };
    for (const Case c : {Case{1, 20, "1.20"}, Case{-1, -1, "0.0"}}) {
        TestApp app;
        if (c.major >= 0) {
            const QString key = QStringLiteral("Software\\Velmora\\Tripvane");
            app.seedRegistry(key, QStringLiteral("MajorVersion"),
                             {REG_DWORD, std::uint32_t(c.major), {}});
            app.seedRegistry(key, QStringLiteral("MinorVersion"),
                             {REG_DWORD, std::uint32_t(c.minor), {}});
        }
        ASSERT_TRUE(app.start());
        app.onDialog([&](DialogDriver &dialog) {
            EXPECT_EQ(dialog.text(AboutDialog::Version), QString::fromLatin1(c.shown));
            dialog.shellOk();
        });
        app.command(CmdAbout);
    }
}

} // namespace
