#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace tripvane {

// The encodings of an exported file: the two of setting ExportFileType, and UTF-8 for today's
// spreadsheets (the command line's choice).
enum class CsvEncoding : std::uint32_t { Ascii = 0, Unicode = 1, Utf8 = 2 };

// Windows-1252, one byte per character; a character the code page cannot hold becomes '?'.
QByteArray toWindows1252(const QString &text);

// One line of a comma-separated file: every field in double quotes, no escaping, CR LF, in the
// encoding (UTF-16LE for Unicode; no byte-order mark in any). A NUL in a field is written as a
// blank.
QByteArray csvLine(const QStringList &fields, CsvEncoding encoding);
// The same line appended to out.
void appendCsvLine(QByteArray &out, const QStringList &fields, CsvEncoding encoding);

// One record as RFC 4180 writes it, in UTF-8 with CR LF: a field is quoted when it holds a
// comma, a quote or a line end, its quotes doubled.
QByteArray rfc4180Line(const QStringList &fields);

// The text of a comma-separated file in any of the encodings: UTF-16LE when the second byte is
// 0 or it starts with that byte-order mark, else UTF-8 when it is valid UTF-8 (a byte-order mark
// dropped), else Windows-1252.
QString decodeCsvText(const QByteArray &bytes);

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
    explicit CsvReader(const QString &text)
        : m_text(text)
    {}
    // The next record, or false at the end or at an error.
    bool next(CsvRecord &record);
    int errorLine() const { return m_errorLine; } // 0: none
    qsizetype position() const { return m_at; }   // of the text read so far
    const QString &error() const { return m_error; }

private:
    bool fail(const char *why, int line);
    bool endsField(qsizetype at) const;

    const QString &m_text;
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

// A memo as a spreadsheet field: a CR LF pair, double quotes, apostrophes and backquotes become
// blanks; the length stays.
QString cleanMemo(const QString &memo);
// A place or a category as a spreadsheet field: its double quotes and CR LF pairs (which the
// program's own dialogs never let in, but the store may hold) become blanks, so a line keeps
// its fields; the length stays.
QString cleanText(const QString &text);

} // namespace tripvane
