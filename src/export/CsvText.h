#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

namespace tripvane {

// The encodings of an exported file: the two of setting ExportFileType ("ASCII" is the
// Windows-1252 code page, "UNICODE" UTF-16LE), and UTF-8 for today's spreadsheets (the command
// line's choice).
enum class CsvEncoding : std::uint32_t { Windows1252 = 0, Unicode = 1, Utf8 = 2 };

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

// A memo as a spreadsheet field: a CR LF pair, double quotes, apostrophes and backquotes become
// blanks; the length stays.
QString cleanMemo(const QString &memo);
// A place or a category as a spreadsheet field: its double quotes and CR LF pairs (which the
// program's own dialogs never let in, but the store may hold) become blanks, so a line keeps
// its fields; the length stays.
QString cleanText(const QString &text);

} // namespace tripvane
