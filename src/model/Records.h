#pragma once

#include "AmountText.h"
#include "DateText.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

namespace tripvane {

// Properties this program does not know (a newer one's), as stored: written back with the trip
// so that no rewrite loses them. Almost no trip has any, so an empty holder is one null pointer.
class KeptProperties
{
public:
    KeptProperties() = default;
    KeptProperties(const KeptProperties &other) { set(other.text()); }
    KeptProperties(KeptProperties &&) noexcept = default;
    KeptProperties &operator=(const KeptProperties &other)
    {
        if (this != &other)
            set(other.text());
        return *this;
    }
    KeptProperties &operator=(KeptProperties &&) noexcept = default;
    ~KeptProperties() = default;

    bool isEmpty() const { return !m_text; }
    const QByteArray &text() const
    {
        static const QByteArray none;
        return m_text ? *m_text : none;
    }
    void set(const QByteArray &text)
    {
        m_text = text.isEmpty() ? nullptr : std::make_unique<const QByteArray>(text);
    }
    void clear() { m_text.reset(); }

private:
    std::unique_ptr<const QByteArray> m_text;
};

// Texts follow one rule throughout: a null QString is an absent text, readers show it as empty.
// Positions are full width: a log can hold more than 65,535 trips.
using ListPosition = std::uint32_t;

struct MileageRecord : DateFields
{
    ListPosition position = 0;
    std::int32_t key = 0; // -1 after clear, 0 until the store gives one
    std::int32_t distance = 0;
    bool hasDistance = false; // a trip stored without one shows no distance text
    QString category;
    QString startPlace;
    QString destination;
    QString memo;
    KeptProperties unknownProperties;

    void clear();
    bool setDate(const SystemTime &newDate) { return BuildDateTexts(*this, newDate); }
    void setDistance(std::int32_t hundredths)
    {
        distance = hundredths;
        hasDistance = true;
    }
    bool setCategory(const QString &text);
    bool setStartPlace(const QString &text);
    bool setDestination(const QString &text);
    bool setMemo(const QString &text);
    const QString &dateTextFor(std::uint32_t dateView) const
    {
        return DateTextFor(*this, dateView);
    }
    QString distanceTextFor(std::uint32_t view) const
    {
        return hasDistance ? FormatAmount(distance, view) : QString();
    }
    // Absent texts of the source leave this record's texts as they were.
    void copyFrom(const MileageRecord &source);
};

struct CategoryEntry
{
    ListPosition position = 0;
    QString name;
    std::int32_t total = 0; // report total in hundredths; never stored

    bool setName(const QString &text);
    void copyFrom(const CategoryEntry &source);
};

struct BookRoute
{
    ListPosition position = 0;
    QString startPlace;
    QString destination;
    std::int32_t distance = 0;

    bool setStartPlace(const QString &text);
    bool setDestination(const QString &text);
    void setDistance(std::int32_t hundredths) { distance = hundredths; }
    // A route stored without a distance shows it as zero.
    QString distanceTextFor(std::uint32_t view) const { return FormatAmount(distance, view); }
    void copyFrom(const BookRoute &source);
};

} // namespace tripvane
