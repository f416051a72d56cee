#include "Services.h"

#include <QDateTime>

namespace tripvane {

SystemTime SystemClock::nowUtc() const
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    SystemTime time = makeDate(now.date().year(), now.date().month(), now.date().day());
    time.dayOfWeek = static_cast<std::uint16_t>(now.date().dayOfWeek() % 7);
    time.hour = static_cast<std::uint16_t>(now.time().hour());
    time.minute = static_cast<std::uint16_t>(now.time().minute());
    time.second = static_cast<std::uint16_t>(now.time().second());
    time.milliseconds = static_cast<std::uint16_t>(now.time().msec());
    return time;
}

SystemTime SystemClock::localToday() const
{
    const QDate today = QDate::currentDate();
    return makeDate(today.year(), today.month(), today.day());
}

} // namespace tripvane
