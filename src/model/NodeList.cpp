#include "NodeList.h"

namespace tripvane {

MileageRecord *RecordList::replaceAtPosition(ListPosition position, const MileageRecord &source)
{
    if (position >= size())
        return nullptr;
    MileageRecord &node = at(position);
    node.copyFrom(source);
    node.position = position;
    return &node;
}

CategoryEntry *CategoryList::append(const CategoryEntry &source)
{
    for (ListPosition i = 0; i < size(); ++i) {
        if (at(i).name == source.name)
            return nullptr;
    }
    return NodeList::append(source);
}

CategoryEntry *CategoryList::findByName(const QString &name)
{
    for (ListPosition i = 0; i < size() && !name.isEmpty(); ++i) {
        if (at(i).name == name)
            return &at(i);
    }
    return nullptr;
}

bool CategoryList::removeByName(const QString &name)
{
    const CategoryEntry *entry = findByName(name);
    return entry && removeAtPosition(entry->position);
}

} // namespace tripvane
