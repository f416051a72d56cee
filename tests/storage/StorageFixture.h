#pragma once

#include "DatabaseLayouts.h"
#include "Databases.h"
#include "DeviceRoot.h"
#include "ObjectStore.h"
#include "Testkit.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace tripvane {

// A fresh device with an open store, the program's lists and recording services.
class StorageFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        device = std::make_unique<DeviceRoot>(m_dir.path() + QStringLiteral("/device"));
        ASSERT_TRUE(device->prepare());
        reopen();
    }

    // Starts again as the program does: a new store connection, empty lists, open all.
    void reopen()
    {
        databases.reset();
        store = std::make_unique<ObjectStore>();
        ASSERT_EQ(store->open(device->storePath()), ObjectStore::OpenStatus::Ok);
        databases = std::make_unique<Databases>(*store);
        categories.clear();
        book.clear();
        records.clear();
        ASSERT_TRUE(databases->openAll(categories, book));
    }

    // Adds through the writer and keeps the list in step, as the shell does.
    std::int32_t addTrip(const MileageRecord &record)
    {
        std::int32_t key = 0;
        EXPECT_TRUE(databases->addRecord(record, kit.clock.nowUtc(), key));
        MileageRecord stored;
        stored.copyFrom(record);
        stored.key = key;
        records.append(stored);
        return key;
    }

    std::vector<std::int32_t> storedKeys()
    {
        RecordList loaded;
        MileageRecord scratch;
        databases->loadRecords(loaded, scratch);
        std::vector<std::int32_t> keys;
        for (ListPosition i = 0; i < loaded.size(); ++i)
            keys.push_back(loaded.at(i).key);
        return keys;
    }

    // What the databases kept of their failures since the last call: kind and named database.
    std::vector<std::pair<StoreFailure::Kind, QString>> takeFailures()
    {
        std::vector<std::pair<StoreFailure::Kind, QString>> kept;
        for (const StoreFailure &failure : databases->takeFailures())
            kept.emplace_back(failure.kind, failure.name);
        return kept;
    }

    Oid databaseOid(const QString &name)
    {
        Oid oid = 0;
        EXPECT_TRUE(store->findDatabase(name, oid));
        return oid;
    }

    QTemporaryDir m_dir;
    TestServices kit;
    std::unique_ptr<DeviceRoot> device;
    std::unique_ptr<ObjectStore> store;
    std::unique_ptr<Databases> databases;
    CategoryList categories;
    RouteList book;
    RecordList records;
    MileageRecord underEdit;
    OdometerHolders holders;
};

} // namespace tripvane
