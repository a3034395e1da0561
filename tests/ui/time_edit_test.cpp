#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTest>

#include "form1_fixture.h"
#include "ui/time_edit.h"

namespace quillo::ui {
namespace {

// Caret positions are before the character of that index (0..5).
struct KeyCase {
    const char* start;
    int caret;
    Qt::Key key;
    const char* typed;  // text of the key; empty for non-character keys
    const char* expected;
    int caretAfter;
};

// "12:34 at 4, key Up -> 12:35": readable in test listings and failures.
void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << c.start << " at " << c.caret << ", ";
    if (c.typed[0] != '\0') {
        *os << "typed '" << c.typed << "'";
    } else {
        *os << "key 0x" << std::hex << static_cast<int>(c.key) << std::dec;
    }
    *os << " -> " << c.expected << " at " << c.caretAfter;
}

// Test names: the case's position in its table.
std::string CaseName(const ::testing::TestParamInfo<KeyCase>& info) {
    return "Case" + std::to_string(info.index);
}

class TimeEditKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(TimeEditKeys, KeyGivesTheExpectedText) {
    const KeyCase& c = GetParam();
    TimeEdit edit;
    edit.show();
    edit.setText(QString::fromLatin1(c.start));
    edit.lineEdit()->setCursorPosition(c.caret);
    if (c.typed[0] != '\0') {
        QTest::keyClick(&edit, c.typed[0]);  // sends the character's own text
    } else {
        QTest::keyClick(&edit, c.key);
    }
    EXPECT_EQ(edit.text(), QString::fromLatin1(c.expected));
    EXPECT_EQ(edit.lineEdit()->cursorPosition(), c.caretAfter);
}

INSTANTIATE_TEST_SUITE_P(Stepping, TimeEditKeys,
                         ::testing::Values(KeyCase{"12:34", 4, Qt::Key_Up, "", "12:35", 4},
                                           KeyCase{"12:59", 4, Qt::Key_Up, "", "12:00",
                                                   4},  // no carry
                                           KeyCase{"12:39", 3, Qt::Key_Up, "", "12:40", 3},
                                           KeyCase{"23:10", 0, Qt::Key_Up, "", "00:10", 0},
                                           KeyCase{"09:10", 2, Qt::Key_Up, "", "10:10", 2},
                                           KeyCase{"00:10", 1, Qt::Key_Down, "", "23:10", 1},
                                           KeyCase{"10:00", 5, Qt::Key_Down, "", "10:59", 5},
                                           KeyCase{"20:40", 1, Qt::Key_Down, "", "19:40", 1},
                                           KeyCase{"12:30", 4, Qt::Key_Down, "", "12:29", 4}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(
    Typing, TimeEditKeys,
    ::testing::Values(KeyCase{"00:00", 0, Qt::Key_unknown, "3", "00:00", 0},  // hours 0..2
                      KeyCase{"00:00", 0, Qt::Key_unknown, "2", "20:00", 1},
                      KeyCase{"20:00", 1, Qt::Key_unknown, "9", "29:00", 2},
                      KeyCase{"12:00", 2, Qt::Key_unknown, "5", "12:50", 4},  // over the colon
                      KeyCase{"12:00", 2, Qt::Key_unknown, "7", "12:00", 3},
                      KeyCase{"12:00", 2, Qt::Key_unknown, "x", "12:00", 3},
                      KeyCase{"12:00", 3, Qt::Key_unknown, "6", "12:00", 3},
                      KeyCase{"12:00", 4, Qt::Key_unknown, "9", "12:09", 5},
                      KeyCase{"12:09", 5, Qt::Key_unknown, "1", "12:09", 5},  // nothing beyond
                      KeyCase{"12:34", 3, Qt::Key_unknown, "a", "12:34", 3}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(Erasing, TimeEditKeys,
                         ::testing::Values(KeyCase{"12:34", 5, Qt::Key_Backspace, "", "12:34", 5},
                                           KeyCase{"12:34", 0, Qt::Key_Delete, "", "12:34", 0}),
                         CaseName);

TEST(TimeEdit, TypingFourDigitsWritesAWholeTime) {
    TimeEdit edit;
    edit.show();
    edit.lineEdit()->setCursorPosition(0);
    QTest::keyClicks(&edit, "1745");
    EXPECT_EQ(edit.text(), "17:45");
}

TEST(TimeEdit, SelectionCutAndPasteCannotBreakTheForm) {
    TimeEdit edit;
    edit.show();
    edit.setText("12:34");
    edit.lineEdit()->selectAll();
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "12:34");
    edit.lineEdit()->selectAll();
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), "12:34");
    // A typed digit over a selection goes to the selection's start.
    edit.lineEdit()->setSelection(3, 2);
    QTest::keyClick(&edit, '5');
    EXPECT_EQ(edit.text(), "12:54");
}

TEST(TimeEdit, ProgramWritesAnyTwoByTwoDigitsAndNothingElse) {
    TimeEdit edit;
    edit.setText("07:05");
    EXPECT_EQ(edit.text(), "07:05");
    edit.setText("7:05");
    edit.setText("07-05");
    edit.setText("");
    EXPECT_EQ(edit.text(), "07:05");
}

TEST(TimeEdit, UpDownButtonStepsTheFieldAtTheCaret) {
    TimeEdit edit;
    edit.resize(121, 21);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    edit.setText("08:30");
    QStyleOptionSpinBox option;
    option.initFrom(&edit);
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    option.buttonSymbols = edit.buttonSymbols();
    const QRect up =
        edit.style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, &edit);
    const QRect down =
        edit.style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxDown, &edit);
    edit.lineEdit()->setCursorPosition(4);
    QTest::mouseClick(&edit, Qt::LeftButton, Qt::NoModifier, up.center());
    EXPECT_EQ(edit.text(), "08:31");
    edit.lineEdit()->setCursorPosition(1);
    QTest::mouseClick(&edit, Qt::LeftButton, Qt::NoModifier, down.center());
    EXPECT_EQ(edit.text(), "07:31");
}

}  // namespace
}  // namespace quillo::ui
