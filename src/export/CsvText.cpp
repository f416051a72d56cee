#include "CsvText.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <utility>

namespace tripvane {

namespace {

// The code points that Windows-1252 puts at 0x80..0x9F instead of Latin-1's control codes;
// the five bytes it leaves undefined keep their control codes, as Windows maps them.
constexpr std::array<std::pair<char16_t, char>, 27> windows1252High = {{
    {u'\u0152', '\x8C'}, {u'\u0153', '\x9C'}, {u'\u0160', '\x8A'}, {u'\u0161', '\x9A'},
    {u'\u0178', '\x9F'}, {u'\u017D', '\x8E'}, {u'\u017E', '\x9E'}, {u'\u0192', '\x83'},
    {u'\u02C6', '\x88'}, {u'\u02DC', '\x98'}, {u'\u2013', '\x96'}, {u'\u2014', '\x97'},
    {u'\u2018', '\x91'}, {u'\u2019', '\x92'}, {u'\u201A', '\x82'}, {u'\u201C', '\x93'},
    {u'\u201D', '\x94'}, {u'\u201E', '\x84'}, {u'\u2020', '\x86'}, {u'\u2021', '\x87'},
    {u'\u2022', '\x95'}, {u'\u2026', '\x85'}, {u'\u2030', '\x89'}, {u'\u2039', '\x8B'},
    {u'\u203A', '\x9B'}, {u'\u20AC', '\x80'}, {u'\u2122', '\x99'},
}};
static_assert(std::ranges::is_sorted(windows1252High, {}, &std::pair<char16_t, char>::first));

char windows1252Byte(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return char(unit);
    if (unit == 0x81 || unit == 0x8D || unit == 0x8F || unit == 0x90 || unit == 0x9D)
        return char(unit);
    const auto found =
        std::ranges::lower_bound(windows1252High, unit, {}, &std::pair<char16_t, char>::first);
    return found != windows1252High.end() && found->first == unit ? found->second : '?';
}

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
        if (encoding == CsvEncoding::Ascii) {
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

QString decodeCsvText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || (bytes.size() >= 2 && bytes[1] == '\0')) {
        const qsizetype skip = bytes.startsWith("\xFF\xFE") ? 2 : 0;
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + skip),
                                  (bytes.size() - skip) / 2);
    }
    // Most files are plain ASCII: read as Latin-1, which takes them a block at a time.
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return (c & 0x80) == 0; }))
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    text.resize(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const auto high =
            std::ranges::find(windows1252High, char(byte), &std::pair<char16_t, char>::second);
        text[i] = byte >= 0x80 && byte < 0xA0 && high != windows1252High.end() ? QChar(high->first)
                                                                               : QChar(byte);
    }
    return text;
}

bool CsvReader::fail(const char *why, int line)
{
    m_errorLine = line;
    m_error = QString::fromLatin1(why);
    m_at = m_text.size();
    return false;
}

bool CsvReader::endsField(qsizetype at) const
{
    return at >= m_text.size() || m_text[at] == u',' || m_text[at] == u'\r' || m_text[at] == u'\n';
}

bool CsvReader::next(CsvRecord &record)
{
    const QString &text = m_text;
    const qsizetype size = text.size();
    qsizetype i = m_at;
    if (i >= size)
        return false;
    record.line = m_line;
    // Each field is written into the string the last record had in its place: one that no one
    // else holds keeps its room, so most records are read without an allocation.
    qsizetype count = 0;
    const auto nextField = [&]() -> QString & {
        if (count == record.fields.size())
            record.fields.append(QString());
        QString &field = record.fields[count++];
        if (field.isDetached())
            field.resize(0);
        else
            field = QString();
        return field;
    };
    for (;;) {
        QString &field = nextField();
        if (text[i] == u'"') {
            // A quoted field, in runs up to each quote: a doubled one is kept as one.
            const int opened = m_line;
            for (++i;;) {
                const qsizetype quote = text.indexOf(u'"', i);
                if (quote < 0)
                    return fail("a quote is left open", opened);
                const QStringView run = QStringView(text).sliced(i, quote - i);
                m_line += int(run.count(u'\n'));
                field += run;
                const bool doubled = quote + 1 < size && text[quote + 1] == u'"';
                i = quote + (doubled ? 2 : 1);
                if (!doubled)
                    break;
                field += u'"';
            }
            if (!endsField(i))
                return fail("text after a closing quote", m_line);
        } else {
            const qsizetype start = i;
            while (!endsField(i)) {
                if (text[i] == u'"')
                    return fail("a quote inside a field that does not start with one", m_line);
                ++i;
            }
            field += QStringView(text).sliced(start, i - start);
        }
        if (i < size && text[i] == u',') {
            ++i;
            if (i == size) {
                nextField();
                break;
            }
            continue;
        }
        // The end of a record: CR LF, LF, or the end of the text.
        if (i < size && text[i] == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        else if (i < size && text[i] == u'\r')
            return fail("a CR that does not end a line", m_line);
        ++i;
        break;
    }
    record.fields.resize(count);
    m_at = i;
    ++m_line;
    return true;
}

CsvRead readCsv(const QString &text)
{
    CsvRead read;
    CsvReader reader(text);
    for (CsvRecord record; reader.next(record);)
        read.records.push_back(record);
    read.errorLine = reader.errorLine();
    read.error = reader.error();
    return read;
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
