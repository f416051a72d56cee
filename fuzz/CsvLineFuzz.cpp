// libFuzzer target: lines of the exported files. Fields are the input's UTF-8 split at 0x01
// bytes. Cleaned as the exports clean them, a line keeps its fields: two quotes each, and CR LF
// at the end and nowhere else; no line ever holds a NUL character.
#include "CsvText.h"

#include <cstdint>
#include <cstdlib>

using namespace tripvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList raw = text.split(u'\x01');
    QStringList cleaned;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QString &field = raw[i];
        cleaned.append(i % 2 == 0 ? cleanText(field) : cleanMemo(field));
        if (cleaned.last().size() != field.size())
            std::abort(); // the cleaning keeps the length
    }
    for (const CsvEncoding encoding : {CsvEncoding::Windows1252, CsvEncoding::Unicode}) {
        const QByteArray rawLine = csvLine(raw, encoding);
        const QString line =
            encoding == CsvEncoding::Windows1252
                ? QString::fromLatin1(rawLine)
                : QString::fromUtf16(reinterpret_cast<const char16_t *>(rawLine.constData()),
                                     rawLine.size() / 2);
        if (line.contains(QChar(0)) || !line.endsWith(QStringLiteral("\r\n")))
            std::abort();
        const QByteArray cleanLine = csvLine(cleaned, CsvEncoding::Windows1252);
        if (cleanLine.count('"') != 2 * cleaned.size() ||
            cleanLine.indexOf("\r\n") != cleanLine.size() - 2)
            std::abort();
    }
    return 0;
}
