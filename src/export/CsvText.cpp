#include "CsvText.h"

#include "Windows1252.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tripvane {

namespace {

// Both read through a view of the text as it came: one with nothing to change is not copied.
QString blanked(QString text, QStringView blanks)
{
    const QStringView view(text);
    for (qsizetype i = 0; i < view.size(); ++i) {
        if (blanks.contains(view[i]))
            text[i] = u' ';
    }
    return text;
}

QString blankedLineEnds(QString text)
{
    const QStringView view(text);
    for (qsizetype i = 0; i + 1 < view.size(); ++i) {
        if (view[i] == u'\r' && view[i + 1] == u'\n')
            text[i] = text[i + 1] = u' ';
    }
    return text;
}

// Windows-1252 bytes of text appended to out, NUL as nul says.
void appendWindows1252(QByteArray &out, QStringView text, char nul)
{
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char *next = out.data() + at;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A character beyond 16 bits is one character: one '?'.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        *next++ = c.isSurrogate() ? '?' : c.unicode() == 0 ? nul : windows1252Byte(c.unicode());
    }
    out.resize(next - out.constData());
}

} // namespace

QByteArray toWindows1252(const QString &text)
{
    QByteArray bytes;
    appendWindows1252(bytes, text, '\0');
    return bytes;
}

void appendCsvLine(QByteArray &out, const QStringList &fields, CsvEncoding encoding)
{
    // A NUL would end the line for many readers: it is never written as such.
    const auto put = [&](QStringView text) {
        if (encoding == CsvEncoding::Windows1252) {
            appendWindows1252(out, text, ' ');
        } else if (encoding == CsvEncoding::Utf8) {
            out.append(text.contains(QChar(0))
                           ? text.toString().replace(QChar(0), QChar(u' ')).toUtf8()
                           : text.toUtf8());
        } else {
            for (const QChar c : text) {
                const char16_t unit = c.unicode() == 0 ? u' ' : c.unicode();
                out.append(char(unit & 0xFF));
                out.append(char(unit >> 8));
            }
        }
    };
    for (qsizetype i = 0; i < fields.size(); ++i) {
        put(i == 0 ? u"\"" : u",\"");
        put(fields[i]);
        put(u"\"");
    }
    put(u"\r\n");
}

QByteArray csvLine(const QStringList &fields, CsvEncoding encoding)
{
    QByteArray line;
    appendCsvLine(line, fields, encoding);
    return line;
}

QByteArray rfc4180Line(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &field : fields) {
        const bool special = std::ranges::any_of(
            field, [](QChar c) { return c == u'"' || c == u',' || c == u'\r' || c == u'\n'; });
        quoted.append(special ? u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"'
                              : field);
    }
    return quoted.join(u',').toUtf8() + "\r\n";
}

QString cleanMemo(const QString &memo)
{
    return blankedLineEnds(blanked(memo, u"\"'`"));
}

QString cleanText(const QString &text)
{
    return blankedLineEnds(blanked(text, u"\""));
}

} // namespace tripvane
