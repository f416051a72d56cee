#include "Installation.h"
#include "DataTable.h"
#include "DesktopRegistry.h"
#include "DeviceRoot.h"
#include "SetupStrings.h"
#include "SmallFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <sys/stat.h>

using namespace tripvane;
using namespace tripvane::setup;

namespace {

TEST(ChooseIni, followsTheEndingTable)
{
    struct Case
    {
        int major, type, architecture;
        std::variant<QString, int> chosen;
    };
    const Case cases[] = {
        {4, 2577, 5, QStringLiteral("PPC2003_ARM.ini")},
        {5, 2577, 5, QStringLiteral("PPC2003_ARM.ini")},
        {4, 10003, 4, int(UnknownProcessor)},
        {4, 4000, 1, int(UnknownProcessor)},
        {3, 4000, 1, QStringLiteral("MIPS.ini")},
        {3, 9999, 1, QStringLiteral("MIPS.ini")}, // the architecture alone says MIPS
        {3, 10003, 4, QStringLiteral("SH.ini")},
        {3, 10004, 4, QStringLiteral("SH.ini")},
        {3, 10005, 4, QStringLiteral("SH.ini")},
        {3, 1824, 5, QStringLiteral("ARM.ini")},
        {3, 2080, 5, QStringLiteral("ARM.ini")},
        {3, 2336, 5, QStringLiteral("ARM.ini")},
        {3, 2577, 5, QStringLiteral("ARM.ini")},
        {3, 70001, 5, QStringLiteral("ARM.ini")},
        {3, 586, 0, int(UnknownProcessor)},
        {2, 2577, 5, int(NotPocketPc)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(chooseIni({c.major, c.type, c.architecture}), c.chosen)
            << c.major << " " << c.type;
}

class FakeLink final : public DeviceLink
{
public:
    enum Behaviour { Connects, Fails, Never };
    explicit FakeLink(Behaviour behaviour,
                      std::optional<DeviceIdentity> identity = DeviceIdentity{})
        : m_behaviour(behaviour)
        , m_identity(identity)
    {}
    bool connect() override
    {
        ++connects;
        while (m_behaviour == Never)
            std::this_thread::sleep_for(std::chrono::hours(1));
        return m_behaviour == Connects;
    }
    std::optional<DeviceIdentity> identity() override { return m_identity; }
    std::atomic<int> connects = 0;

private:
    Behaviour m_behaviour;
    std::optional<DeviceIdentity> m_identity;
};

// Time passes only in the record: the wait returns at once, with what the worker left (it gets
// a moment of real time when it will answer at all).
class RecordedTiming final : public SetupTiming
{
public:
    explicit RecordedTiming(bool answerComes)
        : m_answerComes(answerComes)
    {}
    void pause(int milliseconds) override { waits.push_back(milliseconds); }
    Connection waitForConnection(ConnectionSignal &signal, int milliseconds) override
    {
        waits.push_back(milliseconds);
        const auto outcome =
            signal.waitFor(m_answerComes ? std::chrono::seconds(10) : std::chrono::milliseconds(0));
        if (!outcome)
            return Connection::TimedOut;
        return *outcome ? Connection::Connected : Connection::Failed;
    }
    std::vector<int> waits;

private:
    bool m_answerComes;
};

class Installing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registry.setDefaultValue(setupString(ManagerKey), QStringLiteral("/opt/ceappmgr"));
    }
    std::optional<Handover> install(std::shared_ptr<FakeLink> link, bool answerComes = true,
                                    QByteArray folder = "/home/driver/setup")
    {
        timing = std::make_unique<RecordedTiming>(answerComes);
        InstallPlatform platform{
            .link = link,
            .registry = registry,
            .timing = *timing,
            .currentDirectory = folder,
            .showError = [this](int id) { errors.push_back(id); },
            .showConnecting = [this] { events.push_back("show"); },
            .closeConnecting = [this] { events.push_back("close"); },
            .connected = {},
        };
        return runInstallationStep(platform);
    }

    QTemporaryDir config;
    DesktopRegistry registry{config.filePath(QStringLiteral("registry"))};
    std::unique_ptr<RecordedTiming> timing;
    std::vector<int> errors;
    std::vector<std::string> events;
};

TEST_F(Installing, aPocketPc2003HandsItsIniOverAfterTheDesignedPauses)
{
    const auto handover = install(std::make_shared<FakeLink>(FakeLink::Connects));
    ASSERT_TRUE(handover);
    EXPECT_EQ(handover->managerPath, QStringLiteral("/opt/ceappmgr"));
    EXPECT_EQ(handover->iniPath, QByteArray("/home/driver/setup/PPC2003_ARM.ini"));
    EXPECT_EQ(timing->waits, (std::vector<int>{200, 200, 2000}));
    EXPECT_EQ(events, std::vector<std::string>{"show"}) << "the window closes itself";
    EXPECT_TRUE(errors.empty());
}

TEST_F(Installing, eachFailureShowsOneMessageAndHandsNothingOver)
{
    struct Case
    {
        const char *what;
        FakeLink::Behaviour behaviour;
        std::optional<DeviceIdentity> identity;
        int message;
    };
    const Case cases[] = {
        {"no device", FakeLink::Never, DeviceIdentity{}, NotConnected},
        {"the link fails", FakeLink::Fails, DeviceIdentity{}, CannotStart},
        {"a damaged identity", FakeLink::Connects, std::nullopt, NoVersionInfo},
        {"Windows CE 2", FakeLink::Connects, DeviceIdentity{2, 2577, 5}, NotPocketPc},
        {"a 2003 device on SH", FakeLink::Connects, DeviceIdentity{4, 10003, 4}, UnknownProcessor},
    };
    for (const Case &c : cases) {
        errors.clear();
        events.clear();
        auto link = std::make_shared<FakeLink>(c.behaviour, c.identity);
        EXPECT_FALSE(install(link, c.behaviour != FakeLink::Never)) << c.what;
        EXPECT_EQ(errors, std::vector<int>{c.message}) << c.what;
        EXPECT_EQ(events, (std::vector<std::string>{"show", "close"})) << c.what;
    }
}

TEST_F(Installing, withoutTheManagerOrWithTooLongAFolderNothingStarts)
{
    auto link = std::make_shared<FakeLink>(FakeLink::Connects);
    // Too long a folder is refused, not cut; a folder deleted under setup has no .ini.
    for (const QByteArray &folder : {QByteArray(250, 'x'), QByteArray()}) {
        errors.clear();
        EXPECT_FALSE(install(link, true, folder));
        EXPECT_EQ(errors, std::vector<int>{CannotStart});
        EXPECT_EQ(timing->waits, std::vector<int>{});
    }

    errors.clear();
    events.clear();
    QFile::remove(config.filePath(QStringLiteral("registry")));
    EXPECT_FALSE(install(link));
    EXPECT_EQ(errors, std::vector<int>{NoActiveSync});
    EXPECT_TRUE(events.empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(link->connects, 0) << "no connection was tried";

    // The longest folder that still fits, with blanks and a quote, comes through whole.
    registry.setDefaultValue(setupString(ManagerKey), QStringLiteral("/opt/ceappmgr"));
    // Bytes that are not UTF-8 reach the manager as they are.
    const QByteArray folder = "/my \"car\" \xff log" + QByteArray(226, 'x');
    ASSERT_EQ(('"' + folder + "\\PPC2003_ARM.ini\"").size(), MaxArgumentBytes);
    const auto handover = install(link, true, folder);
    ASSERT_TRUE(handover);
    EXPECT_EQ(handover->iniPath, folder + "/PPC2003_ARM.ini");
}

QByteArray unescaped(const QByteArray &text)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
        } else if (text[++i] == 'x') {
            bytes += char(text.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        } else {
            bytes += text[i] == 'r'   ? '\r'
                     : text[i] == 'n' ? '\n'
                     : text[i] == 't' ? '\t'
                                      : text[i];
        }
    }
    return bytes;
}

