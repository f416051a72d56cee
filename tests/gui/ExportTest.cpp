#include "Commands.h"
#include "DataTable.h"
#include "DeviceFrame.h"
#include "ExportDialog.h"
#include "ExportFlow.h"
#include "MainWindow.h"
#include "ProgramState.h"
#include "ReportDialog.h"
#include "Testkit.h"
#include "TripLog.h"

#include <QDir>
#include <QFile>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>

using namespace tripvane;
using E = ExportDialog;

namespace {

const QString nameRule = QStringLiteral(
    "Please, enter a unique name that is alphabetic character within the ranges A - Z or a - z or "
    "decimal digit (0 - 9).");

class Export : public ::testing::Test
{
protected:
    void start(std::vector<MileageRecord> trips = {})
    {
        if (!trips.empty())
            app.seed(trips);
        ASSERT_TRUE(app.start());
    }
    QString file(const char *folder, const QString &name) const
    {
        return app.devicePath() +
               QStringLiteral("/My Documents/%1/%2.csv").arg(QString::fromLatin1(folder), name);
    }
    QByteArray read(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no file)");
    }
    // Export Mileage records with a name and (optionally) radio choices; the result code.
    int exportTrips(const QString &name, std::vector<int> radios = {E::BusinessRadio})
    {
        int result = -1;
        app.onDialog([&](DialogDriver &dialog) {
            dialog.setText(E::NameEdit, name);
            for (int radio : radios)
                qobject_cast<QRadioButton *>(dialog.control(radio))->click();
            dialog.shellOk();
            result = dialog.result();
            if (result == 0)
                dialog.click(E::CancelButton);
        });
        app.command(CmdExportRecords);
        return result;
    }
    QString lastMessage() const
    {
        return app.kit.messageBoxes.texts().value(-1 + int(app.kit.messageBoxes.shown.size()));
    }

    TestApp app;
};

TEST_F(Export, theNameFollowsTheRuleAndIsOfferedAgain)
{
    struct Case
    {
        const char *typed;
        const char *message; // nullptr: none
        bool written;
    };
    const Case cases[] = {
        {"", nullptr, false},   {"a.b", "rule", false},         {"a-b", "rule", false},
        {"   ", "rule", false}, {" Trips 2005 ", "OK !", true},
    };
    start({trip(2005, 10, 29, 100)});
    for (const Case &c : cases) {
        const qsizetype before = app.kit.messageBoxes.shown.size();
        if (c.message)
            app.kit.messageBoxes.expect(MessageAnswer::Ok);
        EXPECT_EQ(exportTrips(QString::fromLatin1(c.typed)), c.written ? E::SuccessCode : 0)
            << c.typed;
        ASSERT_EQ(app.kit.messageBoxes.shown.size() - before, c.message ? 1 : 0) << c.typed;
        if (c.message) {
            EXPECT_EQ(lastMessage(),
                      std::strcmp(c.message, "rule") ? QString::fromLatin1(c.message) : nameRule);
        }
    }
    EXPECT_TRUE(QFile::exists(file("Business", QStringLiteral("Trips 2005"))));
    EXPECT_EQ(QFile(file("Business", QStringLiteral("Trips 2005"))).permissions(),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                  QFileDevice::WriteUser)
        << "private to the user";
    app.onDialog([](DialogDriver &dialog) {
        EXPECT_EQ(dialog.text(E::NameEdit), QStringLiteral("Trips 2005"));
        EXPECT_EQ(dialog.focusedControl(), E::NameEdit);
        dialog.click(E::CancelButton);
    });
    app.command(CmdExportRecords);
}

