#include "DateText.h"

#include <QDate>
#include <QMutex>

#include <array>
#include <memory>

namespace tripvane {

namespace {

void putTwoDigits(char16_t *out, int value)
{
    out[0] = char16_t(u'0' + value / 10);
    out[1] = char16_t(u'0' + value % 10);
}

// Text of the two fields in the given order with the separator, then the two-digit year.
QString dateText(int first, int second, char16_t separator, int yearOfCentury)
{
    char16_t text[8];
    putTwoDigits(text, first);
    text[2] = separator;
    putTwoDigits(text + 3, second);
    text[5] = separator;
    putTwoDigits(text + 6, yearOfCentury);
    return QString(reinterpret_cast<const QChar *>(text), 8);
}

} // namespace

DateTexts DateTexts::forDate(std::uint16_t year, std::uint16_t month, std::uint16_t day)
{
    // One table per year, made when a date of that year is first shown; entries are never
    // removed, so every holder may keep a plain pointer to its texts. Callers have checked
    // the bounds (year 0..9999, month 0..12, day 0..31).
    // Lists are mostly walked in date order: the last date's texts come again without the lock.
    thread_local std::uint32_t lastDate = ~0u;
    thread_local const Texts *lastTexts = nullptr;
    const std::uint32_t date = year * 10000u + month * 100u + day;
    if (date == lastDate)
        return DateTexts(lastTexts);
    using YearTable = std::array<std::unique_ptr<const Texts>, 13 * 32>;
    static QBasicMutex lock;
    static std::array<std::unique_ptr<YearTable>, 10000> years;
    const QMutexLocker guard(&lock);
    std::unique_ptr<YearTable> &table = years[year];
    if (!table)
        table = std::make_unique<YearTable>();
    std::unique_ptr<const Texts> &slot = (*table)[month * 32 + day];
    if (!slot) {
        const int yy = year % 100;
        slot = std::make_unique<const Texts>(Texts{
            dateText(day, month, u'-', yy),
            dateText(day, month, u'/', yy),
            dateText(month, day, u'-', yy),
            dateText(month, day, u'/', yy),
        });
    }
    lastDate = date;
    lastTexts = slot.get();
    return DateTexts(lastTexts);
}

bool BuildDateTexts(DateFields &holder, const SystemTime &date)
{
    holder.date = date;
    if (date.day > 31 || date.month > 12 || date.year > 9999)
        return false;
    // The decimal digits yyyymmdd read as a number.
    holder.dateKey = dateKeyOf(date);
    holder.hasDateTexts = true;
    return true;
}

const QString &DateTextFor(const DateFields &holder, std::uint32_t dateView)
{
    const std::size_t index = dateView <= 3 ? dateView : 0;
    if (!holder.hasDateTexts)
        return DateTexts()[index];
    const std::uint32_t key = holder.dateKey;
    return DateTexts::forDate(std::uint16_t(key / 10000), std::uint16_t(key / 100 % 100),
                              std::uint16_t(key % 100))[index];
}

QString isoDateText(std::uint32_t dateKey)
{
    return QDate(int(dateKey / 10000), int(dateKey / 100 % 100), int(dateKey % 100))
        .toString(Qt::ISODate);
}

} // namespace tripvane
