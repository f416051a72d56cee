#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace tripvane {

// The text of a comma-separated file in any of the encodings, a piece at a time, so that a large
// file is never held whole: UTF-16LE when the second byte is 0 or it starts with that byte-order
// mark, else UTF-8 when all of it is valid UTF-8 (a byte-order mark dropped), else Windows-1252.
class CsvDecoder
{
public:
    // Reads the file through once to tell its encoding, then from its start again.
    explicit CsvDecoder(QIODevice &file, qsizetype pieceBytes = qsizetype(1) << 16);
    // Appends the next piece of the text; false at the end, or when the file cannot be read.
    bool appendNext(QString &text);
    bool failed() const { return m_failed; }
    // Why it failed: the file could not be read, or it ends inside a character.
    QString error() const;
    qint64 bytesRead() const { return m_read; }

private:
    enum class Encoding { Ascii, Utf8, Utf16, Windows1252 };
    // The next bytes into m_piece, ending at the end of a character; false at the end.
    bool readPiece();

    QIODevice &m_file;
    qsizetype m_pieceBytes;
    Encoding m_encoding = Encoding::Ascii;
    QByteArray m_piece;
    QByteArray m_carried; // the start of a character the last piece was cut in
    qint64 m_read = 0;
    bool m_atStart = true;
    bool m_failed = false;
    bool m_cutShort = false;
};

// The records of a comma-separated text as RFC 4180 has them: fields separated by commas, a
// quoted field may hold commas, line ends and quotes (doubled); records end with CR LF or LF.
// Each record knows the line it starts on. A quote inside an unquoted field, text after a
// closing quote, or a quote left open is an error naming its line.
struct CsvRecord
{
    int line = 0;
    QStringList fields;
};
class CsvReader
{
public:
    // A record longer than this is an error, not something held without end.
    static constexpr qsizetype MaxRecordChars = 65536;

    // Appends the next piece of the text; false when there is no more.
    using MoreText = std::function<bool(QString &text)>;

    explicit CsvReader(const QString &text)
        : m_text(text)
    {}
    // The text a piece at a time: only the record being read is held.
    explicit CsvReader(MoreText more)
        : m_more(std::move(more))
        , m_complete(false)
    {}
    // The next record, or false at the end or at an error.
    bool next(CsvRecord &record);
    int errorLine() const { return m_errorLine; } // 0: none
    const QString &error() const { return m_error; }

private:
    enum class Read { Record, End, NeedMore, Failed };
    Read read(CsvRecord &record);
    // Drops what was read and appends at least as much text as is left unread, so that a record
    // longer than a piece is scanned a bounded number of times.
    void readMore();
    Read fail(const char *why, int line);

    QString m_text;
    MoreText m_more;
    bool m_complete = true; // m_text holds all of the text left
    qsizetype m_at = 0;
    int m_line = 1;
    int m_errorLine = 0;
    QString m_error;
};
// Every record at once.
struct CsvRead
{
    std::vector<CsvRecord> records;
    int errorLine = 0; // 0: none
    QString error;
};
CsvRead readCsv(const QString &text);

} // namespace tripvane
