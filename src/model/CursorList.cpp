#include "CursorList.h"

namespace tripvane {

MileageRecord *RecordList::replaceAtPosition(ListPosition position, const MileageRecord &source)
{
    if (isEmpty() || position < cursorIndex() || position >= size())
        return nullptr;
    MileageRecord &node = at(position);
    node.copyFrom(source);
    node.position = position;
    setCursor(position);
    return &node;
}

CategoryEntry *CategoryList::append(const CategoryEntry &source)
{
    if (!isEmpty()) {
        setCursor(0);
        for (ListPosition i = 0; i < size(); ++i) {
            if (at(i).name == source.name)
                return nullptr;
        }
    }
    return CursorList::append(source);
}

CategoryEntry *CategoryList::findByName(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    return findFirst([&name](const CategoryEntry &e) { return e.name == name; });
}

bool CategoryList::removeByName(const QString &name)
{
    const CategoryEntry *entry = findByName(name);
    return entry && removeAtPosition(entry->position);
}

BookRoute *RouteList::findByStartPlace(const QString &text)
{
    if (text.isEmpty())
        return nullptr;
    return findFirst([&text](const BookRoute &r) { return r.startPlace == text; });
}

BookRoute *RouteList::findByDestination(const QString &text)
{
    if (text.isEmpty())
        return nullptr;
    return findFirst([&text](const BookRoute &r) { return r.destination == text; });
}

} // namespace tripvane
