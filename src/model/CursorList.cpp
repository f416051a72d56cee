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
    if (isEmpty() || name.isEmpty())
        return nullptr;
    for (ListPosition i = 0; i < size(); ++i) {
        if (at(i).name == name) {
            setCursor(i);
            return &at(i);
        }
    }
    setCursor(0);
    return nullptr;
}

bool CategoryList::removeByName(const QString &name)
{
    const CategoryEntry *entry = findByName(name);
    return entry && removeAtPosition(entry->position);
}

} // namespace tripvane
