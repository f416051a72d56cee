// libFuzzer target: the reader of comma-separated files. Bytes decoded and read a few at a
// time give the same text and the same records, errors included, as read at once; any bytes
// read without error write back (RFC 4180) to a text that reads as the same records; and
// records made of the input's UTF-8, split into records at 0x02 and into fields at 0x01, come
// back from what the writer makes of them, line numbers counted, also when the text ends
// without its last line end.
#include "CsvReader.h"
#include "CsvText.h"

#include <QBuffer>
#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>

using namespace tripvane;

namespace {

// UTF-8 as it stands: QString::fromUtf8 drops a byte-order mark that starts the bytes.
QString utf8Text(const QByteArray &bytes)
{
    return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom)
        .decode(bytes);
}

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
            fields.append(utf8Text(field.toUtf8()));
        if (fields != b[i].fields)
            return false;
    }
    return true;
}

// The text of bytes, decoded pieceBytes at a time, and its records read piece by piece.
struct Decoded
{
    QString text;
    CsvRead read;
};
Decoded decoded(const QByteArray &bytes, qsizetype pieceBytes)
{
    Decoded result;
    QBuffer file;
    file.setData(bytes);
    file.open(QIODevice::ReadOnly);
    CsvDecoder decoder(file, pieceBytes);
    while (decoder.appendNext(result.text)) {
    }
    file.seek(0);
    CsvDecoder again(file, pieceBytes);
    CsvReader reader([&again](QString &text) { return again.appendNext(text); });
    for (CsvRecord record; reader.next(record);)
        result.read.records.push_back(record);
    result.read.errorLine = reader.errorLine();
    result.read.error = reader.error();
    return result;
}

bool sameRead(const CsvRead &a, const CsvRead &b)
{
    if (a.errorLine != b.errorLine || a.error != b.error || a.records.size() != b.records.size())
        return false;
    for (std::size_t i = 0; i < a.records.size(); ++i) {
        if (a.records[i].line != b.records[i].line || a.records[i].fields != b.records[i].fields)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const Decoded whole = decoded(bytes, 4096);
    const CsvRead read = readCsv(whole.text);
    const Decoded pieces = decoded(bytes, size == 0 ? 1 : 1 + data[0] % 7);
    if (pieces.text != whole.text || !sameRead(pieces.read, read) || !sameRead(whole.read, read))
        std::abort();
    if (read.errorLine == 0) {
        const CsvRead again = readCsv(utf8Text(written(read.records)));
        if (again.errorLine != 0 || !sameFields(read.records, again.records))
            std::abort();
    }

    std::vector<CsvRecord> made;
    int line = 1;
    for (const QString &record : utf8Text(bytes).split(u'\x02')) {
        made.push_back({line, record.split(u'\x01')});
        for (const QString &field : made.back().fields)
            line += int(field.count(u'\n'));
        ++line;
    }
    const CsvRead back = readCsv(utf8Text(written(made)));
    if (back.errorLine != 0 || !sameFields(made, back.records))
        std::abort();
    for (std::size_t i = 0; i < made.size(); ++i) {
        if (back.records[i].line != made[i].line)
            std::abort();
    }
    // Without the last CR LF the records stay, but for a last record of one empty field,
    // which is then no text at all.
    const CsvRead unended = readCsv(utf8Text(written(made).chopped(2)));
    if (made.back().fields == QStringList{QString()})
        made.pop_back();
    if (unended.errorLine != 0 || !sameFields(made, unended.records))
        std::abort();
    return 0;
}
