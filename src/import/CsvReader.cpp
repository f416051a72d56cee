#include "CsvReader.h"

#include "Windows1252.h"

#include <QStringDecoder>

#include <algorithm>
#include <utility>

namespace tripvane {

namespace {

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return (c & 0x80) == 0; });
}

// Where the last whole UTF-8 character of bytes ends: a lead byte near the end whose character
// would need more bytes than follow it starts the next piece.
qsizetype utf8Cut(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype start = size - 1; start >= 0 && start >= size - 4; --start) {
        const auto byte = static_cast<unsigned char>(bytes[start]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const qsizetype length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return size - start < length ? start : size;
    }
    return size;
}

} // namespace

CsvDecoder::CsvDecoder(QIODevice &file, qsizetype pieceBytes)
    : m_file(file)
    , m_pieceBytes(std::max<qsizetype>(pieceBytes, 1))
{
    const QByteArray start = file.peek(2);
    if (start.startsWith("\xFF\xFE") || (start.size() == 2 && start[1] == '\0')) {
        m_encoding = Encoding::Utf16;
        return;
    }
    // Most files are plain ASCII, which is read a block at a time.
    while (readPiece()) {
        if (m_encoding == Encoding::Ascii && isAscii(m_piece))
            continue;
        m_encoding = Encoding::Utf8;
        if (!QByteArrayView(m_piece).isValidUtf8()) {
            m_encoding = Encoding::Windows1252;
            break;
        }
    }
    m_read = 0;
    m_carried.clear();
    m_failed = m_failed || !file.seek(0);
}

bool CsvDecoder::readPiece()
{
    m_piece.swap(m_carried);
    m_carried.clear();
    const qsizetype carried = m_piece.size();
    m_piece.resize(carried + m_pieceBytes);
    const qint64 got = m_file.read(m_piece.data() + carried, m_pieceBytes);
    if (got < 0) {
        m_failed = true;
        return false;
    }
    m_piece.resize(carried + qsizetype(got));
    m_read += got;
    if (m_piece.isEmpty())
        return false;
    if (got > 0) {
        const qsizetype cut =
            m_encoding == Encoding::Utf16 ? m_piece.size() & ~qsizetype(1) : utf8Cut(m_piece);
        m_carried = m_piece.sliced(cut);
        m_piece.truncate(cut);
    }
    return true;
}

bool CsvDecoder::appendNext(QString &text)
{
    if (!readPiece())
        return false;
    QByteArrayView piece = m_piece;
    if (piece.isEmpty())
        return true; // all of it starts a character the next piece ends
    const bool first = std::exchange(m_atStart, false);
    switch (m_encoding) {
    case Encoding::Ascii:
        text.append(QLatin1String(piece.data(), piece.size()));
        break;
    case Encoding::Utf8:
        // Pieces end with whole characters, and a mark inside the text is kept.
        if (first && piece.startsWith("\xEF\xBB\xBF"))
            piece = piece.sliced(3);
        text += QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom)
                    .decode(piece);
        break;
    case Encoding::Utf16:
        if (first && piece.startsWith("\xFF\xFE"))
            piece = piece.sliced(2);
        if (piece.size() % 2 != 0) {
            // Only the last piece can end between the two bytes of a character.
            m_failed = m_cutShort = true;
            return false;
        }
        text.append(
            QStringView(reinterpret_cast<const char16_t *>(piece.data()), piece.size() / 2));
        break;
    case Encoding::Windows1252:
        text.reserve(text.size() + piece.size());
        for (const char c : piece)
            text.append(windows1252Char(c));
        break;
    }
    return true;
}

QString CsvDecoder::error() const
{
    if (!m_failed)
        return {};
    return m_cutShort ? QStringLiteral("ends in the middle of a UTF-16 character")
                      : QStringLiteral("cannot read");
}

CsvReader::Read CsvReader::fail(const char *why, int line)
{
    m_errorLine = line;
    m_error = QString::fromLatin1(why);
    m_at = m_text.size();
    m_complete = true;
    return Read::Failed;
}

bool CsvReader::next(CsvRecord &record)
{
    for (;;) {
        switch (read(record)) {
        case Read::Record:
            return true;
        case Read::End:
        case Read::Failed:
            return false;
        case Read::NeedMore:
            if (m_text.size() - m_at > MaxRecordChars) {
                fail("a line longer than 65536 characters", m_line);
                return false;
            }
            readMore();
            break;
        }
    }
}

void CsvReader::readMore()
{
    m_text.remove(0, m_at);
    m_at = 0;
    const qsizetype unread = m_text.size();
    while (m_text.size() - unread <= unread) {
        if (!m_more(m_text)) {
            m_complete = true;
            return;
        }
    }
}

CsvReader::Read CsvReader::read(CsvRecord &record)
{
    // The end of what is held is the end of a field or a record only when no more text follows;
    // otherwise the record is read again once more is held.
    const QString &text = m_text;
    const qsizetype size = text.size();
    const bool whole = m_complete;
    qsizetype i = m_at;
    int line = m_line;
    if (i >= size)
        return whole ? Read::End : Read::NeedMore;
    record.line = line;
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
    const auto endsField = [&](qsizetype at) {
        return at >= size || text[at] == u',' || text[at] == u'\r' || text[at] == u'\n';
    };
    for (;;) {
        QString &field = nextField();
        if (text[i] == u'"') {
            // A quoted field, in runs up to each quote: a doubled one is kept as one.
            const int opened = line;
            for (++i;;) {
                const qsizetype quote = text.indexOf(u'"', i);
                if (quote < 0 || (quote + 1 == size && !whole))
                    return whole ? fail("a quote is left open", opened) : Read::NeedMore;
                const QStringView run = QStringView(text).sliced(i, quote - i);
                line += int(run.count(u'\n'));
                field += run;
                const bool doubled = quote + 1 < size && text[quote + 1] == u'"';
                i = quote + (doubled ? 2 : 1);
                if (!doubled)
                    break;
                field += u'"';
            }
            if (!endsField(i))
                return fail("text after a closing quote", line);
        } else {
            const qsizetype start = i;
            while (!endsField(i)) {
                if (text[i] == u'"')
                    return fail("a quote inside a field that does not start with one", line);
                ++i;
            }
            field += QStringView(text).sliced(start, i - start);
        }
        if (i == size && !whole)
            return Read::NeedMore;
        if (i < size && text[i] == u',') {
            ++i;
            if (i < size)
                continue;
            if (!whole)
                return Read::NeedMore;
            nextField();
            break;
        }
        // The end of a record: CR LF, LF, or the end of the text.
        if (i < size && text[i] == u'\r') {
            if (i + 1 == size && !whole)
                return Read::NeedMore;
            if (i + 1 == size || text[i + 1] != u'\n')
                return fail("a CR that does not end a line", line);
            ++i;
        }
        ++i;
        break;
    }
    if (i - m_at > MaxRecordChars + 2)
        return fail("a line longer than 65536 characters", m_line);
    record.fields.resize(count);
    m_at = i;
    m_line = line + 1;
    return Read::Record;
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

} // namespace tripvane
