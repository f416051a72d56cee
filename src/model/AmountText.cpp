#include "AmountText.h"

#include "SettingValues.h"
#include <QList>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace tripvane {

namespace {

struct Separators
{
    char16_t decimal;
    char16_t grouping;
};

Separators separatorsFor(std::uint32_t distanceView)
{
    return distanceView == DotView ? Separators{u',', u'.'} : Separators{u'.', u','};
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Digits in short strings: an amount's digits fit in place, without an allocation per text.
struct ReadAmount
{
    std::u16string integerDigits;
    std::u16string fractionDigits;
    int decimalSeparators = 0;
    bool foreignCharacter = false;
};

ReadAmount split(const QString &text, Separators separators)
{
    ReadAmount read;
    for (QChar c : text) {
        if (c.unicode() == separators.decimal) {
            ++read.decimalSeparators;
        } else if (isAsciiDigit(c)) {
            (read.decimalSeparators == 0 ? read.integerDigits : read.fractionDigits)
                .push_back(c.unicode());
        } else if (c.unicode() != separators.grouping) {
            read.foreignCharacter = true;
        }
    }
    return read;
}

std::int64_t fractionHundredths(const std::u16string &fraction)
{
    if (fraction.empty())
        return 0;
    const auto digit = [&](std::size_t i) { return fraction[i] - u'0'; };
    if (fraction.size() == 1)
        return digit(0) * 10;
    std::int64_t hundredths = digit(0) * 10 + digit(1);
    if (fraction.size() >= 3 && digit(2) >= 5)
        ++hundredths;
    return hundredths;
}

std::int64_t amountOf(const ReadAmount &read)
{
    constexpr std::int64_t saturation = MaxComputedAmount;
    std::int64_t integer = 0;
    for (const char16_t c : read.integerDigits) {
        integer = integer * 10 + (c - u'0');
        if (integer * 100 > saturation)
            return saturation;
    }
    return std::min(integer * 100 + fractionHundredths(read.fractionDigits), saturation);
}

} // namespace

QString FormatAmount(std::int64_t amount, std::uint32_t distanceView)
{
    // Digits without sign, then the text written into a fixed buffer: 19 digits, 6 group marks
    // and the separator fit in 26 units.
    const Separators separators = separatorsFor(distanceView);
    std::uint64_t value = amount < 0 ? 0 - std::uint64_t(amount) : std::uint64_t(amount);
    char16_t digits[20];
    int n = 0;
    do {
        digits[n++] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n < 3)
        digits[n++] = u'0'; // 0 gives "0.00", 7 gives "0.07"

    char16_t text[26];
    int length = 0;
    for (int i = n - 3; i >= 0; --i) {
        text[length++] = digits[i + 2];
        if (i > 0 && i % 3 == 0)
            text[length++] = separators.grouping;
    }
    text[length++] = separators.decimal;
    text[length++] = digits[1];
    text[length++] = digits[0];
    return QString(reinterpret_cast<const QChar *>(text), length);
}

QString plainAmount(std::int64_t hundredths)
{
    const QString sign = hundredths < 0 ? QStringLiteral("-") : QString();
    const std::uint64_t magnitude =
        hundredths < 0 ? 0 - std::uint64_t(hundredths) : std::uint64_t(hundredths);
    return QStringLiteral("%1%2.%3")
        .arg(sign)
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

AmountCheck CheckAmountText(const QString &text, std::uint32_t distanceView)
{
    if (text.isEmpty())
        return AMOUNT_ZERO;
    const ReadAmount read = split(text, separatorsFor(distanceView));
    if (read.foreignCharacter || read.decimalSeparators > 1)
        return AMOUNT_INVALID;
    if (read.integerDigits.empty() && read.fractionDigits.empty())
        return AMOUNT_INVALID;

    if (!read.integerDigits.empty()) {
        // The guard also refuses integer parts padded with zeros beyond ten digits in all.
        std::u16string guard = read.integerDigits;
        guard += (read.fractionDigits + u"00").substr(0, 2);
        if (guard.size() > 10 || (guard.size() == 10 && !(guard < u"2147483647")))
            return AMOUNT_TOO_LARGE;
    }

    const std::int64_t amount = amountOf(read);
    if (amount > MaxTypedAmount)
        return AMOUNT_TOO_LARGE;
    if (amount == 0)
        return AMOUNT_ZERO;
    return AMOUNT_OK;
}

bool IsWrittenAmount(QStringView text, std::uint32_t distanceView)
{
    const Separators separators = separatorsFor(distanceView);
    const qsizetype decimal = text.indexOf(QChar(separators.decimal));
    const QStringView integer = decimal < 0 ? text : text.first(decimal);
    const QStringView fraction = decimal < 0 ? QStringView() : text.sliced(decimal + 1);
    const auto digitsOnly = [](QStringView digits) {
        return std::ranges::all_of(digits, isAsciiDigit);
    };
    if (fraction.size() > 2 || !digitsOnly(fraction))
        return false;
    const QList<QStringView> groups = integer.split(QChar(separators.grouping));
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const qsizetype size = groups[i].size();
        const bool fits = i > 0 ? size == 3 : groups.size() == 1 || (size >= 1 && size <= 3);
        if (!fits || !digitsOnly(groups[i]))
            return false;
    }
    return true;
}

std::int32_t ReadAmountText(const QString &text, std::uint32_t distanceView)
{
    return static_cast<std::int32_t>(amountOf(split(text, separatorsFor(distanceView))));
}

} // namespace tripvane
