// libFuzzer target: the reader of comma-separated files. Any bytes read without error write
// back (RFC 4180) to a text that reads as the same records; and records made of the input's
// UTF-8, split into records at 0x02 and into fields at 0x01, come back from what the writer
// makes of them, line numbers counted, also when the text ends without its last line end.
#include "CsvText.h"

#include <cstdint>
#include <cstdlib>

using namespace tripvane;

namespace {

QByteArray written(const std::vector<CsvRecord> &records)
{
    QByteArray text;
    for (const CsvRecord &record : records)
        text += rfc4180Line(record.fields);
    return text;
}

// The same fields, as far as UTF-8 holds them: a lone surrogate of a UTF-16 file cannot be
// written back as itself.
bool sameFields(const std::vector<CsvRecord> &a, const std::vector<CsvRecord> &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        QStringList fields;
        for (const QString &field : a[i].fields)
            fields.append(QString::fromUtf8(field.toUtf8()));
        if (fields != b[i].fields)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const CsvRead read = readCsv(decodeCsvText(bytes));
    if (read.errorLine == 0) {
        const CsvRead again = readCsv(QString::fromUtf8(written(read.records)));
        if (again.errorLine != 0 || !sameFields(read.records, again.records))
            std::abort();
    }

    std::vector<CsvRecord> made;
    int line = 1;
    for (const QString &record : QString::fromUtf8(bytes).split(u'\x02')) {
        made.push_back({line, record.split(u'\x01')});
        for (const QString &field : made.back().fields)
            line += int(field.count(u'\n'));
        ++line;
    }
    const CsvRead back = readCsv(QString::fromUtf8(written(made)));
    if (back.errorLine != 0 || !sameFields(made, back.records))
        std::abort();
    for (std::size_t i = 0; i < made.size(); ++i) {
        if (back.records[i].line != made[i].line)
            std::abort();
    }
    // Without the last CR LF the records stay, but for a last record of one empty field,
    // which is then no text at all.
    const CsvRead unended = readCsv(QString::fromUtf8(written(made).chopped(2)));
    if (made.back().fields == QStringList{QString()})
        made.pop_back();
    if (unended.errorLine != 0 || !sameFields(made, unended.records))
        std::abort();
    return 0;
}
