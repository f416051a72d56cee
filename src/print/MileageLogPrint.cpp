#include "MileageLogPrint.h"

#include "SettingValues.h"
#include "TripClaim.h"
#include "TripLog.h"

#include <QDate>
#include <QDateTime>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <map>
#include <memory>
#include <numeric>

namespace tripvane {

namespace {

// The page is laid out in points; the painter is scaled to the device.
constexpr qreal RowHeight = 12;
constexpr qreal HeadingHeight = 44;
constexpr qreal FooterHeight = 16;
constexpr qreal ChartHeight = 250;
constexpr int TextSize = 8;

// The columns of a table: a share of the width each, numbers to the right.
struct Column
{
    QString title;
    qreal share;
    bool number = false;
};

const std::vector<Column> tripColumns{
    {QStringLiteral("Date"), 0.11},  {QStringLiteral("Category"), 0.16},
    {QStringLiteral("Start"), 0.22}, {QStringLiteral("Destination"), 0.22},
    {QStringLiteral("Memo"), 0.16},  {QStringLiteral("Distance"), 0.13, true}};
const std::vector<Column> summaryColumns{{QStringLiteral("Category"), 0.26},
                                         {QStringLiteral("Trips"), 0.1, true},
                                         {QStringLiteral("Distance"), 0.18, true},
                                         {QStringLiteral("Rate"), 0.26, true},
                                         {QStringLiteral("Amount"), 0.2, true}};
// A line of its own across the page.
const std::vector<Column> wholeLine{{QString(), 1.0}};
const std::vector<Column> fleetColumns{{QStringLiteral("Vehicle"), 0.36},
                                       {QStringLiteral("Trips"), 0.12, true},
                                       {QStringLiteral("Distance"), 0.26, true},
                                       {QStringLiteral("Amount"), 0.26, true}};

// What one page holds.
struct Page
{
    enum class Kind { Trips, Summary, Chart, Fleet } kind;
    std::size_t vehicle = 0;
    std::int64_t firstTrip = 0;
    std::int64_t trips = 0;
    bool chartBelow = false; // the summary leaves room for the chart
};

qreal tableRows(qreal height)
{
    return std::floor((height - HeadingHeight - FooterHeight) / RowHeight);
}

std::vector<Page> planPages(const MileageLogContent &content, qreal height)
{
    // Rows for the column titles, the sum brought forward and the one carried forward.
    const std::int64_t perPage = std::max<std::int64_t>(1, std::int64_t(tableRows(height)) - 3);
    std::vector<Page> pages;
    for (std::size_t v = 0; v < content.vehicles.size(); ++v) {
        const PrintedVehicle &vehicle = content.vehicles[v];
        std::int64_t first = 0;
        do {
            const std::int64_t rows = std::min(perPage, vehicle.tripCount - first);
            pages.push_back({Page::Kind::Trips, v, first, rows});
            first += rows;
        } while (first < vehicle.tripCount);
        const qreal summaryRows = qreal(vehicle.claim.categories.size()) + 3;
        const bool chartBelow = summaryRows * RowHeight + ChartHeight + 2 * RowHeight <=
                                height - HeadingHeight - FooterHeight;
        pages.push_back({Page::Kind::Summary, v, 0, 0, chartBelow});
        if (!chartBelow)
            pages.push_back({Page::Kind::Chart, v});
    }
    if (content.vehicles.size() > 1)
        pages.push_back({Page::Kind::Fleet});
    return pages;
}

// Money and rates are written as the device writes distances, so that a row does not mix
// 1.084,05 with 1084.05.
QString money(std::int64_t cents, const PrintedVehicle &vehicle)
{
    return moneyText(FormatAmount(cents, vehicle.distanceView), vehicle.rates.currency);
}

QString ratesText(const CategoryClaim &category, std::uint32_t view)
{
    QStringList rates;
    for (MilliRate rate : category.ratesPaid) {
        QString text = rateText(rate);
        rates.append(view == DotView ? text.replace(u'.', u',') : text);
    }
    if (category.unrated && category.trips > 0)
        rates.append(QStringLiteral("none"));
    return rates.join(QStringLiteral("; ")); // a comma may be a rate's own
}

// Colours told apart in black and white too: each has a pattern of its own.
QBrush categoryBrush(std::size_t index)
{
    static const QColor colours[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28),
                                     QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
                                     QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                                     QColor(0x17, 0xbe, 0xcf), QColor(0x7f, 0x7f, 0x7f)};
    static const Qt::BrushStyle patterns[] = {
        Qt::SolidPattern, Qt::BDiagPattern,     Qt::FDiagPattern,
        Qt::CrossPattern, Qt::Dense4Pattern,    Qt::HorPattern,
        Qt::VerPattern,   Qt::DiagCrossPattern, Qt::Dense6Pattern};
    return QBrush(colours[index % std::size(colours)], patterns[index % std::size(patterns)]);
}

class Painter
{
public:
    Painter(QPagedPaintDevice &target, const MileageLogContent &content)
        : m_target(target)
        , m_content(content)
    {
        const QRectF paint = target.pageLayout().paintRect(QPageLayout::Point);
        m_width = paint.width();
        m_height = paint.height();
        m_pages = planPages(content, m_height);
    }

