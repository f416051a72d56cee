#include "StatusDialog.h"
#include "Commands.h"
#include "DeviceFrame.h"
#include "Program.h"
#include "ProgramState.h"
#include "StatusPane.h"
#include "Testkit.h"
#include "TripLog.h"

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

using D = StatusDialog;

class StatusChange : public ::testing::Test
{
protected:
    void start(QSize screen = Screen::Portrait, std::uint32_t distanceView = 0)
    {
        app = std::make_unique<TestApp>(screen);
        if (distanceView)
            app->seedSetting("DistanceTypeView", distanceView);
        app->seed({trip(2005, 10, 1, 5000)}, 100000, 200000, makeDate(2005, 10, 20));
        ASSERT_TRUE(app->start());
    }
    // Opens "Change Status" and lets the script act on the dialog.
    void changeStatus(std::function<void(DialogDriver &)> script)
    {
        app->onDialog([script](DialogDriver &dialog) { script(dialog); });
        app->clickPane(StatusPane::ChangeStatusButton);
    }
    static void enter(DialogDriver &dialog, const char *starts, const char *ends)
    {
        dialog.setText(D::StartsEdit, QString::fromLatin1(starts));
        dialog.setText(D::EndsEdit, QString::fromLatin1(ends));
    }

    std::unique_ptr<TestApp> app;
};

TEST_F(StatusChange, opensOnTheStatusAndAcceptedReadingsAreStoredAndShown)
{
    start();
    changeStatus([this](DialogDriver &dialog) {
        EXPECT_EQ(dialog.caption(), QStringLiteral("Kilometers"));
        EXPECT_EQ(dialog.date(D::DatePicker), QDate(2005, 10, 20));
        EXPECT_EQ(dialog.text(D::StartsEdit), QStringLiteral("1,000.00"));
        EXPECT_EQ(dialog.text(D::EndsEdit), QStringLiteral("2,000.00"));
        EXPECT_EQ(dialog.text(D::NotesEdit), QStringLiteral(" "));
        EXPECT_EQ(dialog.focusedControl(), D::EndsEdit);
        EXPECT_TRUE(app->kit.inputPanel.isShown());
        dynamic_cast<FramePage &>(*dialog.control(D::OkButton)->parent()).pageHelp();

        dialog.setDate(D::DatePicker, QDate(2006, 3, 4));
        enter(dialog, "  1500 ", "2,500.5");
        dialog.setText(D::NotesEdit, QStringLiteral("  winter tyres  "));
        dialog.shellOk(); // the title-bar ok is the dialog's OK
        EXPECT_EQ(dialog.result(), D::OkButton);
        EXPECT_FALSE(app->kit.inputPanel.isShown());
    });
    EXPECT_EQ(app->kit.helpViewer.opened, QStringList{"file:tripvaneppc.htm#OdometerStatus"});
    EXPECT_EQ(app->statusValue(StatusPane::StartsValue), QStringLiteral("1,500.00"));
    EXPECT_EQ(app->statusValue(StatusPane::EndsValue), QStringLiteral("2,500.50"));
    EXPECT_EQ(app->statusValue(StatusPane::RegisteredValue), QStringLiteral("50.00"));
    EXPECT_EQ(app->statusValue(StatusPane::BalanceValue), QStringLiteral("950.50"));
    EXPECT_EQ(app->heading(), QStringLiteral("Odometer status on 04-03-06"));
    EXPECT_EQ(app->log().status().end.memo, QStringLiteral("winter tyres"));
    EXPECT_TRUE(app->kit.messageBoxes.shown.empty());

    app->close();
    TestApp again(Screen::Portrait, app->devicePath());
    ASSERT_TRUE(again.start());
    EXPECT_EQ(again.statusValue(StatusPane::EndsValue), QStringLiteral("2,500.50"));
    EXPECT_EQ(again.heading(), QStringLiteral("Odometer status on 04-03-06"));
    EXPECT_EQ(again.log().status().start.memo, QStringLiteral("winter tyres"));
}

TEST_F(StatusChange, equalReadingsAreRefusedCancelKeepsTheStatusAndAFailedWriteStillCloses)
{
    start(Screen::Portrait, 1);
    app->kit.messageBoxes.expect(MessageAnswer::Ok);
    changeStatus([this](DialogDriver &dialog) {
        enter(dialog, "150,00", "150,00");
        dialog.click(D::OkButton);
        EXPECT_EQ(dialog.result(), 0) << "the dialog stays open";
        EXPECT_EQ(dialog.focusedControl(), D::EndsEdit);
        EXPECT_EQ(app->kit.beeper.count, 1);
        dialog.click(D::CancelButton);
    });
    EXPECT_EQ(app->kit.messageBoxes.texts(),
              QStringList{"Starts value must be less than Ends value !"});
    EXPECT_EQ(app->kit.messageBoxes.shown[0].request.icon, MessageIcon::Exclamation);
    EXPECT_EQ(app->log().status().start.distance, 100000);
    EXPECT_EQ(app->log().status().end.distance, 200000);
    EXPECT_EQ(app->log().status().end.dateKey, 20051020u);
    EXPECT_EQ(app->statusValue(StatusPane::EndsValue), QStringLiteral("2.000,00"));

    app->program().store().setWriteHook([] { return false; });
    app->kit.messageBoxes.expect(MessageAnswer::Ok);
    changeStatus([](DialogDriver &dialog) {
        enter(dialog, "10", "20");
        dialog.click(D::OkButton);
        EXPECT_EQ(dialog.result(), D::OkButton);
    });
    EXPECT_EQ(app->kit.messageBoxes.texts().back(),
              QStringLiteral("Error during edit operation in database: Velmora OdometerRecStatus"));
    EXPECT_EQ(app->statusValue(StatusPane::EndsValue), QStringLiteral("20,00"));
    app->program().store().setWriteHook({});
}

} // namespace
