#include "protocol/read_chain.h"

#include <gtest/gtest.h>

#include <vector>

#include "protocol/unit_contract.h"

namespace quillo::protocol {
namespace {

TEST(ReadChain, FollowingTheNextCodesFromFiveVisitsTheWholeChainInOrder) {
    std::vector<int> visited;
    std::optional<CommandCode> code = Code_Device_mode;
    while (code) {
        visited.push_back(*code);
        ASSERT_LE(visited.size(), kReadChain.size()) << "the chain does not end";
        code = nextReadCode(*code);
    }
    EXPECT_EQ(visited, (std::vector<int>{5,  12, 6,  7,  8,  9,  10, 11, 14, 15, 24,
                                         25, 26, 27, 28, 29, 30, 33, 31, 32, 43, 47}));
}

TEST(ReadChain, CodesOutsideTheChainHaveNoNextCode) {
    for (const CommandCode code : {Code_Serial_number, Code_Wi_Fi_state, Code_Filter_timer,
                                   Code_Master_state, Code_AT_mode, Code_Read}) {
        EXPECT_FALSE(isReadChainCode(code)) << int{code};
        EXPECT_EQ(nextReadCode(code), std::nullopt) << int{code};
    }
}

TEST(UnitContract, ReadableCodesAreExactlyThoseTheUnitAnswers) {
    std::vector<int> readable;
    for (int code = 0; code < 256; ++code) {
        if (unit::isReadable(static_cast<CommandCode>(code))) {
            readable.push_back(code);
        }
    }
    EXPECT_EQ(readable, (std::vector<int>{5,  6,  7,  8,  9,  10, 11, 12, 14, 15, 23, 24, 25,
                                          26, 27, 28, 29, 30, 31, 32, 33, 34, 38, 41, 43, 47}));
    for (const CommandCode code : kReadChain) {
        EXPECT_TRUE(unit::isReadable(code)) << int{code};
    }
    EXPECT_EQ(unit::parameter(Code_Wi_Fi_security)->encoding, unit::Encoding::Digit);
    EXPECT_EQ(unit::parameter(Code_Serial_number)->encoding, unit::Encoding::CountedText);
    EXPECT_EQ(unit::parameter(Code_Filter_timer)->encoding, unit::Encoding::Seconds);
    EXPECT_EQ(unit::parameter(static_cast<CommandCode>(2)), std::nullopt);
}

TEST(UnitContract, ModelsAndMasterNetworkNamesMatchExactly) {
    EXPECT_EQ(unit::modelForProductString(u"Zorvat")->listName, u"Aldrun Quillo Solvi");
    EXPECT_EQ(unit::modelForProductString(u"Zorvat Bix")->listName, u"Aldrun Quillo Pargo");
    EXPECT_EQ(unit::modelForProductString(u"Zorvat Bix")->model, unit::Model::Pargo);
    for (const unit::ModelIdentity& identity : unit::kModels) {
        EXPECT_EQ(unit::modelIdentity(identity.model).productString, identity.productString);
    }
    for (const std::u16string_view other : {u"Zorvat X", u"zorvat", u"Zorvat ", u""}) {
        EXPECT_FALSE(unit::modelForProductString(other).has_value());
    }
    EXPECT_TRUE(unit::isMasterNetworkName(u"Kelmair-1234"));
    EXPECT_TRUE(unit::isMasterNetworkName(u"Kelmair"));
    EXPECT_FALSE(unit::isMasterNetworkName(u"HomeNet"));
    EXPECT_FALSE(unit::isMasterNetworkName(u"My Kelmair"));
    EXPECT_FALSE(unit::isMasterNetworkName(u"KELMAIR-1"));
}

}  // namespace
}  // namespace quillo::protocol
