#include "CsvText.h"

#include <gtest/gtest.h>

using namespace tripvane;

namespace {

TEST(Windows1252, keepsWhatTheCodePageHoldsAndMarksTheRest)
{
    struct Case
    {
        const char16_t *text;
        const char *bytes;
    };
    const Case cases[] = {
        {u"Trip 1,00", "Trip 1,00"},
        {u"\u00E9\u00FF\u00A0", "\xE9\xFF\xA0"},           // Latin-1's upper half is the same
        {u"\u20AC\u017E\u2122\u0152", "\x80\x9E\x99\x8C"}, // where 1252 differs from Latin-1
        {u"\u0081\u009D", "\x81\x9D"},  // undefined bytes keep their control codes
        {u"\u0080\u0151\u65E5", "???"}, // a C1 control, o double acute, a CJK sign
        {u"a\U0001F697b", "a?b"},       // one character beyond 16 bits, one '?'
        {u"\xD800x", "?x"},             // a lone surrogate
    };
    for (const Case &c : cases)
        EXPECT_EQ(toWindows1252(QString::fromUtf16(c.text)), QByteArray(c.bytes))
            << QString::fromUtf16(c.text).toStdString();
}

TEST(CsvLine, quotesEveryFieldAndEndsWithCrLfInEitherEncoding)
{
    const QStringList fields{QStringLiteral("29-10-05"), QStringLiteral("1.000,87"), QString()};
    EXPECT_EQ(csvLine(fields, CsvEncoding::Windows1252),
              QByteArray("\"29-10-05\",\"1.000,87\",\"\"\r\n"));
    const QByteArray wide = csvLine({QStringLiteral("\u20AC")}, CsvEncoding::Unicode);
    EXPECT_EQ(wide, QByteArray("\"\0\xAC\x20\"\0\r\0\n\0", 10)) << "UTF-16LE without a mark";
    EXPECT_EQ(csvLine({QStringView(u"a\0b", 3).toString()}, CsvEncoding::Windows1252),
              QByteArray("\"a b\"\r\n"));
}

TEST(CsvFields, cleaningBlanksWhatWouldBreakAFieldAndKeepsTheLength)
{
    EXPECT_EQ(cleanMemo(QStringLiteral("a\"b'c`d")), QStringLiteral("a b c d"));
    EXPECT_EQ(cleanMemo(QStringLiteral("x\r\ny\rz\n")), QStringLiteral("x  y\rz\n"));
    EXPECT_EQ(cleanText(QStringLiteral("The \"Anchor\" inn's")),
              QStringLiteral("The  Anchor  inn's"));
    EXPECT_EQ(cleanText(QStringLiteral("Job \"A\"\r\nB")), QStringLiteral("Job  A   B"));
}

} // namespace
