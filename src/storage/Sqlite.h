#pragma once

#include <QLoggingCategory>
#include <QString>

#include <cstdint>
#include <memory>
#include <thread>

struct sqlite3;
struct sqlite3_stmt;

namespace tripvane {

Q_DECLARE_LOGGING_CATEGORY(storeLog)

class SqliteStatement;

// A small RAII layer over the SQLite C API. Every call reports success or failure.
class SqliteConnection final
{
public:
    enum class Mode { ReadWriteExisting, ReadWriteCreate, ReadOnly };

    SqliteConnection() = default;
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection &) = delete;
    SqliteConnection &operator=(const SqliteConnection &) = delete;

    bool open(const QString &path, Mode mode);
    void close();
    bool isOpen() const { return m_db != nullptr; }

    bool exec(const char *sql);
    SqliteStatement prepare(const char *sql);
    std::int64_t lastInsertRowId() const;
    int changes() const;

    sqlite3 *handle() const { return m_db; }
    // Stops a checked build (sanitizers, debug) when the connection is used off the thread that
    // opened it: every statement is made, run and stepped through here.
    void checkThread() const
    {
#ifdef TRIPVANE_CHECK_THREADS
        if (std::this_thread::get_id() != m_owner)
            qFatal("the store was used off the thread that opened it");
#endif
    }
    // SQLite's text of the last failure, kept after later calls succeed; failures are also
    // written to the store log.
    const QString &lastError() const
    {
        return m_lastError;
    }
    void noteFailure(const char *what);

private:
    sqlite3 *m_db = nullptr;
    std::thread::id m_owner;
    QString m_lastError;
};

class SqliteStatement final
{
public:
    enum class Step { Row, Done, Error };

    SqliteStatement() = default;
    SqliteStatement(SqliteConnection &owner, sqlite3_stmt *statement)
        : m_owner(&owner)
        , m_statement(statement)
    {}

    bool isValid() const { return m_statement != nullptr; }
    // A statement whose rows a second thread steps through while the owner waits for them.
    void handToReadingThread() { m_handed = true; }
    bool bind(int index, std::int64_t value);
    bool bind(int index, const QString &text);
    // SQLite reads the text where it is, without a copy: it must stay until the statement is
    // reset (run resets it) or the parameter bound again.
    bool bindUtf8(int index, const char *text, int bytes);
    Step step();
    bool reset();
    // Runs a statement that returns no rows.
    bool run() { return step() == Step::Done && reset(); }

    std::int64_t columnInt(int column) const;
    QString columnText(int column) const;
    const char *columnUtf8(int column, int *bytes) const;
    int columnType(int column) const;

private:
    struct Finalize
    {
        void operator()(sqlite3_stmt *statement) const;
    };
    SqliteConnection *m_owner = nullptr;
    std::unique_ptr<sqlite3_stmt, Finalize> m_statement;
    bool m_handed = false;
};

// Opens a transaction and rolls it back unless commit() succeeded. Inside another transaction it
// is a savepoint, so that changes made as one step by the caller stay one step.
class SqliteTransaction final
{
public:
    explicit SqliteTransaction(SqliteConnection &db);
    ~SqliteTransaction();
    bool isActive() const { return m_active; }
    bool commit();

private:
    SqliteConnection &m_db;
    bool m_active = false;
    bool m_nested = false;
};

} // namespace tripvane
