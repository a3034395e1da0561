#include <gtest/gtest.h>

#include <QString>

#include "lang/message_table.h"
#include "lang/spoken_texts.h"

namespace quillo::lang {
namespace {

class MessageTableTest : public ::testing::Test {
protected:
    void TearDown() override { LanguageIndex = 0; }
};

TEST_F(MessageTableTest, MessageTextFollowsLanguageIndex) {
    LanguageIndex = English;
    EXPECT_EQ(MessageText(360), QStringLiteral(" %RH"));
    EXPECT_EQ(MessageText(0), QStringLiteral("Select device"));
    LanguageIndex = German;
    EXPECT_EQ(MessageText(360), QStringLiteral(" %RF"));
    LanguageIndex = Russian;
    EXPECT_EQ(MessageText(550), QString::fromUtf16(u"Пожалуйста, выберите устройство"));
    LanguageIndex = Chinese;
    EXPECT_EQ(MessageText(540), QString::fromUtf16(u"   沒有設備"));
    // The last text of the table.
    LanguageIndex = Finnish;
    EXPECT_EQ(MessageText(640), MessageAt(kMessageTableSize - 1));
    EXPECT_EQ(MessageText(630), QString::fromUtf16(u"Oletusyhdyskäytävä"));
}

TEST_F(MessageTableTest, TextsConvertToUtf16Faithfully) {
    EXPECT_EQ(MessageAt(MessagePosition(590, Swedish)),
              QString::fromUtf16(u"Stäng \u201DService Aldrun Quillo\u201D"));
    EXPECT_EQ(MessageAt(MessagePosition(590, German)),
              QString::fromUtf16(u"Bitte \"Service Aldrun Quillo\" schließen"));
    for (int position = 0; position < kMessageTableSize; ++position) {
        const QString& text = MessageAt(position);
        const std::string_view utf8 = MessageTable[position];
        EXPECT_FALSE(text.contains(QChar::ReplacementCharacter)) << position;
        EXPECT_EQ(text.toStdString(), utf8) << position;
    }
}

// A screen reader speaks these: a number over a slash reads as a fraction ("2/4", two
// quarters), so the octet's place is said in words.
TEST(SpokenTexts, ReadAsWordsNotAsFractions) {
    for (const auto& texts : SpokenTexts) {
        for (const std::string_view text : texts) {
            EXPECT_EQ(text.find('/'), std::string_view::npos) << text;
        }
    }
}

}  // namespace
}  // namespace quillo::lang
