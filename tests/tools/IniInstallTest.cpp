#include "IniInstall.h"
#include "DeviceRoot.h"
#include "ObjectStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

const char *description = R"(; a comment
[Application]
Name=Tripvane
RegistryKey=Software\Velmora\Tripvane
MajorVersion=1
MinorVersion=20
[Files]
mileagelog=\Program Files\Tripvane\mileagelog
peghelp=\Windows\peghelp
)";

TEST(InstallDescription, readsTheApplicationAndItsFilesAndRefusesTheRest)
{
    QString problem;
    const auto read = InstallDescription::parse(QString::fromLatin1(description), &problem);
    ASSERT_TRUE(read) << problem.toStdString();
    EXPECT_EQ(read->registryKey, QStringLiteral("Software\\Velmora\\Tripvane"));
    EXPECT_EQ(read->minorVersion, 20u);
    ASSERT_EQ(read->files.size(), 2u);
    EXPECT_EQ(read->files[1].devicePath, QStringLiteral("\\Windows\\peghelp"));
    EXPECT_EQ(read->files[1].line, 9);

    const QString base = QString::fromLatin1(description);
    for (const QString &broken : {base.section(u'\n', 0, 4), // no minor version and no files
                                  QString(base).replace(QStringLiteral("MinorVersion=20"),
                                                        QStringLiteral("MinorVersion=x")),
                                  base + QStringLiteral("../../etc/passwd=\\Windows\\x\n"),
                                  base + QStringLiteral("peghelp=\\..\\..\\outside\n"),
                                  base + QStringLiteral("no equals\n")}) {
        EXPECT_FALSE(InstallDescription::parse(broken, &problem)) << broken.toStdString();
        EXPECT_FALSE(problem.isEmpty());
    }
}

TEST(InstallDescription, installsEveryFileAndTheVersionOrNothingWhenAFileIsMissing)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("dist"));
    QDir().mkpath(source);
    for (const char *name : {"mileagelog", "peghelp"}) {
        QFile file(QDir(source).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(name);
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ExeOwner);
    }
    const auto read = InstallDescription::parse(QString::fromLatin1(description), nullptr);
    ASSERT_TRUE(read);
    const DeviceRoot device(dir.filePath(QStringLiteral("device")));

    InstallDescription more = *read;
    more.files.emplace_back(QStringLiteral("missing"), QStringLiteral("\\Windows\\missing"));
    EXPECT_FALSE(install(more, {source}, device).isEmpty());
    EXPECT_FALSE(QFile::exists(device.localPath(QStringLiteral("\\Windows\\peghelp"))))
        << "nothing copied when a file is missing";

    ASSERT_EQ(install(*read, {dir.filePath(QStringLiteral("elsewhere")), source}, device),
              QString());
    const QString program =
        device.localPath(QStringLiteral("\\Program Files\\Tripvane\\mileagelog"));
    QFile copied(program);
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), QByteArray("mileagelog"));
    EXPECT_TRUE(QFileInfo(program).isExecutable());
    ObjectStore registry;
    ASSERT_EQ(registry.open(device.storePath()), ObjectStore::OpenStatus::Ok);
    const auto minor = registry.queryValue(QStringLiteral("Software\\Velmora\\Tripvane"),
                                           QStringLiteral("MinorVersion"));
    ASSERT_TRUE(minor);
    EXPECT_EQ(minor->dword, 20u);

    // A version that cannot be written (the store is held by another program) takes the new
    // files back with it: the old ones stay, and nothing of the attempt is left behind.
    QFile changed(QDir(source).filePath(QStringLiteral("mileagelog")));
    ASSERT_TRUE(changed.open(QIODevice::WriteOnly));
    changed.write("version 2");
    changed.close();
    more = *read;
    more.minorVersion = 21;
    ObjectStore other;
    ASSERT_EQ(other.open(device.storePath()), ObjectStore::OpenStatus::Ok);
    other.inTransaction([&] { // its write lock is held until the work ends
        EXPECT_NE(install(more, {source}, device), QString());
        return false;
    });
    copied.seek(0);
    EXPECT_EQ(copied.readAll(), QByteArray("mileagelog"));
    EXPECT_EQ(QDir(QFileInfo(program).path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("mileagelog")});
    EXPECT_EQ(registry
                  .queryValue(QStringLiteral("Software\\Velmora\\Tripvane"),
                              QStringLiteral("MinorVersion"))
                  ->dword,
              20u);
}

} // namespace
