#pragma once

#include <cstdint>
#include <string>

#include "protocol/ip_octets.h"

namespace quillo::protocol {

// The unit's Wi-Fi and fan parameters as last read or written. One record for the whole run,
// independent of the selected unit: it starts zeroed and empty and is never reset, so a write
// sends what it holds for the fields the current mode does not set.
struct DeviceSettings {
    std::uint8_t Device_mode = 0;        // 1 master, 0 slave
    std::uint8_t Connection_type = 0;    // 1 with Wi-Fi router, 2 without
    std::u16string Wi_Fi_name;           // one character per byte
    std::u16string Wi_Fi_password;       // one character per byte
    std::uint8_t Slave_number = 0;       // 0-based
    std::uint8_t Slave_IP_mode = 0;      // 1 DHCP, 0 static
    IpOctets Slave_IP;                   // empty until read or collected
    IpOctets Master_IP;                  // empty until read or collected
    std::uint8_t Wi_Fi_channel = 0;      // 1..13
    char16_t Wi_Fi_security = u'\0';     // '0' OPEN, '2' WPA_PSK, '3' WPA2_PSK, '4' WPA_WPA2_PSK
    IpOctets Gateway;                    // empty until read or collected
    std::uint8_t Off_available = 0;      // 1/0
    std::uint8_t Direction = 0;          // 0 supply, 1 exhaust
    std::uint8_t Humidity_sensor = 0;    // 1/0
    std::uint8_t Relay_sensor = 0;       // 1/0
    std::uint8_t Voltage_sensor = 0;     // 1/0
    std::uint8_t Humidity_scenario = 0;  // 1 boost and exhaust, 0 boost in current mode

    friend bool operator==(const DeviceSettings&, const DeviceSettings&) = default;
};

}  // namespace quillo::protocol
