#include "ObjectStore.h"

#include "BatchPipe.h"
#include "DatabaseLayouts.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <thread>

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

namespace tripvane {

namespace {

constexpr const char *DefaultCache = "PRAGMA cache_size = -2000";

// A walk through the whole file (the check at opening, the load of the trips) reads each page
// once: a small cache keeps those pages from taking megabytes the program keeps for good, and
// what it held is handed back after.
class WalkCache
{
public:
    explicit WalkCache(SqliteConnection &db)
        : m_db(db)
    {
        m_db.exec("PRAGMA cache_size = -256");
    }
    ~WalkCache()
    {
        if (!m_db.handle())
            return; // closed on the way
        m_db.exec(DefaultCache);
        sqlite3_db_release_memory(m_db.handle());
    }
    WalkCache(const WalkCache &) = delete;
    WalkCache &operator=(const WalkCache &) = delete;

private:
    SqliteConnection &m_db;
};

constexpr std::int64_t ApplicationId = 0x54525056; // "TRPV"
constexpr const char *TablesVersion1 = R"sql(
CREATE TABLE databases(
    oid INTEGER PRIMARY KEY,
    name TEXT NOT NULL UNIQUE,
    type INTEGER NOT NULL DEFAULT 0);
CREATE TABLE records(
    oid INTEGER PRIMARY KEY,
    database INTEGER NOT NULL REFERENCES databases(oid),
    sort_key INTEGER,
    properties TEXT NOT NULL);
CREATE INDEX records_in_order ON records(database, sort_key, oid);
CREATE TABLE registry_keys(path TEXT PRIMARY KEY COLLATE NOCASE);
CREATE TABLE registry_values(
    path TEXT NOT NULL COLLATE NOCASE,
    name TEXT NOT NULL COLLATE NOCASE,
    type INTEGER NOT NULL,
    value,
    PRIMARY KEY(path, name));

)sql";

// One view per database gives its properties named columns, from the table of layouts.
std::string viewsSql()
{
    std::string sql;
    for (const DatabaseView &view : databaseViews()) {
        sql += "DROP VIEW IF EXISTS " + std::string(view.view) + ";\n";
        sql += "CREATE VIEW " + std::string(view.view) + " AS SELECT r.oid AS record";
        for (const ViewColumn &column : view.columns) {
            char id[11];
            std::snprintf(id, sizeof id, "0x%08X", column.property);
            sql += ",\n    json_extract(r.properties, '$.\"" + std::string(id) + "\"') AS " +
                   column.name;
        }
        // Database names are ours and hold no quote.
        sql += "\n  FROM records r JOIN databases d ON d.oid = r.database\n  WHERE d.name = '" +
               view.database.toStdString() + "' ORDER BY r.sort_key, r.oid;\n";
    }
    return sql;
}

// Each step brings a store from the version before it to its own, in one transaction. A new
// store is made by running every step from nothing.
struct SchemaStep
{
    std::int64_t version;
    bool (*apply)(SqliteConnection &db);
};

constexpr SchemaStep schemaSteps[] = {
    {1, [](SqliteConnection &db) { return db.exec(TablesVersion1); }},
    // Views follow the table of layouts; version 1 wrote them out by hand.
    {2, [](SqliteConnection &db) { return db.exec(viewsSql().c_str()); }},
};

constexpr std::int64_t SchemaVersion = std::end(schemaSteps)[-1].version;

std::optional<std::int64_t> sortKeyOf(const PropertyValues &values)
{
    for (const PropertyValue &value : values) {
        if (value.id == ObjectStore::SortProperty)
            return value.number;
    }
    return std::nullopt;
}

bool bindSortKey(SqliteStatement &statement, int index, const PropertyValues &values)
{
    const auto key = sortKeyOf(values);
    return key ? statement.bind(index, *key) : true; // an unbound parameter is NULL
}

bool createPrivateFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_EXCL | O_WRONLY, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

std::optional<std::int64_t> pragmaNumber(SqliteConnection &db, const char *sql, int *error)
{
    SqliteStatement statement = db.prepare(sql);
    if (!statement.isValid() || statement.step() != SqliteStatement::Step::Row) {
        *error = sqlite3_extended_errcode(db.handle());
        return std::nullopt;
    }
    return statement.columnInt(0);
}

// One line of sqlite_schema: type, name, table and SQL text.
using SchemaEntry = std::array<QString, 4>;

std::optional<std::vector<SchemaEntry>> schemaOf(SqliteConnection &db)
{
    SqliteStatement statement = db.prepare(
        "SELECT type, name, tbl_name, ifnull(sql, '') FROM sqlite_schema ORDER BY type, name");
    std::vector<SchemaEntry> entries;
    SqliteStatement::Step step;
    while ((step = statement.step()) == SqliteStatement::Step::Row)
        entries.push_back({statement.columnText(0), statement.columnText(1),
                           statement.columnText(2), statement.columnText(3)});
    if (step == SqliteStatement::Step::Error)
        return std::nullopt;
    return entries;
}

// The schema this program makes at each version, made once in memory by the same steps.
// Version 1 wrote its views out by hand; the next step replaces them before anything reads
// them, so only their names are known (their SQL is left empty here), and any may be missing.
const std::vector<SchemaEntry> &ourSchema(std::int64_t version)
{
    static const auto schemas = [] {
        std::vector<std::vector<SchemaEntry>> made;
        for (const SchemaStep &last : schemaSteps) {
            SqliteConnection db;
            db.open(QStringLiteral(":memory:"), SqliteConnection::Mode::ReadWriteCreate);
            for (const SchemaStep &step : schemaSteps) {
                if (step.version <= std::max<std::int64_t>(last.version, 2))
                    step.apply(db);
            }
            std::vector<SchemaEntry> entries = schemaOf(db).value_or(std::vector<SchemaEntry>());
            for (SchemaEntry &entry : entries) {
                if (last.version == 1 && entry[0] == QLatin1String("view"))
                    entry[3].clear();
            }
            made.push_back(std::move(entries));
        }
        return made;
    }();
    return schemas.at(std::size_t(version - 1));
}

// Why the store is not one this program made at its version, read from its schema before any
// statement of ours runs on it: an extra trigger, view or index would run code of its own.
std::optional<QString> foreignSchema(SqliteConnection &db, std::int64_t version)
{
    const std::optional<std::vector<SchemaEntry>> found = schemaOf(db);
    if (!found)
        return db.lastError();
    if (version < 1)
        return QStringLiteral("a store without its tables");
    const std::vector<SchemaEntry> &expected = ourSchema(version);
    for (const SchemaEntry &entry : *found) {
        const auto same = [&entry](const SchemaEntry &ours) {
            return ours[0] == entry[0] && ours[1] == entry[1] && ours[2] == entry[2] &&
                   (ours[3] == entry[3] || (ours[0] == QLatin1String("view") && ours[3].isEmpty()));
        };
        if (std::ranges::none_of(expected, same))
            return QStringLiteral("a schema that is not this program's (%1 %2)")
                .arg(entry[0], entry[1]);
    }
    // Version 1's views are made again by the next step, whether or not they are all there.
    const auto required = [version](const std::vector<SchemaEntry> &entries) {
        return std::ranges::count_if(entries, [version](const SchemaEntry &entry) {
            return version > 1 || entry[0] != QLatin1String("view");
        });
    };
    if (required(*found) != required(expected))
        return QStringLiteral("a schema that lacks some of this program's tables");
    return std::nullopt;
}

// A file whose size is not what its pages take was cut short or padded, whatever SQLite's own
// check of the pages it knows says. Read under one read lock, so that a writer's commit
// cannot fall between the two looks.
std::optional<QString> wrongSize(SqliteConnection &db, const QString &path)
{
    int error = SQLITE_OK;
    if (!db.exec("BEGIN"))
        return db.lastError();
    const auto pages = pragmaNumber(db, "PRAGMA page_count", &error);
    const auto pageSize = pragmaNumber(db, "PRAGMA page_size", &error);
    const qint64 size = QFileInfo(path).size();
    db.exec("COMMIT");
    if (!pages || !pageSize)
        return db.lastError();
    if (*pages * *pageSize != size)
        return QStringLiteral("%1 bytes long where its %2 pages take %3: cut short or padded")
            .arg(size)
            .arg(*pages)
            .arg(*pages * *pageSize);
    return std::nullopt;
}

} // namespace

