#include "DateText.h"

namespace tripvane {

namespace {

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, u'0');
}

} // namespace

bool BuildDateTexts(DateFields &holder, const SystemTime &date)
{
    holder.date = date;
    if (date.day > 31 || date.month > 12 || date.year > 9999)
        return false;

    const QString dd = twoDigits(date.day);
    const QString mm = twoDigits(date.month);
    const QString yyyy = QString::number(date.year).rightJustified(4, u'0');
    const QString yy = yyyy.right(2);

    holder.dateText[0] = dd + u'-' + mm + u'-' + yy;
    holder.dateText[1] = dd + u'/' + mm + u'/' + yy;
    holder.dateText[2] = mm + u'-' + dd + u'-' + yy;
    holder.dateText[3] = mm + u'/' + dd + u'/' + yy;
    holder.dateKey = (yyyy + mm + dd).toUInt();
    return true;
}

const QString &DateTextFor(const DateFields &holder, std::uint32_t dateView)
{
    return holder.dateText[dateView <= 3 ? dateView : 0];
}

} // namespace tripvane