TEST_F(Export, linesHoldTheTripsAsTheListShowsThem)
{
    MileageRecord quoted = trip(2005, 10, 2, 100087, "Job", "say \"hi\" it's");
    quoted.setStartPlace(QStringLiteral("The \"Inn\""));
    quoted.setDestination(QStringLiteral("Caf\u00E9"));
    start({trip(2005, 10, 29, 1250, "Holiday"), quoted});
    app.state().settings.DistanceTypeView = 1;
    app.state().settings.DateTypeView = 1;
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    ASSERT_EQ(exportTrips(QStringLiteral("All"), {E::PersonalRadio}), E::SuccessCode);
    // In the order of the sorted list; an absent text is stored as a blank.
    EXPECT_EQ(read(file("Personal", QStringLiteral("All"))),
              dataFile(QStringLiteral("golden/trips-windows-1252.csv")));
    EXPECT_EQ(app.state().settings.ExportFileFolder, 1u);

    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    ASSERT_EQ(exportTrips(QStringLiteral("Wide"), {E::UnicodeRadio}), E::SuccessCode);
    const QByteArray wide = read(file("Personal", QStringLiteral("Wide")));
    EXPECT_TRUE(wide.startsWith(QByteArray("\"\0D\0", 4)));
    EXPECT_TRUE(wide.endsWith(QByteArray("\r\0\n\0", 4)));
}

// The old file stays byte for byte unless a new one was written completely.
TEST_F(Export, aReplacedFileIsNeverLost)
{
    start({trip(2005, 10, 29, 100)});
    const QString path = file("Business", QStringLiteral("Trips"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();

    app.kit.messageBoxes.expect(MessageAnswer::No);
    EXPECT_EQ(exportTrips(QStringLiteral("Trips")), 0);
    EXPECT_EQ(lastMessage(),
              QStringLiteral("File already exists - do you want replace existing file?"));
    EXPECT_EQ(read(path), QByteArray("old content"));

    // A disk that fills up: the file size limit stops the write.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{20, limit.rlim_max};
    app.kit.messageBoxes.expect({MessageAnswer::Yes, MessageAnswer::Ok});
    app.kit.messageBoxes.onShow = [&](const MessageBoxRequest &) {
        setrlimit(RLIMIT_FSIZE, &small); // after the question, while the file is written
    };
    EXPECT_EQ(exportTrips(QStringLiteral("Trips")), 0);
    setrlimit(RLIMIT_FSIZE, &limit);
    app.kit.messageBoxes.onShow = nullptr;
    EXPECT_EQ(lastMessage(), QStringLiteral("Program failed to write Mileage records in file."));
    EXPECT_EQ(read(path), QByteArray("old content"));
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files), QStringList{"Trips.csv"})
        << "no partial or temporary file";

    app.kit.messageBoxes.expect({MessageAnswer::Yes, MessageAnswer::Ok});
    EXPECT_EQ(exportTrips(QStringLiteral("Trips")), E::SuccessCode);
    EXPECT_TRUE(read(path).startsWith("\"Date\""));
}

TEST_F(Export, onlyAPlainWritableFolderAndAPlainFileAreWrittenTo)
{
    start({trip(2005, 10, 29, 100)});
    const QString documents = app.devicePath() + QStringLiteral("/My Documents");
    const QString elsewhere = app.devicePath() + QStringLiteral("/elsewhere");
    QDir().mkpath(elsewhere);
    ASSERT_TRUE(QDir(documents + QStringLiteral("/Personal")).removeRecursively());
    ASSERT_TRUE(QFile::link(elsewhere, documents + QStringLiteral("/Personal")));
    QFile::setPermissions(documents + QStringLiteral("/Business"),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString business = QStringLiteral(
        "Folder Business doesn't exist on you PocketPC. Please, restore original folder structure "
        "on you PocketPC, and try again.");
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    EXPECT_EQ(exportTrips(QStringLiteral("A")), 0);
    EXPECT_EQ(lastMessage(), business) << "a read-only folder";
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    EXPECT_EQ(exportTrips(QStringLiteral("A"), {E::PersonalRadio}), 0);
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("Folder Personal doesn't exist")));
    EXPECT_TRUE(QDir(elsewhere).isEmpty());

    QFile::setPermissions(documents + QStringLiteral("/Business"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString target = elsewhere + QStringLiteral("/target");
    QFile(target).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(target, documents + QStringLiteral("/Business/Link.csv")));
    app.kit.messageBoxes.expect({MessageAnswer::Yes, MessageAnswer::Ok});
    EXPECT_EQ(exportTrips(QStringLiteral("Link"), {E::BusinessRadio}), 0);
    EXPECT_EQ(lastMessage(),
              QStringLiteral("Cannot delete File. The source or destination file may be in use."));
    EXPECT_EQ(QFileInfo(target).size(), 0) << "nothing written through the link";

    app.kit.messageBoxes.expect(MessageAnswer::Ok); // 384 bytes: no file can have the name
    EXPECT_EQ(exportTrips(QString(128, QChar(0x6F22))), 0);
    EXPECT_EQ(lastMessage(), QStringLiteral("Program failed to create file."));
}

