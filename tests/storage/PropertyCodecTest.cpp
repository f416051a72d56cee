#include "PropertyCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace tripvane;

namespace {

PropertyValues roundTrip(const PropertyValues &values)
{
    const QByteArray encoded = encodeProperties(values);
    PropertyValues decoded;
    EXPECT_TRUE(decodeProperties(encoded.constData(), int(encoded.size()), decoded))
        << encoded.toStdString();
    return decoded;
}

bool decodes(const char *text)
{
    PropertyValues values;
    return decodeProperties(text, int(std::strlen(text)), values);
}

TEST(PropertyCodec, numbersAndTextsRoundTripByIdentifier)
{
    const PropertyValues values{
        PropertyValue::ofNumber(0x00000013, 4294967295u),
        PropertyValue::ofNumber(0x00010013, 0),
        PropertyValue::ofText(0x0005001F, QStringLiteral("Job")),
    };
    const PropertyValues back = roundTrip(values);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0].id, 0x00000013u);
    EXPECT_EQ(back[0].number, 4294967295u);
    EXPECT_EQ(back[2].id, 0x0005001Fu);
    EXPECT_EQ(back[2].text, QStringLiteral("Job"));
    EXPECT_EQ(encodeProperties({values[2]}), QByteArray(R"({"0x0005001F":"Job"})"));
}

TEST(PropertyCodec, everyCodeUnitSurvives)
{
    QString awkward = QStringLiteral("quote \" back \\ tab \t nl \n ctl \x01 é € 😀 /");
    awkward.append(QChar(0xD800)); // unpaired high surrogate
    awkward.append(u'x');
    awkward.append(QChar(0xDC00)); // unpaired low surrogate
    const PropertyValues back = roundTrip({PropertyValue::ofText(0x0006001F, awkward),
                                           PropertyValue::ofText(0x0007001F, QStringLiteral(""))});
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].text, awkward);
    EXPECT_TRUE(back[1].text.isEmpty() && !back[1].text.isNull()) << "an empty text stays present";
}

// A store edited by an SQLite tool may hold any of JSON's escapes.
TEST(PropertyCodec, readsEveryEscapeOfJson)
{
    PropertyValues values;
    const char *text = R"({"0x0005001F":"\/\b\f\n\r\t\"\\\u00e9"})";
    ASSERT_TRUE(decodeProperties(text, int(std::strlen(text)), values));
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].text, QStringLiteral("/\b\f\n\r\t\"\\\u00e9"));
}

TEST(PropertyCodec, toleratesSpacingAndSkipsForeignMembers)
{
    PropertyValues values;
    // A name with an escape is never an identifier, even one that reads as one.
    const char *text =
        R"( { "note" : "hand edited", "0x00040013" : 12 , "x": 5, "0x0004\u00301": 6 } )";
    ASSERT_TRUE(decodeProperties(text, int(std::strlen(text)), values));
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].id, 0x00040013u);
    EXPECT_EQ(values[0].number, 12u);
    EXPECT_TRUE(decodes("{}"));
}

TEST(PropertyCodec, refusesWhatIsNotAPropertyObject)
{
    EXPECT_FALSE(decodes(""));
    EXPECT_FALSE(decodes("[1,2]"));
    EXPECT_FALSE(decodes(R"({"0x00040013":"text for a number"})"));
    EXPECT_FALSE(decodes(R"({"0x0005001F":5})"));
    EXPECT_FALSE(decodes(R"({"0x00040013":-5})"));
    EXPECT_FALSE(decodes(R"({"0x00040013":4294967296})"));
    EXPECT_FALSE(decodes(R"({"0x0005001F":"unterminated})"));
    EXPECT_FALSE(decodes(R"({"0x0005001F":"bad \q escape"})"));
    EXPECT_FALSE(decodes(R"({"0x0005001F":"\u12"})"));
    // A bad \u digit is refused where it stands, not taken as the end of the text.
    EXPECT_FALSE(decodes(R"({"0x0005001F":"\u,"0x0006001F":"abcd"})"));
    EXPECT_FALSE(decodes(R"({"0x00040013":1} trailing)"));
    PropertyValues values;
    EXPECT_FALSE(decodeProperties(nullptr, 0, values));
}

// Texts that end where a member name should begin, or a name without its quotes: each is read
// from a buffer of exactly its length, so that a read past the end shows under the sanitizer.
TEST(PropertyCodec, aTextEndingBeforeANameIsRefusedWithoutReadingPastIt)
{
    for (const char *text : {"{", "{ ", R"({"0x00000013":5,)", R"({"0x00000013":5, )",
                             "{0x00000013:5}", R"({"0x00000013":5,0x00000013:6})"}) {
        const std::size_t length = std::strlen(text);
        const auto exact = std::make_unique<char[]>(length);
        std::memcpy(exact.get(), text, length);
        PropertyValues values;
        EXPECT_FALSE(decodeProperties(exact.get(), int(length), values)) << text;
    }
}

} // namespace
