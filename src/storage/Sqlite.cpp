#include "Sqlite.h"

#include <sqlite3.h>

#include <utility>

namespace tripvane {

Q_LOGGING_CATEGORY(storeLog, "tripvane.store")

SqliteConnection::~SqliteConnection()
{
    close();
}

bool SqliteConnection::open(const QString &path, Mode mode)
{
    close();
    m_owner = std::this_thread::get_id();
    // Nothing reads SQLite's memory counts, and keeping them takes a global lock on every
    // allocation: off, before the library starts.
    static const bool configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    Q_UNUSED(configured);
    // Each connection is used by one thread (the store checks this in checked builds).
    int flags = SQLITE_OPEN_NOMUTEX;
    flags |= mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (mode == Mode::ReadWriteCreate)
        flags |= SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        noteFailure("open");
        close();
        return false;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 2000);
    // A file from outside may carry a schema of its own: no trigger of it fires, no function
    // with side effects runs from it, and it cannot have the schema or the file rewritten.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    return true;
}

void SqliteConnection::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void SqliteConnection::noteFailure(const char *what)
{
    m_lastError = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("not open");
    qCWarning(storeLog, "%s: %s", what, qPrintable(m_lastError));
}

bool SqliteConnection::exec(const char *sql)
{
    checkThread();
    if (m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    noteFailure(sql);
    return false;
}

SqliteStatement SqliteConnection::prepare(const char *sql)
{
    checkThread();
    sqlite3_stmt *statement = nullptr;
    if (!m_db || sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement,
                                    nullptr) != SQLITE_OK) {
        noteFailure(sql);
        sqlite3_finalize(statement);
        return SqliteStatement();
    }
    return SqliteStatement(*this, statement);
}

std::int64_t SqliteConnection::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int SqliteConnection::changes() const
{
    return sqlite3_changes(m_db);
}

void SqliteStatement::Finalize::operator()(sqlite3_stmt *statement) const
{
    sqlite3_finalize(statement);
}

bool SqliteStatement::bind(int index, std::int64_t value)
{
    return m_statement && sqlite3_bind_int64(m_statement.get(), index, value) == SQLITE_OK;
}

bool SqliteStatement::bind(int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return m_statement && sqlite3_bind_text(m_statement.get(), index, utf8.constData(),
                                            int(utf8.size()), SQLITE_TRANSIENT) == SQLITE_OK;
}

bool SqliteStatement::bindUtf8(int index, const char *text, int bytes)
{
    return m_statement &&
           sqlite3_bind_text(m_statement.get(), index, text, bytes, SQLITE_STATIC) == SQLITE_OK;
}

SqliteStatement::Step SqliteStatement::step()
{
    if (!m_statement)
        return Step::Error;
    if (!m_handed)
        m_owner->checkThread();
    switch (sqlite3_step(m_statement.get())) {
    case SQLITE_ROW:
        return Step::Row;
    case SQLITE_DONE:
        return Step::Done;
    default:
        // The statement's own text first: the reset may replace the connection's message.
        m_owner->noteFailure(sqlite3_sql(m_statement.get()));
        sqlite3_reset(m_statement.get());
        return Step::Error;
    }
}

bool SqliteStatement::reset()
{
    return m_statement && sqlite3_reset(m_statement.get()) == SQLITE_OK &&
           sqlite3_clear_bindings(m_statement.get()) == SQLITE_OK;
}

std::int64_t SqliteStatement::columnInt(int column) const
{
    return sqlite3_column_int64(m_statement.get(), column);
}

QString SqliteStatement::columnText(int column) const
{
    int bytes = 0;
    const char *text = columnUtf8(column, &bytes);
    return text ? QString::fromUtf8(text, bytes) : QString();
}

const char *SqliteStatement::columnUtf8(int column, int *bytes) const
{
    const auto *text =
        reinterpret_cast<const char *>(sqlite3_column_text(m_statement.get(), column));
    *bytes = sqlite3_column_bytes(m_statement.get(), column);
    return text;
}

int SqliteStatement::columnType(int column) const
{
    return sqlite3_column_type(m_statement.get(), column);
}

SqliteTransaction::SqliteTransaction(SqliteConnection &db)
    : m_db(db)
{
    m_nested = m_db.isOpen() && sqlite3_get_autocommit(m_db.handle()) == 0;
    m_active = m_db.exec(m_nested ? "SAVEPOINT nested" : "BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction()
{
    if (m_active && m_nested)
        m_db.exec("ROLLBACK TO nested") && m_db.exec("RELEASE nested");
    else if (m_active)
        m_db.exec("ROLLBACK");
}

bool SqliteTransaction::commit()
{
    if (!m_active)
        return false;
    if (m_nested) {
        m_active = false;
        if (m_db.exec("RELEASE nested"))
            return true;
        m_db.exec("ROLLBACK TO nested");
        m_db.exec("RELEASE nested");
        return false;
    }
    if (!m_db.exec("COMMIT")) {
        m_db.exec("ROLLBACK");
        m_active = false;
        return false;
    }
    m_active = false;
    return true;
}

} // namespace tripvane