TEST_F(Export, cancelKeepsTheChoicesAndAFailedExportKeepsTheNewOnes)
{
    start();
    app.onDialog([](DialogDriver &dialog) {
        qobject_cast<QRadioButton *>(dialog.control(E::UnicodeRadio))->click();
        qobject_cast<QRadioButton *>(dialog.control(E::PersonalRadio))->click();
        EXPECT_TRUE(qobject_cast<QRadioButton *>(dialog.control(E::BusinessRadio))->isChecked() ==
                    false);
        dialog.click(E::CancelButton);
    });
    app.state().settings.ExportFileFolder = 0;
    app.command(CmdExportRecords);
    EXPECT_EQ(app.state().settings.ExportFileType, 0u);
    EXPECT_EQ(app.state().settings.ExportFileFolder, 0u);

    QDir(app.devicePath() + QStringLiteral("/My Documents/Personal")).removeRecursively();
    app.kit.messageBoxes.expect(MessageAnswer::Ok);
    EXPECT_EQ(exportTrips(QStringLiteral("X"), {E::UnicodeRadio, E::PersonalRadio}), 0);
    EXPECT_EQ(app.state().settings.ExportFileType, 1u);
    EXPECT_EQ(app.state().settings.ExportFileFolder, 1u);

    app.kit.messageBoxes.expect(MessageAnswer::Ok); // no trips: the header alone
    ASSERT_EQ(exportTrips(QStringLiteral("Empty"), {E::AsciiRadio, E::BusinessRadio}),
              E::SuccessCode);
    EXPECT_EQ(read(file("Business", QStringLiteral("Empty"))),
              QByteArray("\"Date\",\"Category\",\"Mileage\",\"Start.Place\",\"Destination\","
                         "\"Memo\"\r\n"));
}

TEST_F(Export, theReportWritesEveryCategoryInTheListedOrder)
{
    start({trip(2005, 10, 2, 1234560, "Job"), trip(2005, 10, 3, 50, "Shopping"),
           trip(2004, 1, 1, 999, "Holiday")});
    for (std::uint32_t view : {0u, 1u}) {
        app.state().settings.DistanceTypeView = view;
        if (view == 1)
            app.kit.messageBoxes.expect(MessageAnswer::Yes); // replace the first one
        app.kit.messageBoxes.expect(MessageAnswer::Ok);
        app.onDialog([this](DialogDriver &report) {
            report.setDate(ReportDialog::StartsPicker, QDate(2005, 10, 1));
            report.setDate(ReportDialog::EndsPicker, QDate(2005, 10, 31));
            report.click(ReportDialog::ViewButton);
            app.onDialog([](DialogDriver &dialog) {
                EXPECT_EQ(dialog.caption(), QStringLiteral("Export File Options"));
                dialog.setText(E::reportId(E::NameEdit), QStringLiteral("Report"));
                dialog.click(E::reportId(E::OkButton));
                EXPECT_EQ(dialog.result(), E::SuccessCode);
            });
            report.click(ReportDialog::ExportButton);
            report.shellOk();
        });
        app.command(CmdMileageReport);
        EXPECT_EQ(read(file("Personal", QStringLiteral("Report"))), // the folder at first
                  view == 0 ? QByteArray("\"Category\",\"Mileage\"\r\n\"Holiday\",\"0.00\"\r\n"
                                         "\"Job\",\"12,345.60\"\r\n\"Shopping\",\"0.50\"\r\n")
                            : QByteArray("\"Category\",\"Mileage\"\r\n\"Holiday\",\"0,00\"\r\n"
                                         "\"Job\",\"12.345,60\"\r\n\"Shopping\",\"0,50\"\r\n"))
            << view;
    }
    EXPECT_TRUE(app.window().exports().tripsName().isEmpty()) << "each dialog keeps its own name";
}

} // namespace
