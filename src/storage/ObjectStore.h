#pragma once

#include "PropertyCodec.h"
#include "Sqlite.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace tripvane {

using Oid = std::uint32_t; // object identifier; 0 is none

inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_DWORD = 4;

struct RegistryValue
{
    std::uint32_t type = REG_DWORD;
    std::uint32_t dword = 0;
    QString text;
};

// The handheld's object store and registry in one SQLite file. Databases are opened by name,
// records come back in ascending order of property 0x00000013 (ties in the order written),
// and every change is one transaction, so a crash leaves either the old or the new state. A
// store belongs to the thread that opened it; another thread opens a store of its own.
class ObjectStore final
{
public:
    enum class OpenStatus { Ok, CannotCreate, NotAStore, Damaged, TooNew };

    static constexpr std::uint32_t SortProperty = 0x00000013;

    // Opens the store, creating it when the file does not exist yet. A file that is not a
    // store of ours, or is damaged, is left exactly as it is.
    OpenStatus open(const QString &path);
    // A second connection to a store another one has opened and checked, for reading only.
    bool openForReading(const QString &path);

    // What a store file is, found without changing it: Ok, NotAStore (another program's file,
    // none of SQLite's, or a schema other than ours), TooNew, or Damaged (a size its pages do
    // not take, or the whole file checked when thorough, else SQLite's quick check).
    static OpenStatus inspect(const QString &path, bool thorough, QString *problem = nullptr);
    // A consistent copy of this store in a new file of its own, private to the user; the copy
    // replaces what has the name only once it is complete.
    bool copyTo(const QString &path);
    // The same copy without the free pages, into an empty file that exists.
    bool compactCopyTo(const QString &emptyFile);
    // Plays back the journal that a write cut short left beside a store of ours, as the next
    // program to write it would, so that a reading connection can read it; true when it did.
    static bool finishInterruptedChange(const QString &path);
    QString path() const { return m_path; }

    // Database-level operations. findDatabase sets oid to 0 when the name is unknown.
    bool findDatabase(const QString &name, Oid &oid);
    Oid createDatabase(const QString &name);
    std::optional<std::uint32_t> recordCount(Oid database);

    // Record-level operations.
    // The visitor may take the values' texts: they are not used again.
    using RecordVisitor = std::function<bool(Oid record, PropertyValues &values)>;
    // Visits the records in store order; false when a record could not be read. A visitor that
    // returns false stops the walk early (still a success).
    bool forEachRecord(Oid database, const RecordVisitor &visit);
    // The same for a large database: SQLite is read on a second thread while this one visits.
    // The visitor must not use the store.
    bool forEachRecordReadAhead(Oid database, const RecordVisitor &visit);
    Oid seekFirstEqual(Oid database, std::uint32_t sortKey);
    // The sort keys of a database from first on, in ascending order.
    std::vector<std::uint32_t> sortKeysFrom(Oid database, std::uint32_t first);
    // Record 0 adds a record; otherwise the record's properties are replaced.
    Oid writeRecord(Oid database, Oid record, const PropertyValues &values);
    // A record as the store keeps it, made on any thread: a long run of new records is encoded
    // while the last ones are written.
    struct EncodedRecord
    {
        std::optional<std::int64_t> sortKey;
        QByteArray properties;
    };
    static EncodedRecord encodeRecord(const PropertyValues &values);
    // New records in their order; false at the first that cannot be written.
    bool insertEncoded(Oid database, std::span<const EncodedRecord> records);
    bool deleteRecord(Oid database, Oid record);
    // The record seekFirstEqual finds, changed in one statement: what a batch of changes by key
    // spends its time on.
    enum class KeyedChange { Done, NotFound, Failed };
    KeyedChange writeFirstEqual(Oid database, std::uint32_t sortKey, const PropertyValues &values);
    KeyedChange deleteFirstEqual(Oid database, std::uint32_t sortKey);

    // Replaces the whole content of the named database (created when missing) in one
    // transaction: the old records stay until the complete new set is committed.
    using RecordSource = std::function<bool(PropertyValues &values)>;
    bool replaceDatabase(const QString &name, const RecordSource &nextRecord, Oid *database);

    // Registry: keys are paths such as "Software\Velmora\Tripvane"; names are compared without
    // regard to ASCII case, as the device registry does.
    bool keyExists(const QString &path);
    bool createKey(const QString &path);
    std::optional<RegistryValue> queryValue(const QString &path, const QString &name);
    bool setValue(const QString &path, const QString &name, const RegistryValue &value);

    // Runs work inside one transaction; nothing of it stays unless it all succeeded.
    bool inTransaction(const std::function<bool()> &work);
    // The same with room for every page of a large log in the cache, so that a change through
    // all the trips reads each page once; the room is given back afterwards.
    bool inLargeTransaction(const std::function<bool()> &work);

    // Test seam: called before each record write; returning false makes that write fail.
    void setWriteHook(std::function<bool()> hook) { m_writeHook = std::move(hook); }

    // SQLite's text of the last failure, for the log beside the program's message.
    const QString &lastError() const { return m_db.lastError(); }
    // The version a store has once opened.
    static std::int64_t schemaVersion();

private:
    static OpenStatus check(SqliteConnection &db, const QString &path, bool thorough,
                            QString *problem, std::int64_t *version);
    // Runs the schema steps after fromVersion (0 for a new file), each in a transaction.
    bool upgradeSchema(std::int64_t fromVersion);
    bool writeAllowed() { return !m_writeHook || m_writeHook(); }
    bool visitRecords(SqliteStatement &statement, const RecordVisitor &visit);

    // Prepared once: the statements that run once per trip.
    SqliteStatement &cached(SqliteStatement &slot, const char *sql);
    KeyedChange runKeyed(SqliteStatement &statement, bool bound);

    QString m_path;
    SqliteConnection m_db;
    SqliteStatement m_seek;
    SqliteStatement m_insert;
    SqliteStatement m_insertMany;
    SqliteStatement m_update;
    SqliteStatement m_updateFirst;
    SqliteStatement m_deleteFirst;
    SqliteStatement m_delete;
    std::function<bool()> m_writeHook;
};

} // namespace tripvane
