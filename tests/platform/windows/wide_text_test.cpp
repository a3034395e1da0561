// UTF-8 <-> UTF-16 at the Windows API boundary, both directions, with invalid input.
#include "platform/windows/wide_text.h"

#include <gtest/gtest.h>

namespace quillo::platform::win {
namespace {

TEST(WideText, RoundTripsAndRefusesOrReplacesInvalidText) {
    struct Case {
        std::string utf8;
        std::wstring wide;
    };
    for (const Case& c :
         {Case{"", L""}, Case{R"(\\?\hid#vid_0483)", LR"(\\?\hid#vid_0483)"},
          Case{"Gr\xC3\xBC\xC3\x9F", L"Gr\u00FC\u00DF"}, Case{"\xF0\x9F\x8C\x80", L"\U0001F300"}}) {
        EXPECT_EQ(toWide(c.utf8), c.wide);
        EXPECT_EQ(toUtf8(c.wide), c.utf8);
    }
    for (const char* bad : {"a\xFF", "\xC3", "\xC0\xAF", "\xED\xA0\x80"}) {
        EXPECT_EQ(toWide(bad), std::nullopt);
    }
    EXPECT_EQ(toUtf8(std::wstring(1, wchar_t{0xD800})), "\xEF\xBF\xBD");  // lone surrogate
}

}  // namespace
}  // namespace quillo::platform::win
