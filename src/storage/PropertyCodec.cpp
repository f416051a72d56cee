#include "PropertyCodec.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <iterator>

namespace tripvane {

namespace {

// A member's name, "0x" and eight digits in quotes, then the colon: one append per member.
// The encoder writes through a pointer into room made for the longest text the values can
// give, instead of checking the room for every piece.
constexpr qsizetype LongestMember = 14; // "0x00000000":
constexpr qsizetype LongestNumber = 10;
constexpr qsizetype LongestPerUnit = 6; // \uXXXX

void putMemberName(char *&at, std::uint32_t id)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    static constexpr char name[] = "\"0x00000000\":";
    std::copy(std::begin(name), std::end(name) - 1, at);
    for (int i = 0; i < 8; ++i)
        at[3 + i] = digits[(id >> (28 - 4 * i)) & 0xF];
    at += sizeof name - 1;
}

void putNumber(char *&at, std::uint32_t number)
{
    at = std::to_chars(at, at + LongestNumber, number).ptr;
}

void putEscapedUnit(char *&at, char16_t unit)
{
    static constexpr char digits[] = "0123456789abcdef";
    *at++ = '\\';
    *at++ = 'u';
    for (int shift = 12; shift >= 0; shift -= 4)
        *at++ = digits[(unit >> shift) & 0xF];
}

void putString(char *&at, const QString &text)
{
    *at++ = '"';
    const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype size = text.size();
    qsizetype runStart = 0;
    const auto flushRun = [&](qsizetype end) {
        const QStringView run(units + runStart, end - runStart);
        if (std::all_of(run.begin(), run.end(), [](QChar c) { return c.unicode() < 0x80; })) {
            // Most texts are ASCII: copied as they are, without a converted copy of each.
            at = std::transform(run.begin(), run.end(), at,
                                [](QChar c) { return char(c.unicode()); });
            return;
        }
        const QByteArray utf8 = run.toUtf8();
        at = std::copy(utf8.cbegin(), utf8.cend(), at);
    };
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        const bool highSurrogate = QChar::isHighSurrogate(unit);
        const bool paired = highSurrogate && i + 1 < size && QChar::isLowSurrogate(units[i + 1]);
        if (paired) {
            ++i;
            continue;
        }
        if (unit == u'"' || unit == u'\\' || unit < 0x20 || QChar::isSurrogate(unit)) {
            flushRun(i);
            if (unit == u'"' || unit == u'\\') {
                *at++ = '\\';
                *at++ = char(unit);
            } else {
                putEscapedUnit(at, unit);
            }
            runStart = i + 1;
        }
    }
    flushRun(size);
    *at++ = '"';
}

// Categories and places repeat across thousands of trips: short texts are shared instead of
// allocated again for every record. A small direct-mapped cache whose slots age: a text seen
// once (a memo) does not push out one that keeps coming back (a category).
class TextCache
{
public:
    QString get(const char *begin, const char *end)
    {
        const auto length = std::size_t(end - begin);
        if (length == 0)
            return QStringLiteral("");
        if (length > MaxBytes)
            return QString::fromUtf8(begin, qsizetype(length));
        std::uint32_t hash = 2166136261u; // FNV-1a
        for (const char *p = begin; p != end; ++p)
            hash = (hash ^ std::uint8_t(*p)) * 16777619u;
        Slot &slot = m_slots[hash % m_slots.size()];
        if (slot.length == length && std::memcmp(slot.bytes.data(), begin, length) == 0) {
            slot.hits = std::min(slot.hits + 1, 8);
            return slot.text;
        }
        QString text = QString::fromUtf8(begin, qsizetype(length));
        if (slot.hits > 0) {
            --slot.hits;
            return text;
        }
        slot.length = length;
        std::memcpy(slot.bytes.data(), begin, length);
        slot.text = text;
        return text;
    }

private:
    static constexpr std::size_t MaxBytes = 24;
    struct Slot
    {
        std::array<char, MaxBytes> bytes{};
        std::size_t length = 0;
        int hits = 0;
        QString text;
    };
    std::array<Slot, 1024> m_slots;
};

class Parser
{
public:
    Parser(const char *text, int bytes)
        : m_p(text)
        , m_end(text + bytes)
    {}

    bool parse(PropertyValues &values)
    {
        values.clear();
        if (!consume('{'))
            return false;
        if (consume('}'))
            return atEnd();
        do {
            PropertyValue value;
            bool isId = false;
            if (!parseName(value.id, isId) || !consume(':'))
                return false;
            skipSpace();
            if (m_p < m_end && *m_p == '"') {
                if (!parseString(value.text))
                    return false;
                if (isId && propertyType(value.id) != CEVT_LPWSTR)
                    return false;
            } else {
                if (!parseNumber(value.number))
                    return false;
                if (isId && propertyType(value.id) != CEVT_UI4)
                    return false;
            }
            if (isId)
                values.push_back(std::move(value));
        } while (consume(','));
        return consume('}') && atEnd();
    }

private:
    void skipSpace()
    {
        // Texts of this program hold no white space between tokens: one test for the usual case.
        while (m_p < m_end && std::uint8_t(*m_p) <= ' ' &&
               (*m_p == ' ' || *m_p == '\t' || *m_p == '\n' || *m_p == '\r'))
            ++m_p;
    }
    // The closing quote of a string starting at begin, or m_end; escaped tells whether a
    // backslash comes first, and the string must then be read unit by unit.
    const char *closingQuote(const char *begin, bool &escaped) const
    {
        const auto *quote = static_cast<const char *>(std::memchr(begin, '"', m_end - begin));
        const char *close = quote ? quote : m_end;
        escaped = std::memchr(begin, '\\', close - begin) != nullptr;
        return close;
    }
    bool consume(char c)
    {
        skipSpace();
        if (m_p < m_end && *m_p == c) {
            ++m_p;
            return true;
        }
        return false;
    }
    bool atEnd()
    {
        skipSpace();
        return m_p == m_end;
    }

