#include "Testkit.h"

#include "StringTable.h"

#include "AboutDialog.h"
#include "AppSettings.h"

#include "TerminationSignals.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include <csignal>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace tripvane;

TEST(Services, messageHasTheProductCaptionAndComesWithoutTheWaitCursor)
{
    TestServices kit;
    kit.messageBoxes.expect(MessageAnswer::Ok);
    {
        WaitCursorGuard busy(kit.services().waitCursor());
        EXPECT_TRUE(kit.waitCursor.isShown());
        kit.services().message(IDS_CANNOT_CONTINUE, MessageIcon::Stop);
        EXPECT_FALSE(kit.waitCursor.isShown());
    }
    ASSERT_EQ(kit.messageBoxes.shown.size(), 1u);
    const auto &box = kit.messageBoxes.shown.front();
    EXPECT_EQ(box.request.caption, QStringLiteral("Tripvane"));
    EXPECT_EQ(box.request.text, QStringLiteral("The Tripvane program cannot continue!"));
    EXPECT_EQ(box.request.icon, MessageIcon::Stop);
    EXPECT_FALSE(box.underWaitCursor);
}

// The testkit answers boxes in the scripted order and hands each dialog to its script; a box or
// dialog no script answers fails the test, and the box is declined so nothing is lost.
TEST(Services, theScriptAnswersInOrderAndAnUnscriptedBoxOrDialogFailsTheTest)
{
    TestServices kit;
    const auto ask = [&](const char *text) {
        return kit.services().message(QString::fromLatin1(text), MessageIcon::Exclamation,
                                      MessageButtons::YesNo);
    };
    kit.messageBoxes.expect({MessageAnswer::Yes, MessageAnswer::Ok});
    EXPECT_EQ(ask("a"), MessageAnswer::Yes);
    EXPECT_EQ(ask("b"), MessageAnswer::Ok);
    MessageAnswer answer = MessageAnswer::Yes;
    EXPECT_NONFATAL_FAILURE(answer = ask("surprise"), "unexpected message box: surprise");
    EXPECT_EQ(answer, MessageAnswer::No);
    EXPECT_EQ(kit.messageBoxes.texts(), (QStringList{"a", "b", "surprise"}));

    const AppSettings settings;
    AboutDialog dialog(kit.services(), settings);
    kit.dialogRunner.expect([](QDialog &d) { d.done(1033); });
    EXPECT_EQ(kit.services().dialogRunner().run(dialog), 1033);
    EXPECT_NONFATAL_FAILURE(kit.services().dialogRunner().run(dialog), "unexpected dialog");
}

TEST(DesktopMessageBox, staysInsideTheHandheldScreenAndCentresOnIt)
{
    QWidget screen;
    screen.setObjectName(QStringLiteral("deviceFrame"));
    screen.setGeometry(300, 200, 240, 320);
    screen.show();
    auto services = makeDesktopServices();
    QRect shown;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        shown = box->frameGeometry();
        auto *buttons = box->findChild<QDialogButtonBox *>();
        buttons->button(QDialogButtonBox::Yes)->click();
    });
    const MessageAnswer answer = services->message(
        QStringLiteral("The Undo can hold only 12 records. Deleting this record will add it to "
                       "the end and discard the first record. Do you want to delete it anyway?"),
        MessageIcon::Exclamation, MessageButtons::YesNo);
    EXPECT_EQ(answer, MessageAnswer::Yes);
    EXPECT_LE(shown.width(), 240);
    EXPECT_LE((shown.center() - screen.geometry().center()).manhattanLength(), 2);
}

TEST(TerminationSignals, aSignalBeforeTheApplicationIsAnsweredOnceItRuns)
{
    TerminationSignals::catchFromNowOn();
    std::raise(SIGTERM); // ends this test by the default action if not caught
    TerminationSignals termination;
    QSignalSpy requested(&termination, &TerminationSignals::terminationRequested);
    EXPECT_TRUE(requested.wait(2000));
}
