#include "AppSettings.h"
#include "ObjectStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

class AppSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(store.open(dir.filePath(QStringLiteral("s.db"))), ObjectStore::OpenStatus::Ok);
    }
    AppSettings loaded()
    {
        AppSettings settings;
        EXPECT_TRUE(settings.load(store, QStringLiteral("Velmora"), QStringLiteral("Tripvane")));
        return settings;
    }
    void put(const char *key, const char *name, RegistryValue value)
    {
        const QString path = QString::fromLatin1(key);
        store.createKey(path);
        store.setValue(path, QString::fromLatin1(name), value);
    }

    QTemporaryDir dir;
    ObjectStore store;
    const char *settingsKey = "Software\\Velmora\\Tripvane\\Settings";
    const char *versionKey = "Software\\Velmora\\Tripvane";
};

// The version is the installer's: a first exit fills it in, a later one leaves it alone.
TEST_F(AppSettingsTest, theVersionIsFilledInOnlyWhereNoInstallationLeftOne)
{
    const AppSettings settings = loaded();
    ASSERT_TRUE(settings.save(store));
    EXPECT_TRUE(store.queryValue(QString::fromLatin1(versionKey), QStringLiteral("MinorVersion")));
    put(versionKey, "MinorVersion", {REG_DWORD, 7, {}}); // installed while the program ran
    ASSERT_TRUE(settings.save(store));
    EXPECT_EQ(loaded().MinorVersion, 7u);
}

TEST_F(AppSettingsTest, outOfBoundsAndWrongTypesAreIgnoredValueByValue)
{
    put(settingsKey, "DateTypeView", {REG_DWORD, 4, {}});
    put(settingsKey, "Sort", {REG_DWORD, 1, {}});
    put(settingsKey, "SortOrder", {REG_DWORD, 0xFFFFFFFFu, {}});
    put(settingsKey, "DistanceTypeView", {REG_SZ, 0, QStringLiteral("1")});
    put(settingsKey, "ExportFileType", {REG_DWORD, 1, {}});
    put(versionKey, "MinorVersion", {REG_DWORD, 100, {}});
    put(versionKey, "MajorVersion", {REG_DWORD, 2, {}});
    AppSettings settings = loaded();
    EXPECT_EQ(settings.DateTypeView, 0u);
    EXPECT_EQ(settings.Sort, 0u);
    EXPECT_EQ(settings.SortOrder, 2u);
    EXPECT_EQ(settings.DistanceTypeView, 0u);
    EXPECT_EQ(settings.ExportFileType, 1u);
    EXPECT_EQ(settings.MinorVersion, 0u);
    EXPECT_EQ(settings.MajorVersion, 2u);

    put(versionKey, "MinorVersion", {REG_DWORD, 99, {}});
    EXPECT_EQ(loaded().MinorVersion, 99u);
}

// The maker and product name the key; without them nothing is read or written.
TEST_F(AppSettingsTest, theProductNamesTheKeyAndWithoutItNothingIsRead)
{
    put("Software\\Velmora\\Other\\Settings", "DateTypeView", {REG_DWORD, 2, {}});
    AppSettings other;
    other.load(store, QStringLiteral("Velmora"), QStringLiteral("Other"));
    EXPECT_EQ(other.DateTypeView, 2u);
    EXPECT_EQ(loaded().DateTypeView, 0u);

    put(settingsKey, "DateTypeView", {REG_DWORD, 2, {}});
    AppSettings unnamed;
    EXPECT_FALSE(unnamed.load(store, QString(), QStringLiteral("Tripvane")));
    EXPECT_EQ(unnamed.DateTypeView, 0u);
    EXPECT_FALSE(unnamed.save(store));
}

} // namespace

// Rates are values under the program's key: the store keeps its schema and version, so the
// release before rates opens it as it is; a value it cannot read is no table.
TEST_F(AppSettingsTest, ratesLeaveTheStoreAsTheReleaseBeforeThemReadsIt)
{
    RateTable table;
    table.currency = QStringLiteral("£");
    table.set({QStringLiteral("Job"), 20240406, 450, 1000000, 250, 4, 6});
    ASSERT_TRUE(saveRates(store, loaded(), table));
    const std::optional<RateTable> back = loadRates(store, loaded());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->rates, table.rates);
    EXPECT_EQ(back->currency, table.currency);
    EXPECT_EQ(ObjectStore::schemaVersion(), 2) << "a new schema would shut out the last release";
    EXPECT_EQ(ObjectStore::inspect(store.path(), true), ObjectStore::OpenStatus::Ok);
    put("Software\\Velmora\\Tripvane\\Rates", "Table", {REG_DWORD, 1, {}});
    EXPECT_FALSE(loadRates(store, loaded()));
}
