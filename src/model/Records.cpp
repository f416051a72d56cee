#include "Records.h"

namespace tripvane {

namespace {

bool setPresentText(QString &field, const QString &text)
{
    if (text.isNull())
        return false;
    field = text;
    return true;
}

bool setNonEmptyText(QString &field, const QString &text)
{
    if (text.isEmpty())
        return false;
    field = text;
    return true;
}

} // namespace

void MileageRecord::clear()
{
    key = -1;
    dateKey = 0;
    hasDateTexts = false;
    distance = 0;
    hasDistance = false;
    category = QString();
    startPlace = QString();
    destination = QString();
    memo = QString();
    unknownProperties.clear();
}

bool MileageRecord::setCategory(const QString &text)
{
    return setNonEmptyText(category, text);
}

bool MileageRecord::setStartPlace(const QString &text)
{
    return setPresentText(startPlace, text);
}

bool MileageRecord::setDestination(const QString &text)
{
    return setPresentText(destination, text);
}

bool MileageRecord::setMemo(const QString &text)
{
    return setPresentText(memo, text);
}

void MileageRecord::copyFrom(const MileageRecord &source)
{
    position = 0;
    key = source.key;
    setDate(source.date);
    setCategory(source.category);
    setStartPlace(source.startPlace);
    setDestination(source.destination);
    setMemo(source.memo);
    setDistance(source.distance);
    unknownProperties = source.unknownProperties;
}

bool CategoryEntry::setName(const QString &text)
{
    return setNonEmptyText(name, text);
}

void CategoryEntry::copyFrom(const CategoryEntry &source)
{
    setName(source.name);
    total = source.total;
}

bool BookRoute::setStartPlace(const QString &text)
{
    return setNonEmptyText(startPlace, text);
}

bool BookRoute::setDestination(const QString &text)
{
    return setNonEmptyText(destination, text);
}

void BookRoute::copyFrom(const BookRoute &source)
{
    setStartPlace(source.startPlace);
    setDestination(source.destination);
    setDistance(source.distance);
}

} // namespace tripvane
