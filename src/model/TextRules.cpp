#include "TextRules.h"

#include <algorithm>

namespace tripvane {

QString stripBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    if (begin == 0 && end == text.size())
        return text;
    return text.mid(begin, end - begin);
}

QString normalisePlaceName(const QString &text)
{
    QString place = stripBlanks(text);
    if (place.isEmpty())
        return place;
    // Most names are plain ASCII, often already in shape: changed in place, or not copied at all.
    if (std::all_of(place.cbegin(), place.cend(), [](QChar c) { return c.unicode() < 0x80; })) {
        for (qsizetype i = 0; i < place.size(); ++i) {
            const char16_t c = place.at(i).unicode();
            const char16_t wanted = i == 0 ? (c >= u'a' && c <= u'z' ? c - 32 : c)
                                           : (c >= u'A' && c <= u'Z' ? c + 32 : c);
            if (wanted != c)
                place[i] = QChar(wanted);
        }
        return place;
    }
    const QString upper = place.toUpper();
    place = place.toLower();
    place[0] = upper.at(0);
    return stripBlanks(place);
}

bool isNameText(const QString &text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c == u' ' || c.isLetter() || c.isDigit(); });
}

namespace {

CheckedText withinLimit(QString text, int limit)
{
    const TextProblem problem = text.size() > limit ? TextProblem::TooLong : TextProblem::None;
    return {std::move(text), problem};
}

} // namespace

CheckedText checkName(const QString &text, int limit)
{
    const QString name = stripBlanks(text);
    if (name.isEmpty())
        return {name, TextProblem::Empty};
    if (!isNameText(name))
        return {name, TextProblem::NotNameText};
    return withinLimit(normalisePlaceName(name), limit);
}

CheckedText checkTripPlace(const QString &text)
{
    return withinLimit(normalisePlaceName(text), FieldLimit::Place);
}

CheckedText checkMemo(const QString &text)
{
    return withinLimit(stripBlanks(text), FieldLimit::Memo);
}

} // namespace tripvane