    bool paint()
    {
        if (!m_painter.begin(&m_target))
            return false;
        for (std::size_t n = 0; n < m_pages.size(); ++n) {
            if (n > 0 && !m_target.newPage())
                return false;
            m_painter.resetTransform();
            m_painter.scale(m_target.logicalDpiX() / 72.0, m_target.logicalDpiY() / 72.0);
            paintPage(m_pages[n], int(n) + 1);
        }
        return m_painter.end();
    }

private:
    // Sizes in points: the painter is scaled to points, so a font's pixels are points too.
    void setFont(int size, bool bold = false)
    {
        if (m_painter.font().pixelSize() == size && m_painter.font().bold() == bold)
            return; // a font set anew is looked up anew, row after row
        QFont font = m_painter.font();
        font.setPixelSize(size);
        font.setBold(bold);
        m_painter.setFont(font);
    }

    // One line: a text wider than its room ends in an ellipsis rather than at the paper's edge,
    // and a line break given with a title is a blank.
    void drawElided(const QRectF &room, const QString &text)
    {
        m_painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                           QFontMetricsF(m_painter.font())
                               .elidedText(text.simplified(), Qt::ElideRight, room.width()));
    }

    void paintPage(const Page &page, int number)
    {
        m_painter.setPen(Qt::black);
        setFont(13, true);
        const QString vehicle = page.kind == Page::Kind::Fleet
                                    ? QStringLiteral("Fleet")
                                    : m_content.vehicles[page.vehicle].name;
        const bool several = m_content.vehicles.size() > 1;
        drawElided(QRectF(0, 0, m_width, 18), m_content.title);
        setFont(TextSize);
        const QString made = QStringLiteral("Made %1").arg(m_content.madeOn);
        m_painter.drawText(QRectF(0, 20, m_width, RowHeight), Qt::AlignRight | Qt::AlignVCenter,
                           made);
        drawElided(
            QRectF(0, 20,
                   m_width - QFontMetricsF(m_painter.font()).horizontalAdvance(made) - RowHeight,
                   RowHeight),
            (several ? vehicle + QStringLiteral(" \u2014 ") : QString()) + m_content.range);
        m_painter.drawLine(QPointF(0, 36), QPointF(m_width, 36));
        m_painter.drawText(QRectF(0, m_height - RowHeight, m_width, RowHeight),
                           Qt::AlignRight | Qt::AlignVCenter,
                           QStringLiteral("page %1 of %2").arg(number).arg(m_pages.size()));
        m_y = HeadingHeight;
        switch (page.kind) {
        case Page::Kind::Trips:
            paintTrips(page);
            break;
        case Page::Kind::Summary:
            paintSummary(m_content.vehicles[page.vehicle]);
            if (page.chartBelow)
                paintChart(m_content.vehicles[page.vehicle]);
            break;
        case Page::Kind::Chart:
            paintChart(m_content.vehicles[page.vehicle]);
            break;
        case Page::Kind::Fleet:
            paintFleet();
            break;
        }
    }