// What an opened file is, read before any statement of ours runs on it; version: the schema's.
ObjectStore::OpenStatus ObjectStore::check(SqliteConnection &db, const QString &path, bool thorough,
                                           QString *problem, std::int64_t *version)
{
    const auto fail = [problem](OpenStatus status, const QString &why) {
        if (problem)
            *problem = why;
        return status;
    };
    int error = SQLITE_OK;
    const auto applicationId = pragmaNumber(db, "PRAGMA application_id", &error);
    if (!applicationId)
        return fail((error & 0xFF) == SQLITE_NOTADB ? OpenStatus::NotAStore : OpenStatus::Damaged,
                    db.lastError());
    if (*applicationId != ApplicationId)
        return fail(OpenStatus::NotAStore, QStringLiteral("another program's database"));
    const auto found = pragmaNumber(db, "PRAGMA user_version", &error);
    if (!found)
        return fail(OpenStatus::Damaged, db.lastError());
    if (*found > SchemaVersion)
        return fail(
            OpenStatus::TooNew,
            QStringLiteral("schema version %1, newer than %2").arg(*found).arg(SchemaVersion));
    if (const std::optional<QString> foreign = foreignSchema(db, *found))
        return fail(OpenStatus::NotAStore, *foreign);
    if (const std::optional<QString> cut = wrongSize(db, path))
        return fail(OpenStatus::Damaged, *cut);
    const WalkCache cache(db);
    SqliteStatement check =
        db.prepare(thorough ? "PRAGMA integrity_check(1)" : "PRAGMA quick_check(1)");
    if (!check.isValid() || check.step() != SqliteStatement::Step::Row)
        return fail(OpenStatus::Damaged, db.lastError());
    if (check.columnText(0) != QLatin1String("ok"))
        return fail(OpenStatus::Damaged, check.columnText(0));
    if (version)
        *version = *found;
    return OpenStatus::Ok;
}

