#pragma once

// What the tool relies on the unit and its Wi-Fi module to be and do. The tool's own code and
// the simulated unit both build on these definitions, so that the two cannot drift apart.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "protocol/command_code.h"
#include "protocol/ip_octets.h"

namespace quillo::protocol::unit {

// --- Identity ---

inline constexpr std::uint16_t kVendorId = 0x0483;
inline constexpr std::uint16_t kProductId = 0x5750;

enum class Model {
    Solvi,  // product string "Zorvat"
    Pargo,  // product string "Zorvat Bix": humidity scenario instead of air direction
};

struct ModelIdentity {
    Model model;
    std::u16string_view productString;  // the USB product string, matched exactly
    std::u16string_view listName;       // how the device list names it
    std::u16string_view name;           // how commands, output and backups name it
};

inline constexpr std::array<ModelIdentity, 2> kModels = {{
    {Model::Solvi, u"Zorvat", u"Aldrun Quillo Solvi", u"Solvi"},
    {Model::Pargo, u"Zorvat Bix", u"Aldrun Quillo Pargo", u"Pargo"},
}};

// The identity of `model`.
const ModelIdentity& modelIdentity(Model model);
// The model whose product string is exactly `productString`; std::nullopt for any other.
std::optional<ModelIdentity> modelForProductString(std::u16string_view productString);

// --- Reports ---

// Output reports carry report ID 1 and are exactly the device's output report length; input
// reports start with the report ID, then code, value length and value (zero-filled to the
// report length).
inline constexpr std::uint8_t kReportId = 1;

// An answer as the unit sends it: report ID, code, value length, the value, zeros up to
// `reportLength` (the input report length, report ID included). A value too long for the
// report is cut; a report length below 3 gives just the first bytes of that layout.
std::vector<std::uint8_t> answerReport(CommandCode code, std::span<const std::uint8_t> value,
                                       std::size_t reportLength);

// --- Parameters ---

// How a value travels. Written payloads and read values use the same layout except where noted.
enum class Encoding {
    Byte,         // one byte, the value itself
    Digit,        // one ASCII digit character
    Text,         // characters one byte each, no terminator; answers zero-filled from byte 2
    CountedText,  // answers only: byte 1 the number of characters, the characters from byte 2
    Address,      // four bytes, first octet first (192.168.4.1 is C0 A8 04 01)
    Seconds,      // three bytes, 24-bit count of seconds, most significant first
    None,         // written as one byte 0
};

struct Parameter {
    CommandCode code;
    Encoding encoding;
    bool writable;  // the tool sends it with a value
    bool readable;  // Code_Read with this code is answered by one report carrying it
};

// Every code the tool uses. Answers to a read carry the code in byte 0 and the value in the
// parameter's encoding from byte 2.
inline constexpr std::array<Parameter, 33> kParameters = {{
    {Code_AT_command, Encoding::Text, true, false},
    {Code_Wi_Fi_module, Encoding::Byte, true, false},
    {Code_AT_mode, Encoding::Byte, true, false},
    {Code_Device_mode, Encoding::Byte, true, true},
    {Code_Wi_Fi_name, Encoding::Text, true, true},
    {Code_Wi_Fi_password, Encoding::Text, true, true},
    {Code_Slave_number, Encoding::Byte, true, true},
    {Code_Slave_IP_mode, Encoding::Byte, true, true},
    {Code_Slave_IP, Encoding::Address, true, true},
    {Code_Master_IP, Encoding::Address, true, true},
    {Code_Connection_type, Encoding::Byte, true, true},
    {Code_Setup_mode, Encoding::Byte, true, false},
    {Code_Wi_Fi_channel, Encoding::Byte, true, true},
    {Code_Wi_Fi_security, Encoding::Digit, true, true},
    {Code_Read, Encoding::Byte, true, false},
    {Code_Serial_number, Encoding::CountedText, false, true},
    {Code_Off_available, Encoding::Byte, true, true},
    {Code_Direction, Encoding::Byte, true, true},
    {Code_Humidity_sensor, Encoding::Byte, true, true},
    {Code_Relay_sensor, Encoding::Byte, true, true},
    {Code_Voltage_sensor, Encoding::Byte, true, true},
    {Code_Humidity_threshold, Encoding::Byte, true, true},
    {Code_Voltage_threshold, Encoding::Byte, true, true},
    {Code_Night_timer, Encoding::Seconds, true, true},
    {Code_Party_timer, Encoding::Seconds, true, true},
    {Code_Off_delay_timer, Encoding::Seconds, true, true},
    {Code_Wi_Fi_state, Encoding::Byte, false, true},
    {Code_Filter_timer, Encoding::Seconds, false, true},
    {Code_Factory_reset, Encoding::None, true, false},
    {Code_Filter_reset, Encoding::None, true, false},
    {Code_Master_state, Encoding::Byte, false, true},
    {Code_Humidity_scenario, Encoding::Byte, true, true},
    {Code_Gateway, Encoding::Address, true, true},
}};

// The entry for `code`, std::nullopt for a code the tool does not use.
std::optional<Parameter> parameter(CommandCode code);
// True when the unit answers Code_Read with this code (5..12, 14, 15, 23..34, 38, 41, 43, 47).
bool isReadable(CommandCode code);

// Value domains the tool writes (the unit's reaction to other values is its own business).
inline constexpr std::uint8_t kModeMaster = 1;
inline constexpr std::uint8_t kModeSlave = 0;
inline constexpr std::uint8_t kConnectionWithRouter = 1;
inline constexpr std::uint8_t kConnectionWithoutRouter = 2;
inline constexpr std::uint8_t kSlaveIpDhcp = 1;
inline constexpr std::uint8_t kSlaveIpStatic = 0;
inline constexpr std::uint8_t kDirectionSupply = 0;
inline constexpr std::uint8_t kDirectionExhaust = 1;
inline constexpr std::uint8_t kMaxSlaveNumber = 31;
inline constexpr std::uint8_t kMinChannel = 1;
inline constexpr std::uint8_t kMaxChannel = 13;
inline constexpr std::size_t kMaxWiFiNameLength = 32;
inline constexpr std::size_t kMaxPasswordLength = 60;
inline constexpr std::uint32_t kMaxSeconds = 0xFFFFFF;
// Code_Wi_Fi_state and Code_Master_state: 0 disconnected, any other value connected.
inline constexpr std::uint8_t kDisconnected = 0;

// --- Commands and their effects ---

// Code_Setup_mode 1 and 0 bracket a group of writes (a factory reset gets no closing 0).
inline constexpr std::uint8_t kSetupBegin = 1;
inline constexpr std::uint8_t kSetupEnd = 0;
// Code_Wi_Fi_module 0 then 1 restarts the Wi-Fi module.
inline constexpr std::uint8_t kModuleOff = 0;
inline constexpr std::uint8_t kModuleOn = 1;
// Code_Factory_reset restores the defaults, which the tool reads back this much later.
inline constexpr std::chrono::milliseconds kFactoryResetSettleTime{200};
// Code_Filter_reset sets the filter run time (Code_Filter_timer) to 0.

// --- Pass-through to the Wi-Fi module ---

// While Code_AT_mode is 1 the payload of each Code_AT_command goes unchanged to the module.
inline constexpr std::uint8_t kPassThroughOn = 1;
inline constexpr std::uint8_t kPassThroughOff = 0;
inline constexpr std::u16string_view kAtLeaveNetwork = u"AT+CWQAP\r\n";
inline constexpr std::u16string_view kAtStationMode = u"AT+CWMODE_DEF=1\r\n";
inline constexpr std::u16string_view kAtListAccessPoints = u"AT+CWLAP\r\n";
// The module's access-point list comes back as one input report per network with this code,
// the line's text from byte 2, for instance +CWLAP:(3,"HomeNet",-61,"aa:bb:cc:dd:ee:ff",6):
// the network name is the first field between `,"` and `",`.
inline constexpr CommandCode kScanLineCode = Code_AT_mode;
// Any other module output comes back with this code; the tool ignores it.
inline constexpr CommandCode kModuleOutputCode = Code_AT_command;
inline constexpr std::u16string_view kNameFieldStart = u",\"";
inline constexpr std::u16string_view kNameFieldEnd = u"\",";

// --- Network conventions ---

// A master without Wi-Fi router is reached at this address.
inline constexpr IpOctets kMasterAddressWithoutRouter{192, 168, 4, 1};
// A slave joined to a master's own network reports a network name starting with this
// (case-sensitive, at the first character).
inline constexpr std::u16string_view kMasterNetworkPrefix = u"Kelmair";
bool isMasterNetworkName(std::u16string_view wifiName);

}  // namespace quillo::protocol::unit
