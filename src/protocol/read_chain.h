#pragma once

#include <array>
#include <chrono>
#include <optional>

#include "protocol/command_code.h"

namespace quillo::protocol {

// The order in which "Receive current parameters" fetches the configuration: each answer asks
// for the next code. The mode (5) comes before the connection type (12) and the name (6)
// because both are interpreted by it.
inline constexpr std::array<CommandCode, 22> kReadChain = {
    Code_Device_mode,       Code_Connection_type, Code_Wi_Fi_name,     Code_Wi_Fi_password,
    Code_Slave_number,      Code_Slave_IP_mode,   Code_Slave_IP,       Code_Master_IP,
    Code_Wi_Fi_channel,     Code_Wi_Fi_security,  Code_Off_available,  Code_Direction,
    Code_Humidity_sensor,   Code_Relay_sensor,    Code_Voltage_sensor, Code_Humidity_threshold,
    Code_Voltage_threshold, Code_Off_delay_timer, Code_Night_timer,    Code_Party_timer,
    Code_Humidity_scenario, Code_Gateway,
};

// Pause between handling a chain answer and asking for the next code.
inline constexpr std::chrono::milliseconds kReadChainPause{1};

// True when `code` is one of the chain's codes.
bool isReadChainCode(CommandCode code);
// The code to ask for after the answer for `answered`; std::nullopt after the last one (47)
// and for codes outside the chain.
std::optional<CommandCode> nextReadCode(CommandCode answered);

}  // namespace quillo::protocol
