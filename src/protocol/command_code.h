#pragma once

#include <cstdint>

namespace quillo::protocol {

// One-byte code naming a parameter or command of the unit. The same code sets a parameter,
// is the payload of Code_Read that asks for it, and opens the unit's answer.
enum CommandCode : std::uint8_t {
    Code_AT_command = 1,           // text: one AT command line ending in CR LF (pass-through)
    Code_Wi_Fi_module = 3,         // byte: 0 off, 1 on
    Code_AT_mode = 4,              // byte: 1 pass-through on, 0 off; answers carry scan lines
    Code_Device_mode = 5,          // byte: 1 master, 0 slave
    Code_Wi_Fi_name = 6,           // text, up to 32 characters
    Code_Wi_Fi_password = 7,       // text, up to 60 characters
    Code_Slave_number = 8,         // byte, 0-based
    Code_Slave_IP_mode = 9,        // byte: 1 DHCP, 0 static
    Code_Slave_IP = 10,            // address
    Code_Master_IP = 11,           // address
    Code_Connection_type = 12,     // byte: 1 with router, 2 without
    Code_Setup_mode = 13,          // byte: 1 before a group of settings, 0 after
    Code_Wi_Fi_channel = 14,       // byte, 1..13
    Code_Wi_Fi_security = 15,      // digit: '0' OPEN, '2' WPA_PSK, '3' WPA2_PSK, '4' WPA_WPA2_PSK
    Code_Read = 16,                // byte: the code of the parameter to report
    Code_Serial_number = 23,       // counted text, read only
    Code_Off_available = 24,       // byte 1/0
    Code_Direction = 25,           // byte: 0 supply, 1 exhaust
    Code_Humidity_sensor = 26,     // byte 1/0
    Code_Relay_sensor = 27,        // byte 1/0
    Code_Voltage_sensor = 28,      // byte 1/0
    Code_Humidity_threshold = 29,  // byte, %RH
    Code_Voltage_threshold = 30,   // byte, percent of 0-10 V
    Code_Night_timer = 31,         // seconds (24-bit)
    Code_Party_timer = 32,         // seconds
    Code_Off_delay_timer = 33,     // seconds
    Code_Wi_Fi_state = 34,         // byte, read only (polled)
    Code_Filter_timer = 38,        // seconds, read only (polled)
    Code_Factory_reset = 39,       // none (one byte 0)
    Code_Filter_reset = 40,        // none (one byte 0)
    Code_Master_state = 41,        // byte, read only (polled)
    Code_Humidity_scenario = 43,   // byte 1/0
    Code_Gateway = 47,             // address
};

}  // namespace quillo::protocol