TEST(SetupFiles, areReadAsOtherEditorsLeaveThemAndNeverBlock)
{
    QTemporaryDir dir;
    const DeviceRoot device(dir.path());
    const QString identityPath = device.localPath(QStringLiteral("\\device-identity"));
    const DesktopRegistry registry(dir.filePath(QStringLiteral("registry")));
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) >= 0;
    };
    for (const QStringList &fields : dataTable("setup-files.txt")) {
        ASSERT_EQ(fields.size(), 3) << fields.join(u'|').toStdString();
        QString read = QStringLiteral("-");
        if (fields[0] == u"registry") {
            ASSERT_TRUE(
                write(dir.filePath(QStringLiteral("registry")), unescaped(fields[1].toUtf8())));
            read = registry.defaultValue(setupString(ManagerKey)).value_or(read);
        } else {
            ASSERT_TRUE(write(identityPath, unescaped(fields[1].toUtf8())));
            if (const auto identity = DeviceIdentity::read(device)) {
                read = identity->osMajorVersion < 3 ? QString::number(identity->osMajorVersion)
                                                    : QStringLiteral("%1 %2 %3")
                                                          .arg(identity->osMajorVersion)
                                                          .arg(identity->processorType)
                                                          .arg(identity->processorArchitecture);
            }
        }
        EXPECT_EQ(read, fields[2]) << fields[1].toStdString();
    }
    EXPECT_TRUE(registry.setDefaultValue(QStringLiteral("a"), QStringLiteral("b")));
    EXPECT_TRUE(registry.setDefaultValue(QStringLiteral("A"), QStringLiteral("c=d")));
    EXPECT_EQ(registry.defaultValue(QStringLiteral("a")), QStringLiteral("c=d"));
    EXPECT_FALSE(registry.setDefaultValue(QStringLiteral("a=b"), QStringLiteral("v")));

    // A pipe with no writer, an endless device and a file too large are refused at once, and
    // a registry that cannot be read is not replaced.
    for (const QString &path : {identityPath, dir.filePath(QStringLiteral("registry"))}) {
        QFile::remove(path);
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    EXPECT_FALSE(DeviceIdentity::read(device));
    EXPECT_FALSE(registry.defaultValue(setupString(ManagerKey)));
    EXPECT_FALSE(registry.setDefaultValue(QStringLiteral("a"), QStringLiteral("b")));
    QFile::remove(identityPath);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), identityPath));
    EXPECT_FALSE(DeviceIdentity::read(device));
    QString problem;
    ASSERT_TRUE(write(dir.filePath(QStringLiteral("large")), QByteArray(4097, '\n')));
    EXPECT_FALSE(readSmallFile(dir.filePath(QStringLiteral("large")), 4096, &problem));
    EXPECT_EQ(problem, QStringLiteral("larger than 4096 bytes"));
}