ObjectStore::OpenStatus ObjectStore::inspect(const QString &path, bool thorough, QString *problem)
{
    SqliteConnection db;
    if (!QFileInfo(path).isFile() || !db.open(path, SqliteConnection::Mode::ReadOnly)) {
        if (problem)
            *problem = QStringLiteral("no store file");
        return OpenStatus::NotAStore;
    }
    return check(db, path, thorough, problem, nullptr);
}

bool ObjectStore::copyTo(const QString &path)
{
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    if (!createPrivateFile(part))
        return false;
    bool copied = false;
    {
        SqliteConnection target;
        if (target.open(part, SqliteConnection::Mode::ReadWriteExisting)) {
            // One step holds the store's read lock throughout: a copy of one moment, also
            // while another program writes to it.
            sqlite3_backup *backup =
                sqlite3_backup_init(target.handle(), "main", m_db.handle(), "main");
            copied = backup && sqlite3_backup_step(backup, -1) == SQLITE_DONE;
            copied = sqlite3_backup_finish(backup) == SQLITE_OK && copied;
        }
    }
    QFile file(part);
    copied = copied && file.open(QIODevice::ReadWrite) && ::fsync(file.handle()) == 0;
    file.close();
    if (copied &&
        std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    QFile::remove(part);
    return false;
}

bool ObjectStore::finishInterruptedChange(const QString &path)
{
    const QString journal = path + QStringLiteral("-journal");
    if (QFileInfo(journal).size() <= 0)
        return false;
    // Only a store of ours is written to, and only by SQLite's own undo: it plays the journal
    // back as soon as the file is read for writing.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(72);
    file.close();
    if (!header.startsWith(QByteArrayLiteral("SQLite format 3\0")) || header.size() < 72 ||
        qFromBigEndian<quint32>(header.constData() + 68) != quint32(ApplicationId))
        return false;
    SqliteConnection db;
    int error = SQLITE_OK;
    return db.open(path, SqliteConnection::Mode::ReadWriteExisting) &&
           pragmaNumber(db, "PRAGMA application_id", &error) && !QFileInfo::exists(journal);
}

bool ObjectStore::compactCopyTo(const QString &emptyFile)
{
    // Only the pages in use are written: a file padded with free pages, or sparse, does not
    // grow into a store that fills the disk.
    SqliteStatement vacuum = m_db.prepare("VACUUM INTO ?");
    return vacuum.bind(1, emptyFile) && vacuum.run();
}

bool ObjectStore::openForReading(const QString &path)
{
    m_path = path;
    return m_db.open(path, SqliteConnection::Mode::ReadOnly);
}

ObjectStore::OpenStatus ObjectStore::open(const QString &path)
{
    m_path = path;
    const QFileInfo info(path);
    const bool made = !info.exists();
    if (made && !createPrivateFile(path))
        return OpenStatus::CannotCreate;
    // A file made here, or left empty by a start cut short, becomes a new store.
    std::int64_t version = 0;
    OpenStatus status = OpenStatus::CannotCreate;
    if (m_db.open(path, SqliteConnection::Mode::ReadWriteExisting))
        status =
            made || info.size() == 0 ? OpenStatus::Ok : check(m_db, path, false, nullptr, &version);
    if (status == OpenStatus::Ok && upgradeSchema(version))
        return OpenStatus::Ok;
    m_db.close();
    if (made)
        QFile::remove(path);
    return status == OpenStatus::Ok ? OpenStatus::CannotCreate : status;
}

bool ObjectStore::upgradeSchema(std::int64_t fromVersion)
{
    for (const SchemaStep &step : schemaSteps) {
        if (step.version <= fromVersion)
            continue;
        SqliteTransaction transaction(m_db);
        const bool done =
            transaction.isActive() && step.apply(m_db) &&
            m_db.exec(("PRAGMA application_id = " + std::to_string(ApplicationId)).c_str()) &&
            m_db.exec(("PRAGMA user_version = " + std::to_string(step.version)).c_str()) &&
            transaction.commit();
        if (!done)
            return false;
    }
    return true;
}

std::int64_t ObjectStore::schemaVersion()
{
    return SchemaVersion;
}

bool ObjectStore::findDatabase(const QString &name, Oid &oid)
{
    SqliteStatement statement = m_db.prepare("SELECT oid FROM databases WHERE name = ?");
    const auto step = statement.bind(1, name) ? statement.step() : SqliteStatement::Step::Error;
    oid = step == SqliteStatement::Step::Row ? Oid(statement.columnInt(0)) : 0;
    return step != SqliteStatement::Step::Error;
}

Oid ObjectStore::createDatabase(const QString &name)
{
    if (!writeAllowed())
        return 0;
    SqliteStatement statement = m_db.prepare("INSERT INTO databases(name, type) VALUES(?, 0)");
    if (!statement.bind(1, name) || !statement.run())
        return 0;
    return Oid(m_db.lastInsertRowId());
}

std::optional<std::uint32_t> ObjectStore::recordCount(Oid database)
{
    SqliteStatement statement = m_db.prepare("SELECT count(*) FROM records WHERE database = ?");
    if (!statement.bind(1, database) || statement.step() != SqliteStatement::Step::Row)
        return std::nullopt;
    return std::uint32_t(statement.columnInt(0));
}

namespace {

constexpr const char *RecordsInStoreOrder =
    "SELECT oid, properties FROM records WHERE database = ? ORDER BY sort_key, oid";

// Rows taken from SQLite by the reading thread: their properties one after the other.
struct RowBatch
{
    std::vector<Oid> records;
    std::vector<std::size_t> ends; // of each row's properties in text
    std::vector<char> text;
};

// Steps up to a batch of rows into an emptied batch; false once the statement is done, with
// failed set when it stopped on an error.
bool stepRows(SqliteStatement &statement, RowBatch &batch, bool &failed)
{
    constexpr std::size_t BatchRows = 512;
    batch.records.clear();
    batch.ends.clear();
    batch.text.clear();
    while (batch.records.size() < BatchRows) {
        const SqliteStatement::Step step = statement.step();
        if (step != SqliteStatement::Step::Row) {
            failed = step == SqliteStatement::Step::Error;
            return false;
        }
        int bytes = 0;
        const char *text = statement.columnUtf8(1, &bytes);
        batch.records.push_back(Oid(statement.columnInt(0)));
        if (text)
            batch.text.insert(batch.text.end(), text, text + bytes);
        batch.ends.push_back(batch.text.size());
    }
    return true;
}

} // namespace

bool ObjectStore::forEachRecordReadAhead(Oid database, const RecordVisitor &visit)
{
    const WalkCache cache(m_db); // outlives the statement, which holds pages while it steps
    SqliteStatement statement = m_db.prepare(RecordsInStoreOrder);
    if (!statement.bind(1, database))
        return false;
    // A library built without thread support may not be stepped from a second thread.
    if (!sqlite3_threadsafe())
        return visitRecords(statement, visit);
    // SQLite is stepped on a second thread while this one decodes and visits: on two cores a
    // large log loads in little more than half the time.
    statement.handToReadingThread();
    bool failed = false;
    BatchPipe<RowBatch> rows([&](RowBatch &batch) { return stepRows(statement, batch, failed); });
    RowBatch batch;
    PropertyValues values;
    while (rows.next(batch)) {
        std::size_t begin = 0;
        for (std::size_t row = 0; row < batch.records.size(); ++row) {
            const std::size_t end = batch.ends[row];
            if (!decodeProperties(batch.text.data() + begin, int(end - begin), values))
                return false;
            if (!visit(batch.records[row], values))
                return true;
            begin = end;
        }
    }
    return !failed;
}

bool ObjectStore::forEachRecord(Oid database, const RecordVisitor &visit)
{
    SqliteStatement statement = m_db.prepare(RecordsInStoreOrder);
    if (!statement.bind(1, database))
        return false;
    return visitRecords(statement, visit);
}

bool ObjectStore::visitRecords(SqliteStatement &statement, const RecordVisitor &visit)
{
    PropertyValues values;
    SqliteStatement::Step step;
    while ((step = statement.step()) == SqliteStatement::Step::Row) {
        int bytes = 0;
        const char *text = statement.columnUtf8(1, &bytes);
        if (!decodeProperties(text, bytes, values))
            return false;
        if (!visit(Oid(statement.columnInt(0)), values))
            return true;
    }
    return step == SqliteStatement::Step::Done;
}

SqliteStatement &ObjectStore::cached(SqliteStatement &slot, const char *sql)
{
    if (!slot.isValid())
        slot = m_db.prepare(sql);
    return slot;
}

Oid ObjectStore::seekFirstEqual(Oid database, std::uint32_t sortKey)
{
    SqliteStatement &statement = cached(
        m_seek, "SELECT oid FROM records WHERE database = ? AND sort_key = ? ORDER BY oid LIMIT 1");
    Oid found = 0;
    if (statement.bind(1, database) && statement.bind(2, std::int64_t(sortKey)) &&
        statement.step() == SqliteStatement::Step::Row)
        found = Oid(statement.columnInt(0));
    statement.reset();
    return found;
}

std::vector<std::uint32_t> ObjectStore::sortKeysFrom(Oid database, std::uint32_t first)
{
    SqliteStatement statement = m_db.prepare(
        "SELECT sort_key FROM records WHERE database = ? AND sort_key >= ? ORDER BY sort_key");
    std::vector<std::uint32_t> keys;
    if (statement.bind(1, database) && statement.bind(2, std::int64_t(first))) {
        while (statement.step() == SqliteStatement::Step::Row)
            keys.push_back(std::uint32_t(statement.columnInt(0)));
    }
    return keys;
}

ObjectStore::EncodedRecord ObjectStore::encodeRecord(const PropertyValues &values)
{
    return {sortKeyOf(values), encodeProperties(values)};
}

bool ObjectStore::insertEncoded(Oid database, std::span<const EncodedRecord> records)
{
    // A run of new records goes in many rows to a statement: starting and ending a statement
    // costs about as much as writing a row.
    constexpr std::size_t ManyRows = 16;
    constexpr const char *OneRowSql =
        "INSERT INTO records(database, sort_key, properties) VALUES(?, ?, ?)";
    static const std::string manyRowsSql = [&] {
        std::string sql = OneRowSql;
        for (std::size_t row = 1; row < ManyRows; ++row)
            sql += ", (?, ?, ?)";
        return sql;
    }();
    while (!records.empty()) {
        const std::size_t rows = records.size() >= ManyRows ? ManyRows : 1;
        SqliteStatement &statement = rows == ManyRows ? cached(m_insertMany, manyRowsSql.c_str())
                                                      : cached(m_insert, OneRowSql);
        bool bound = true;
        for (std::size_t row = 0; row < rows && bound; ++row) {
            const EncodedRecord &record = records[row];
            const int first = int(row) * 3 + 1;
            // An unbound sort key is NULL.
            bound = writeAllowed() && statement.bind(first, database) &&
                    (!record.sortKey || statement.bind(first + 1, *record.sortKey)) &&
                    statement.bindUtf8(first + 2, record.properties.constData(),
                                       int(record.properties.size()));
        }
        const bool inserted = bound && statement.run();
        statement.reset(); // a cached statement must not keep these records' bindings
        if (!inserted)
            return false;
        records = records.subspan(rows);
    }
    return true;
}

Oid ObjectStore::writeRecord(Oid database, Oid record, const PropertyValues &values)
{
    if (record == 0) {
        const EncodedRecord encoded = encodeRecord(values);
        return insertEncoded(database, std::span(&encoded, 1)) ? Oid(m_db.lastInsertRowId()) : 0;
    }
    if (!writeAllowed())
        return 0;
    SqliteStatement &statement = cached(
        m_update, "UPDATE records SET sort_key = ?, properties = ? WHERE oid = ? AND database = ?");
    const QByteArray encoded = encodeProperties(values);
    const bool updated = bindSortKey(statement, 1, values) &&
                         statement.bindUtf8(2, encoded.constData(), int(encoded.size())) &&
                         statement.bind(3, record) && statement.bind(4, database) &&
                         statement.run() && m_db.changes() == 1;
    statement.reset();
    return updated ? record : 0;
}

bool ObjectStore::deleteRecord(Oid database, Oid record)
{
    if (!writeAllowed())
        return false;
    SqliteStatement &statement =
        cached(m_delete, "DELETE FROM records WHERE oid = ? AND database = ?");
    const bool deleted = statement.bind(1, record) && statement.bind(2, database) &&
                         statement.run() && m_db.changes() == 1;
    statement.reset();
    return deleted;
}

namespace {

constexpr const char *firstEqual =
    "(SELECT oid FROM records WHERE database = ?1 AND sort_key = ?2 ORDER BY oid LIMIT 1)";

} // namespace

ObjectStore::KeyedChange ObjectStore::runKeyed(SqliteStatement &statement, bool bound)
{
    const bool ran = bound && statement.run();
    statement.reset();
    if (!ran)
        return KeyedChange::Failed;
    return m_db.changes() == 1 ? KeyedChange::Done : KeyedChange::NotFound;
}

ObjectStore::KeyedChange ObjectStore::writeFirstEqual(Oid database, std::uint32_t sortKey,
                                                      const PropertyValues &values)
{
    if (sortKeyOf(values) != std::int64_t(sortKey)) {
        const Oid found = seekFirstEqual(database, sortKey);
        if (found == 0)
            return KeyedChange::NotFound;
        return writeRecord(database, found, values) ? KeyedChange::Done : KeyedChange::Failed;
    }
    if (!writeAllowed())
        return KeyedChange::Failed;
    // The sort key stays, so its index is left alone.
    static const std::string sql =
        std::string("UPDATE records SET properties = ?3 WHERE oid = ") + firstEqual;
    SqliteStatement &statement = cached(m_updateFirst, sql.c_str());
    const QByteArray encoded = encodeProperties(values);
    return runKeyed(statement, statement.bind(1, database) &&
                                   statement.bind(2, std::int64_t(sortKey)) &&
                                   statement.bindUtf8(3, encoded.constData(), int(encoded.size())));
}

ObjectStore::KeyedChange ObjectStore::deleteFirstEqual(Oid database, std::uint32_t sortKey)
{
    if (!writeAllowed())
        return KeyedChange::Failed;
    static const std::string sql = std::string("DELETE FROM records WHERE oid = ") + firstEqual;
    SqliteStatement &statement = cached(m_deleteFirst, sql.c_str());
    return runKeyed(statement,
                    statement.bind(1, database) && statement.bind(2, std::int64_t(sortKey)));
}

bool ObjectStore::replaceDatabase(const QString &name, const RecordSource &nextRecord,
                                  Oid *database)
{
    SqliteTransaction transaction(m_db);
    if (!transaction.isActive())
        return false;
    Oid oid = 0;
    if (!findDatabase(name, oid))
        return false;
    if (oid == 0) {
        oid = createDatabase(name);
        if (oid == 0)
            return false;
    } else {
        if (!writeAllowed())
            return false;
        SqliteStatement clear = m_db.prepare("DELETE FROM records WHERE database = ?");
        if (!clear.bind(1, oid) || !clear.run())
            return false;
    }

    // The records go in as any run of new records does, a batch at a time.
    constexpr std::size_t BatchRecords = 256;
    std::vector<EncodedRecord> batch;
    PropertyValues values;
    for (bool more = true; more;) {
        batch.clear();
        while (batch.size() < BatchRecords && (more = nextRecord(values)))
            batch.push_back(encodeRecord(values));
        if (!insertEncoded(oid, batch))
            return false;
    }
    if (!transaction.commit())
        return false;
    if (database)
        *database = oid;
    return true;
}

bool ObjectStore::inLargeTransaction(const std::function<bool()> &work)
{
    m_db.exec("PRAGMA cache_size = -16384");
    const bool done = inTransaction(work);
    m_db.exec(DefaultCache);
    return done;
}

bool ObjectStore::inTransaction(const std::function<bool()> &work)
{
    SqliteTransaction transaction(m_db);
    return transaction.isActive() && work() && transaction.commit();
}

bool ObjectStore::keyExists(const QString &path)
{
    SqliteStatement statement = m_db.prepare("SELECT 1 FROM registry_keys WHERE path = ?");
    return statement.bind(1, path) && statement.step() == SqliteStatement::Step::Row;
}

bool ObjectStore::createKey(const QString &path)
{
    SqliteStatement statement =
        m_db.prepare("INSERT INTO registry_keys(path) VALUES(?) ON CONFLICT DO NOTHING");
    return statement.bind(1, path) && statement.run();
}

std::optional<RegistryValue> ObjectStore::queryValue(const QString &path, const QString &name)
{
    SqliteStatement statement =
        m_db.prepare("SELECT type, value FROM registry_values WHERE path = ? AND name = ?");
    if (!statement.bind(1, path) || !statement.bind(2, name) ||
        statement.step() != SqliteStatement::Step::Row)
        return std::nullopt;
    RegistryValue value;
    value.type = std::uint32_t(statement.columnInt(0));
    if (statement.columnType(1) == SQLITE_INTEGER)
        value.dword = std::uint32_t(statement.columnInt(1));
    else
        value.text = statement.columnText(1);
    return value;
}

bool ObjectStore::setValue(const QString &path, const QString &name, const RegistryValue &value)
{
    SqliteStatement statement = m_db.prepare(
        "INSERT INTO registry_values(path, name, type, value) VALUES(?, ?, ?, ?) "
        "ON CONFLICT(path, name) DO UPDATE SET type = excluded.type, value = excluded.value");
    const bool bound = statement.bind(1, path) && statement.bind(2, name) &&
                       statement.bind(3, std::int64_t(value.type)) &&
                       (value.type == REG_DWORD ? statement.bind(4, std::int64_t(value.dword))
                                                : statement.bind(4, value.text));
    return bound && statement.run();
}

} // namespace tripvane