    // Cells are drawn at a point: a text laid out in a rectangle costs many times more, and a
    // log of 100,000 trips has 600,000 cells.
    void row(const std::vector<Column> &columns, const QStringList &cells, bool bold = false)
    {
        setFont(TextSize, bold);
        const QFontMetricsF metrics(m_painter.font());
        const qreal baseline = m_y + (RowHeight + metrics.ascent() - metrics.descent()) / 2;
        qreal x = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const qreal width = columns[i].share * m_width - 4;
            QString text = cells.value(qsizetype(i));
            qreal advance = text.isEmpty() ? 0 : metrics.horizontalAdvance(text);
            if (advance > width) {
                text = metrics.elidedText(text, Qt::ElideRight, width);
                advance = metrics.horizontalAdvance(text);
            }
            if (!text.isEmpty())
                m_painter.drawText(
                    QPointF(x + 2 + (columns[i].number ? width - advance : 0), baseline), text);
            x += width + 4;
        }
        m_y += RowHeight;
    }

    void titles(const std::vector<Column> &columns)
    {
        QStringList cells;
        for (const Column &column : columns)
            cells.append(column.title);
        row(columns, cells, true);
        m_painter.drawLine(QPointF(0, m_y), QPointF(m_width, m_y));
    }

    void rule() { m_painter.drawLine(QPointF(0, m_y), QPointF(m_width, m_y)); }

    void paintTrips(const Page &page)
    {
        const PrintedVehicle &vehicle = m_content.vehicles[page.vehicle];
        if (page.firstTrip == 0)
            m_carried = 0;
        titles(tripColumns);
        if (page.firstTrip > 0)
            row(tripColumns,
                {QString(),
                 QStringLiteral("Brought forward"),
                 {},
                 {},
                 {},
                 FormatAmount(m_carried, vehicle.distanceView)},
                true);
        for (std::int64_t i = page.firstTrip; i < page.firstTrip + page.trips; ++i) {
            const MileageRecord &trip = vehicle.tripAt(i);
            m_carried += trip.distance;
            row(tripColumns, {trip.dateTextFor(vehicle.dateView), trip.category,
                              trip.startPlace.trimmed(), trip.destination.trimmed(),
                              trip.memo.trimmed(), trip.distanceTextFor(vehicle.distanceView)});
        }
        if (vehicle.tripCount == 0)
            row(wholeLine, {QStringLiteral("No trips in this range")});
        rule();
        const bool last = page.firstTrip + page.trips >= vehicle.tripCount;
        row(tripColumns,
            {QString(),
             last ? QStringLiteral("Total") : QStringLiteral("Carried forward"),
             {},
             {},
             {},
             FormatAmount(m_carried, vehicle.distanceView)},
            true);
    }

    // A section's title, above what follows by space.
    void sectionTitle(const QString &title, qreal space = 4)
    {
        setFont(10, true);
        m_painter.drawText(QRectF(0, m_y, m_width, RowHeight + 4), Qt::AlignLeft, title);
        m_y += RowHeight + space;
    }

    void paintSummary(const PrintedVehicle &vehicle)
    {
        sectionTitle(QStringLiteral("Summary"));
        titles(summaryColumns);
        for (const CategoryClaim &category : vehicle.claim.categories) {
            row(summaryColumns,
                {category.category, QString::number(category.trips),
                 FormatAmount(category.distance, vehicle.distanceView),
                 ratesText(category, vehicle.distanceView), money(category.cents, vehicle)});
        }
        rule();
        row(summaryColumns,
            {QStringLiteral("Total"), QString::number(vehicle.claim.trips),
             FormatAmount(vehicle.claim.distance, vehicle.distanceView), QString(),
             money(vehicle.claim.cents, vehicle)},
            true);
        m_y += RowHeight;
    }

    void paintChart(const PrintedVehicle &vehicle)
    {
        // The distance per month and category, over the months of the range.
        std::map<int, std::vector<std::int64_t>> months; // yyyy * 12 + month - 1
        std::map<QString, std::size_t> indexOf;
        for (std::size_t i = 0; i < vehicle.claim.categories.size(); ++i)
            indexOf.emplace(vehicle.claim.categories[i].category, i);
        const std::size_t categories = vehicle.claim.categories.size();
        for (std::int64_t i = 0; i < vehicle.tripCount; ++i) {
            const MileageRecord &trip = vehicle.tripAt(i);
            std::vector<std::int64_t> &month = months[trip.date.year * 12 + trip.date.month - 1];
            month.resize(categories);
            const auto at = indexOf.find(trip.category);
            if (at != indexOf.end())
                month[at->second] += trip.distance;
        }
        sectionTitle(QStringLiteral("Distance per month"), 6);
        if (months.empty()) {
            row(wholeLine, {QStringLiteral("No trips in this range")});
            return;
        }
        // The months of the range, unless a range of many years would leave no room for a bar.
        constexpr int MostMonths = 60;
        const auto monthOf = [](std::uint32_t key) {
            return int(key / 10000 * 12 + key / 100 % 100 - 1);
        };
        int firstMonth = std::min(monthOf(m_content.first), months.begin()->first);
        int lastMonth = std::max(monthOf(m_content.last), months.rbegin()->first);
        if (lastMonth - firstMonth >= MostMonths) {
            firstMonth = months.begin()->first;
            lastMonth = months.rbegin()->first;
        }
        const int count = lastMonth - firstMonth + 1;
        std::int64_t highest = 1;
        for (const auto &[month, distances] : months)
            highest = std::max(
                highest, std::accumulate(distances.begin(), distances.end(), std::int64_t(0)));
        setFont(TextSize - 1);
        const qreal axis = 56;
        const qreal legendWidth = 120;
        const QRectF plot(axis, m_y, m_width - axis - legendWidth - 8, ChartHeight - 30);
        m_painter.drawText(QRectF(0, plot.top() - 4, axis - 4, RowHeight),
                           Qt::AlignRight | Qt::AlignVCenter,
                           FormatAmount(highest, vehicle.distanceView));
        m_painter.drawText(QRectF(0, plot.bottom() - RowHeight + 4, axis - 4, RowHeight),
                           Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
        m_painter.drawLine(plot.bottomLeft(), plot.bottomRight());
        m_painter.drawLine(plot.bottomLeft(), plot.topLeft());
        const qreal slot = plot.width() / count;
        const int labelEvery = std::max(1, int(std::ceil(34 / slot)));
        for (int m = 0; m < count; ++m) {
            const int month = firstMonth + m;
            qreal top = plot.bottom();
            const auto found = months.find(month);
            for (std::size_t c = 0; found != months.end() && c < categories; ++c) {
                const qreal height = plot.height() * qreal(found->second[c]) / qreal(highest);
                if (height <= 0)
                    continue;
                const QRectF bar(plot.left() + m * slot + slot * 0.15, top - height, slot * 0.7,
                                 height);
                m_painter.fillRect(bar, Qt::white);
                m_painter.fillRect(bar, categoryBrush(c));
                m_painter.drawRect(bar);
                top -= height;
            }
            if (m % labelEvery == 0)
                m_painter.drawText(
                    QRectF(plot.left() + m * slot - 10, plot.bottom() + 2, slot * labelEvery + 20,
                           RowHeight),
                    Qt::AlignLeft | Qt::AlignVCenter,
                    QDate(month / 12, month % 12 + 1, 1).toString(QStringLiteral("MM/yyyy")));
        }
        // The legend names each pattern: the chart reads without colour.
        qreal y = plot.top();
        const qreal x = plot.right() + 12;
        for (std::size_t c = 0; c < categories; ++c) {
            const QRectF swatch(x, y + 2, 14, RowHeight - 4);
            m_painter.fillRect(swatch, categoryBrush(c));
            m_painter.drawRect(swatch);
            m_painter.drawText(QRectF(x + 18, y, legendWidth - 18, RowHeight),
                               Qt::AlignLeft | Qt::AlignVCenter,
                               vehicle.claim.categories[c].category);
            y += RowHeight;
        }
        m_y = plot.bottom() + 2 * RowHeight;
    }

    void paintFleet()
    {
        sectionTitle(QStringLiteral("Fleet summary"));
        titles(fleetColumns);
        std::int64_t trips = 0;
        std::int64_t distance = 0;
        std::int64_t cents = 0;
        for (const PrintedVehicle &vehicle : m_content.vehicles) {
            row(fleetColumns, {vehicle.name, QString::number(vehicle.claim.trips),
                               FormatAmount(vehicle.claim.distance, vehicle.distanceView),
                               money(vehicle.claim.cents, vehicle)});
            trips += vehicle.claim.trips;
            distance += vehicle.claim.distance;
            cents += vehicle.claim.cents;
        }
        rule();
        const PrintedVehicle &first = m_content.vehicles.front();
        row(fleetColumns,
            {QStringLiteral("Total"), QString::number(trips),
             FormatAmount(distance, first.distanceView), money(cents, first)},
            true);
    }

    QPagedPaintDevice &m_target;
    const MileageLogContent &m_content;
    QPainter m_painter;
    std::vector<Page> m_pages;
    qreal m_width = 0;
    qreal m_height = 0;
    qreal m_y = 0;
    std::int64_t m_carried = 0;
};

} // namespace

