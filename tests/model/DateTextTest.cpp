#include "DateText.h"
#include "DataTable.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

TEST(BuildDateTexts, showsAndKeysEachDateAsTheTableSays)
{
    for (const QStringList &row : dataTable("date-texts.txt")) {
        ASSERT_GE(row.size(), 4);
        const std::string what = row.join(u' ').toStdString();
        const SystemTime date = makeDate(row[0].toInt(), row[1].toInt(), row[2].toInt());
        DateFields d;
        ASSERT_TRUE(BuildDateTexts(d, makeDate(2005, 10, 29)));
        const bool refused = row[3] == u"refused";
        EXPECT_EQ(BuildDateTexts(d, date), !refused) << what;
        EXPECT_EQ(d.date, date) << "stored even when refused: " << what;
        const QStringList texts =
            refused ? QStringList{"29-10-05", "29/10/05", "10-29-05", "10/29/05", "20051029"}
                    : row.mid(3);
        for (int order = 0; order < 4; ++order)
            EXPECT_EQ(DateTextFor(d, std::size_t(order)), texts[order]) << what;
        // Orders above three give the text of order zero.
        EXPECT_EQ(DateTextFor(d, 0xFFFFFFFFu), texts[0]) << what;
        EXPECT_EQ(d.dateKey, texts[4].toUInt()) << what;
    }
}

} // namespace
