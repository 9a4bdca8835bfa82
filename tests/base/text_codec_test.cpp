#include <gtest/gtest.h>
#include <QStringDecoder>

#include "base/text_codec.h"

namespace {

TEST(TextCodec, KnownLettersBothWays)
{
    struct Pair {
        char16_t unicode;
        unsigned char byte;
    };
    const Pair pairs[] = {{u'А', 0xC0}, {u'Я', 0xDF}, {u'а', 0xE0}, {u'я', 0xFF}, {u'Ё', 0xA8}, {u'ё', 0xB8},
                          {u'№', 0xB9}, {u'€', 0x88}, {u'Ђ', 0x80}, {u'°', 0xB0}, {u'Ї', 0xAF}, {u'A', 0x41}};
    for (const Pair& pair : pairs) {
        const QString text(QChar(pair.unicode));
        bool lossless = false;
        const QByteArray bytes = EncodeWindows1251(text, &lossless);
        ASSERT_EQ(bytes.size(), 1);
        EXPECT_EQ(static_cast<unsigned char>(bytes[0]), pair.byte) << int(pair.unicode);
        EXPECT_TRUE(lossless);
        EXPECT_EQ(DecodeWindows1251(bytes), text);
    }
    EXPECT_EQ(EncodeWindows1251(QStringLiteral("Код 12")), QByteArray("\xCA\xEE\xE4 12"));
}

TEST(TextCodec, EveryByteRoundTripsAndAgreesWithTheSystemCodecWhereThereIsOne)
{
    QStringDecoder system("windows-1251");
    for (int value = 0; value < 256; ++value) {
        const QByteArray byte(1, char(value));
        const QString decoded = DecodeWindows1251(byte);
        ASSERT_EQ(decoded.size(), 1);
        if (value == 0x98) {
            EXPECT_EQ(decoded.at(0).unicode(), 0xFFFD);
            continue;
        }
        EXPECT_EQ(EncodeWindows1251(decoded), byte) << value;
        if (system.isValid()) {
            const QString reference = system.decode(byte);
            EXPECT_EQ(decoded, reference) << value;
        }
    }
}

TEST(TextCodec, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    bool lossless = true;
    // A CJK character, a character outside the basic plane (two UTF-16 halves) and the replacement mark.
    const QString text = QString::fromUtf8("a中b\U0001F600c\xEF\xBF\xBD");
    EXPECT_EQ(EncodeWindows1251(text, &lossless), QByteArray("a?b?c?"));
    EXPECT_FALSE(lossless);
}

}  // namespace