void MileageLogContent::setRange(std::uint32_t firstKey, std::uint32_t lastKey)
{
    first = firstKey;
    last = lastKey;
    range = QStringLiteral("%1 to %2").arg(isoDateText(first), isoDateText(last));
    madeOn = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

bool printMileageLog(QPagedPaintDevice &target, const MileageLogContent &content)
{
    return Painter(target, content).paint();
}

std::optional<PrintedVehicle> printedVehicle(const QString &name, const TripLog &log,
                                             std::uint32_t dateView, std::uint32_t distanceView,
                                             RateTable rates, std::uint32_t first,
                                             std::uint32_t last)
{
    std::optional<Claim> claim = claimOf(log, rates, first, last);
    if (!claim)
        return std::nullopt;
    auto inRange = std::make_shared<std::vector<ListPosition>>();
    const RecordList &trips = log.trips();
    for (ListPosition i = 0; i < trips.size(); ++i) {
        if (dateKeyInRange(trips.at(i).dateKey, first, last))
            inRange->push_back(i);
    }
    std::ranges::stable_sort(*inRange, {},
                             [&trips](ListPosition i) { return trips.at(i).dateKey; });
    PrintedVehicle vehicle;
    vehicle.name = name;
    vehicle.dateView = dateView;
    vehicle.distanceView = distanceView;
    vehicle.tripCount = std::int64_t(inRange->size());
    vehicle.tripAt = [inRange, &trips](std::int64_t i) -> const MileageRecord & {
        return trips.at((*inRange)[std::size_t(i)]);
    };
    vehicle.rates = std::move(rates);
    vehicle.claim = std::move(*claim);
    return vehicle;
}

} // namespace tripvane
