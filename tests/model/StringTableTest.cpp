#include "StringTable.h"

#include <gtest/gtest.h>

using namespace tripvane;

TEST(StringTable, holdsTheProgramsOwnTexts)
{
    EXPECT_EQ(loadString(1), QStringLiteral("Tripvane"));
    EXPECT_EQ(loadString(2), QStringLiteral("Tripvane"));
    EXPECT_EQ(loadString(4), QStringLiteral("Velmora"));
    EXPECT_EQ(loadString(40023), QStringLiteral("The Tripvane program cannot continue!"));
    EXPECT_EQ(loadString(40024), QStringLiteral("Error during building database:"));
    EXPECT_EQ(loadString(40059), QStringLiteral("Please specify a valid amount. Check mileage view "
                                                "options in the Tools\\View Options menu item."));
    EXPECT_EQ(loadString(40061), QStringLiteral("You can not enter 0.0 !"));
    EXPECT_EQ(loadString(40067), QStringLiteral("Fout: Mileage Book sorting"));
    EXPECT_EQ(loadString(40069), QStringLiteral("records will be deleted. Continue?"));
    EXPECT_EQ(loadString(40012), QStringLiteral("Date"));
    EXPECT_EQ(loadString(40065), QStringLiteral("Destination"));
}

TEST(StringTable, balanceMessageBreaksItsLastLine)
{
    const QString text = loadString(IDS_BALANCE_OVERFLOW);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Balance amount exceeds the largest amount possible "
                                               "in Tripvane program. In order to finish")));
    EXPECT_TRUE(text.contains(QStringLiteral("via Tools\\Export Mileage records... menu item.")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("processed by most spreadsheets \n(such as Microsoft "
                                             "Excel).")));
    EXPECT_EQ(text.count(u'\n'), 1);
}

TEST(StringTable, unknownIdGivesNull)
{
    EXPECT_TRUE(loadString(3).isNull());
    EXPECT_TRUE(loadString(40011).isNull());
    EXPECT_TRUE(loadString(-1).isNull());
}