    // Member names are identifiers such as "0x0005001F"; any other string is read and skipped.
    bool parseName(std::uint32_t &id, bool &isId)
    {
        skipSpace();
        if (m_p >= m_end || *m_p != '"')
            return false;
        const char *start = m_p + 1;
        bool escaped = false;
        const char *close = closingQuote(start, escaped);
        if (close == m_end || escaped) {
            QString ignored; // a name with escapes is never an identifier
            isId = false;
            return parseString(ignored);
        }
        isId = close - start == 10 && start[0] == '0' && start[1] == 'x';
        id = 0;
        for (int i = 2; isId && i < 10; ++i) {
            const int digit = hexValue(start[i]);
            isId = digit >= 0;
            id = id * 16 + std::uint32_t(digit);
        }
        m_p = close + 1;
        return true;
    }

    bool parseNumber(std::uint32_t &number)
    {
        skipSpace();
        std::uint64_t value = 0;
        const char *start = m_p;
        while (m_p < m_end && *m_p >= '0' && *m_p <= '9') {
            value = value * 10 + std::uint64_t(*m_p - '0');
            if (value > 0xFFFFFFFFull)
                return false;
            ++m_p;
        }
        number = static_cast<std::uint32_t>(value);
        return m_p != start;
    }

    static int hexValue(char c)
    {
        static constexpr auto values = [] {
            std::array<std::int8_t, 256> table{};
            table.fill(-1);
            for (int i = 0; i < 10; ++i)
                table['0' + i] = std::int8_t(i);
            for (int i = 0; i < 6; ++i)
                table['a' + i] = table['A' + i] = std::int8_t(10 + i);
            return table;
        }();
        return values[std::uint8_t(c)];
    }

    bool parseString(QString &out)
    {
        if (!consume('"'))
            return false;
        // Most texts hold no escape: take them in one step.
        bool escaped = false;
        const char *close = closingQuote(m_p, escaped);
        if (close < m_end && !escaped) {
            out = shared(m_p, close);
            m_p = close + 1;
            return true;
        }
        out = QStringLiteral(""); // present, even when empty
        const char *run = m_p;
        const auto flushRun = [&] {
            if (m_p > run)
                out.append(QString::fromUtf8(run, m_p - run));
        };
        while (m_p < m_end) {
            const char c = *m_p;
            if (c == '"') {
                flushRun();
                ++m_p;
                return true;
            }
            if (c != '\\') {
                ++m_p;
                continue;
            }
            flushRun();
            if (m_end - m_p < 2)
                return false;
            // JSON's escapes: a letter for a character, or u and four hexadecimal digits.
            static constexpr char escapes[] = "\"\\/bfnrt";
            static constexpr char16_t meant[] = u"\"\\/\b\f\n\r\t";
            const char kind = m_p[1];
            m_p += 2;
            if (const char *escape = kind ? std::strchr(escapes, kind) : nullptr) {
                out.append(QChar(meant[escape - escapes]));
            } else {
                if (kind != 'u' || m_end - m_p < 4)
                    return false;
                int unit = 0;
                for (int i = 0; i < 4; ++i) {
                    const int digit = hexValue(m_p[i]);
                    if (digit < 0)
                        return false;
                    unit = unit * 16 + digit;
                }
                out.append(QChar(char16_t(unit)));
                m_p += 4;
            }
            run = m_p;
        }
        return false;
    }

    QString shared(const char *begin, const char *end)
    {
        thread_local TextCache cache;
        return cache.get(begin, end);
    }

    const char *m_p;
    const char *m_end;
};

} // namespace

QByteArray encodeProperties(const PropertyValues &values)
{
    qsizetype longest = 2;
    for (const PropertyValue &value : values) {
        longest += LongestMember + 1 +
                   (propertyType(value.id) == CEVT_LPWSTR ? 2 + LongestPerUnit * value.text.size()
                                                          : LongestNumber);
    }
    QByteArray out(longest, Qt::Uninitialized);
    char *at = out.data();
    *at++ = '{';
    bool firstMember = true;
    for (const PropertyValue &value : values) {
        if (!firstMember)
            *at++ = ',';
        firstMember = false;
        putMemberName(at, value.id);
        if (propertyType(value.id) == CEVT_LPWSTR)
            putString(at, value.text);
        else
            putNumber(at, value.number);
    }
    *at++ = '}';
    out.truncate(at - out.constData());
    return out;
}

bool decodeProperties(const char *text, int bytes, PropertyValues &values)
{
    return text && Parser(text, bytes).parse(values);
}

} // namespace tripvane
