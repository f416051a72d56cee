#include "Testkit.h"

#include "AboutDialog.h"
#include "AppSettings.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace tripvane;

// A box or dialog no script answers fails the test, and the box is declined so nothing is lost.
TEST(Services, anUnscriptedBoxOrDialogFailsTheTest)
{
    TestServices kit;
    MessageAnswer answer = MessageAnswer::Yes;
    EXPECT_NONFATAL_FAILURE(answer = kit.services().message(QStringLiteral("surprise"),
                                                            MessageIcon::Exclamation,
                                                            MessageButtons::YesNo),
                            "unexpected message box: surprise");
    EXPECT_EQ(answer, MessageAnswer::No);
    const AppSettings settings;
    AboutDialog dialog(kit.services(), settings);
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
