#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <array>

#include "form1_fixture.h"
#include "ui/ip_address_edit.h"

namespace quillo::ui {
namespace {

TEST(IpAddressEdit, DottedTextIsCutAtThreeDotsAndReadPartByPart) {
    struct Case {
        const char* text;
        std::array<int, 4> octets;
    };
    const Case cases[] = {
        {"10.1.2.3", {10, 1, 2, 3}},
        {"  10.1.2.3 \t", {10, 1, 2, 3}},
        {"1.x.3.4", {1, 0, 3, 4}},
        {"1.2.3.4.5", {1, 2, 3, 0}},  // the fourth part "4.5" is not a number
        {"1.2", {1, 2, 0, 0}},
        {"", {0, 0, 0, 0}},
        {"300.1.-4.7", {255, 1, 0, 7}},  // octets are held within 0..255
    };
    for (const Case& c : cases) {
        IpAddressEdit edit;
        edit.setText("9.9.9.9");
        edit.setText(QString::fromLatin1(c.text));
        for (int n = 1; n <= 4; ++n) {
            EXPECT_EQ(edit.octet(n), c.octets[static_cast<std::size_t>(n - 1)])
                << c.text << " octet " << n;
        }
        EXPECT_EQ(edit.text(), QStringLiteral("%1.%2.%3.%4")
                                   .arg(c.octets[0])
                                   .arg(c.octets[1])
                                   .arg(c.octets[2])
                                   .arg(c.octets[3]));
    }
    IpAddressEdit edit;
    edit.setText("192.168.0.2");
    EXPECT_EQ(edit.address(), 0xC0A80002u);
}

TEST(IpAddressEdit, WritingTheSameOctetChangesNothing) {
    IpAddressEdit edit;
    edit.setText("10.20.30.40");
    QLineEdit* first = edit.fields()[0];
    first->clear();  // an empty field counts as 0 but stays empty
    emit first->textEdited(QString());
    EXPECT_EQ(edit.octet(1), 0);
    edit.setOctet(1, 0);
    EXPECT_EQ(first->text(), "");
    edit.setOctet(1, 7);
    EXPECT_EQ(first->text(), "7");
}

class IpAddressTyping : public Form1Test {
protected:
    void SetUp() override {
        Form1Test::SetUp();
        form_->RadioButton_with_router->setChecked(true);  // shows the master address
    }
};

// While typing, the address follows each key, and key-up comes after the change.
TEST_F(IpAddressTyping, KeyUpComesAfterTheChangeAndNotForTab) {
    IpAddressEdit* master = form_->IPAddress_IP_Master;
    QLineEdit* first = master->fields()[0];
    std::vector<int> seenAtKeyUp;
    QObject::connect(master, &IpAddressEdit::keyUp,
                     [&] { seenAtKeyUp.push_back(master->octet(1)); });
    first->setFocus();
    first->selectAll();
    QTest::keyClicks(first, "10");
    EXPECT_EQ(seenAtKeyUp, (std::vector<int>{1, 10}));
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(seenAtKeyUp.size(), 2u);
    EXPECT_EQ(QApplication::focusWidget(), master->fields()[1]);
}

TEST_F(IpAddressTyping, TypingOverTheMasterCopiesThreeOctetsToTheGateway) {
    QLineEdit* first = form_->IPAddress_IP_Master->fields()[0];
    first->setFocus();
    first->selectAll();
    QTest::keyClicks(first, "10");
    EXPECT_EQ(form_->IPAddress_IP_Master->text(), "10.168.0.2");
    EXPECT_EQ(form_->IPAddress_Gateway->text(), "10.168.0.1");

    // Written by the program, the master address does not reach the gateway, and edits of
    // the gateway do not go back.
    form_->IPAddress_IP_Master->setText("172.16.5.9");
    EXPECT_EQ(form_->IPAddress_Gateway->text(), "10.168.0.1");
    QLineEdit* gatewayLast = form_->IPAddress_Gateway->fields()[2];
    gatewayLast->setFocus();
    gatewayLast->selectAll();
    QTest::keyClicks(gatewayLast, "7");
    EXPECT_EQ(form_->IPAddress_Gateway->text(), "10.168.7.1");
    EXPECT_EQ(form_->IPAddress_IP_Master->text(), "172.16.5.9");
}

TEST_F(IpAddressTyping, TooLargeANumberIsCutTo255) {
    QLineEdit* second = form_->IPAddress_IP_Master->fields()[1];
    second->setFocus();
    second->selectAll();
    QTest::keyClicks(second, "300");
    EXPECT_EQ(form_->IPAddress_IP_Master->octet(2), 255);
    EXPECT_EQ(second->text(), "255");
}

TEST(IpAddressEdit, DisabledShowsButtonFaceAndShadowAndRefusesInput) {
    IpAddressEdit edit;
    const QPalette system = QApplication::palette(&edit);
    edit.setEnabled(false);
    QLineEdit* field = edit.fields()[0];
    EXPECT_EQ(field->palette().color(QPalette::Disabled, QPalette::Base),
              system.color(QPalette::Disabled, QPalette::Button));
    EXPECT_EQ(field->palette().color(QPalette::Disabled, QPalette::Text),
              system.color(QPalette::Disabled, QPalette::Dark));
    EXPECT_FALSE(field->isEnabled());
    edit.setEnabled(true);
    EXPECT_EQ(field->palette().color(QPalette::Active, QPalette::Base),
              system.color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(field->palette().color(QPalette::Active, QPalette::Text),
              system.color(QPalette::Active, QPalette::Text));
}

}  // namespace
}  // namespace quillo::ui
