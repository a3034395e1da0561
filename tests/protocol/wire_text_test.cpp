#include "protocol/wire_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillo::protocol {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Utf8(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(WireText, ValidUtf8IsDecodedAndAnythingElseShownBytePerCharacter) {
    struct Case {
        const char* what;
        Bytes bytes;
        std::u16string shown;
    };
    const Case cases[] = {
        {"ASCII", Utf8("HomeNet"), u"HomeNet"},
        {"Cyrillic", Utf8("Дом"), u"Дом"},
        {"CJK", Utf8("家"), u"家"},
        {"outside the BMP", Utf8("Wi\U0001F600Fi"), u"Wi\U0001F600Fi"},
        {"Latin-1 bytes", {'C', 'a', 'f', 0xE9}, u"Caf\u00E9"},
        {"cut sequence", {'a', 0xD0}, u"a\u00D0"},
        {"overlong slash", {0xC0, 0xAF}, u"\u00C0\u00AF"},
        {"overlong three bytes", {0xE0, 0x80, 0xAF}, u"\u00E0\u0080\u00AF"},
        {"surrogate", {0xED, 0xA0, 0x80}, u"\u00ED\u00A0\u0080"},
        {"above U+10FFFF", {0xF4, 0x90, 0x80, 0x80}, u"\u00F4\u0090\u0080\u0080"},
        {"stray continuation", {0x80, 'x'}, u"\u0080x"},
        {"empty", {}, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeWireText(c.bytes), c.shown) << c.what;
        // What is shown and not edited goes back as it came.
        EXPECT_EQ(wifiNameBytes(c.shown, c.bytes), c.bytes) << c.what;
    }
}

TEST(WireText, TypedOrEditedNamesGoOutAsUtf8) {
    EXPECT_EQ(utf8Bytes(u"Дом"), Utf8("Дом"));
    EXPECT_EQ(utf8Bytes(u"家"), (Bytes{0xE5, 0xAE, 0xB6}));
    EXPECT_EQ(utf8Bytes(u"\U0001F600"), (Bytes{0xF0, 0x9F, 0x98, 0x80}));
    EXPECT_EQ(utf8Bytes(u"\u00E9"), (Bytes{0xC3, 0xA9}));
    // A lone surrogate cannot be sent as itself.
    EXPECT_EQ(utf8Bytes(std::u16string(1, u'\xD800') + u"x"), (Bytes{0xEF, 0xBF, 0xBD, 'x'}));
    // ASCII keeps its exact bytes.
    std::u16string ascii;
    Bytes asciiBytes;
    for (char16_t c = 0; c < 0x80; ++c) {
        ascii += c;
        asciiBytes.push_back(static_cast<std::uint8_t>(c));
    }
    EXPECT_EQ(utf8Bytes(ascii), asciiBytes);

    // A Latin-1 name read from the unit and then edited is no longer what was read.
    const Bytes read = {'C', 'a', 'f', 0xE9};
    EXPECT_EQ(wifiNameBytes(u"Caf\u00E9 2", read), Utf8("Café 2"));
    EXPECT_EQ(wifiNameBytes(u"Дом", {}), Utf8("Дом"));
}

TEST(WireText, PasswordsArePrintableAscii) {
    EXPECT_TRUE(isPrintableAscii(u""));
    EXPECT_TRUE(isPrintableAscii(u" !~azAZ09\"'\\"));
    for (const std::u16string& bad : std::vector<std::u16string>{
             u"pass\u00E9word", u"пароль123", u"tab\there", u"x\u007F", std::u16string(1, u'\0')}) {
        EXPECT_FALSE(isPrintableAscii(bad));
    }
}

TEST(WireText, Utf8ValidityFollowsTheStandard) {
    EXPECT_TRUE(isValidUtf8(Utf8("\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF")));
    EXPECT_TRUE(isValidUtf8(Bytes{0xEE, 0x80, 0x80}));  // private use, just after surrogates
    EXPECT_FALSE(isValidUtf8(Bytes{0xF5, 0x80, 0x80, 0x80}));
    EXPECT_FALSE(isValidUtf8(Bytes{0xC1, 0xBF}));
    EXPECT_FALSE(isValidUtf8(Bytes{0xE2, 0x82}));
}

}  // namespace
}  // namespace quillo::protocol
