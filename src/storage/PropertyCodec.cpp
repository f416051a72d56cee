#include "PropertyCodec.h"

namespace tripvane {

namespace {

void appendHex8(QByteArray &out, std::uint32_t value)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    out.append("0x", 2);
    for (int shift = 28; shift >= 0; shift -= 4)
        out.append(digits[(value >> shift) & 0xF]);
}

void appendEscapedUnit(QByteArray &out, char16_t unit)
{
    static constexpr char digits[] = "0123456789abcdef";
    out.append("\\u", 2);
    for (int shift = 12; shift >= 0; shift -= 4)
        out.append(digits[(unit >> shift) & 0xF]);
}

void appendString(QByteArray &out, const QString &text)
{
    out.append('"');
    const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype size = text.size();
    qsizetype runStart = 0;
    const auto flushRun = [&](qsizetype end) {
        if (end > runStart)
            out.append(QStringView(units + runStart, end - runStart).toUtf8());
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
            if (unit == u'"')
                out.append("\\\"", 2);
            else if (unit == u'\\')
                out.append("\\\\", 2);
            else
                appendEscapedUnit(out, unit);
            runStart = i + 1;
        }
    }
    flushRun(size);
    out.append('"');
}

class Parser
{
public:
    Parser(const char *text, int bytes) : m_p(text), m_end(text + bytes) {}

    bool parse(PropertyValues &values)
    {
        values.clear();
        if (!consume('{'))
            return false;
        if (consume('}'))
            return atEnd();
        do {
            QString name;
            if (!parseString(name) || !consume(':'))
                return false;
            PropertyValue value;
            const bool isId = parseId(name, value.id);
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
        while (m_p < m_end && (*m_p == ' ' || *m_p == '\t' || *m_p == '\n' || *m_p == '\r'))
            ++m_p;
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

    static bool parseId(const QString &name, std::uint32_t &id)
    {
        if (name.size() != 10 || !name.startsWith(QLatin1String("0x")))
            return false;
        bool ok = false;
        id = name.mid(2).toUInt(&ok, 16);
        return ok;
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
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    bool parseString(QString &out)
    {
        out = QStringLiteral(""); // present, even when empty
        if (!consume('"'))
            return false;
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
            const char kind = m_p[1];
            m_p += 2;
            switch (kind) {
            case '"': out.append(u'"'); break;
            case '\\': out.append(u'\\'); break;
            case '/': out.append(u'/'); break;
            case 'b': out.append(u'\b'); break;
            case 'f': out.append(u'\f'); break;
            case 'n': out.append(u'\n'); break;
            case 'r': out.append(u'\r'); break;
            case 't': out.append(u'\t'); break;
            case 'u': {
                if (m_end - m_p < 4)
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
                break;
            }
            default:
                return false;
            }
            run = m_p;
        }
        return false;
    }

    const char *m_p;
    const char *m_end;
};

} // namespace

QByteArray encodeProperties(const PropertyValues &values)
{
    QByteArray out;
    out.reserve(32 + int(values.size()) * 24);
    out.append('{');
    bool firstMember = true;
    for (const PropertyValue &value : values) {
        if (!firstMember)
            out.append(',');
        firstMember = false;
        out.append('"');
        appendHex8(out, value.id);
        out.append("\":", 2);
        if (propertyType(value.id) == CEVT_LPWSTR)
            appendString(out, value.text);
        else
            out.append(QByteArray::number(value.number));
    }
    out.append('}');
    return out;
}

bool decodeProperties(const char *text, int bytes, PropertyValues &values)
{
    return text && Parser(text, bytes).parse(values);
}

} // namespace tripvane