TEST(DeviceIdentityFile, isWrittenOnlyWhenAbsent)
{
    QTemporaryDir dir;
    const DeviceRoot device(dir.path());
    ASSERT_TRUE(DeviceIdentity::writeIfAbsent(device));
    EXPECT_EQ(DeviceIdentity::read(device)->processorType, 2577);
    QFile file(device.localPath(QStringLiteral("\\device-identity")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("garbage");
    file.close();
    ASSERT_TRUE(DeviceIdentity::writeIfAbsent(device));
    EXPECT_FALSE(DeviceIdentity::read(device)) << "an existing file is left alone";
}

// A mark that starts the first line after the file's own is part of that line's key, also in
// the text written back with a value set.
TEST(DesktopRegistryText, aKeyStartingWithAMarkStaysItsOwnWhenAValueIsSet)
{
    const QByteArray text("\xEF\xBB\xBF\xEF\xBB\xBFK=/a\n");
    EXPECT_FALSE(DesktopRegistry::valueIn(text, QStringLiteral("K")));
    const std::optional<QByteArray> changed =
        DesktopRegistry::withValue(text, QStringLiteral("Other"), QStringLiteral("1"));
    ASSERT_TRUE(changed);
    EXPECT_FALSE(DesktopRegistry::valueIn(*changed, QStringLiteral("K")));
    EXPECT_EQ(DesktopRegistry::valueIn(*changed, QStringLiteral("Other")), QStringLiteral("1"));
}

} // namespace
