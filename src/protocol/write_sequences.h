#pragma once

// The command sequences behind the window's buttons, built from the state of the controls and
// the current DeviceSettings. Pure: nothing is sent here; runSequence() sends a result.

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/device_settings.h"
#include "protocol/integer_text.h"
#include "protocol/ip_octets.h"
#include "protocol/sequence.h"

namespace quillo::protocol {

// Messages the Wi-Fi write shows when it refuses.
inline constexpr int kMessageNameLength = 570;          // name must be 1 - 32 characters
inline constexpr int kMessagePasswordLength = 580;      // password must be 8 - 60 characters
inline constexpr int kMessagePasswordCharacters = 640;  // password: Latin letters, digits, symbols
inline constexpr std::size_t kMinPasswordLength = 8;

enum class WriteOutcome {
    Ok,               // the steps are to be sent
    Refused,          // a check failed: show messageId, send nothing
    ConversionError,  // a text is not a number or out of range: show
                      // conversionErrorMessage(error), send nothing
};

// --- Wi-Fi page ---

enum class ModeChoice { None, Master, Slave };    // which of the mode buttons is checked
enum class RouterChoice { None, With, Without };  // which of the router buttons is checked

struct WifiControls {
    ModeChoice mode = ModeChoice::None;
    RouterChoice router = RouterChoice::None;
    std::u16string name;  // ComboBox_Wi_Fi_name text
    // The bytes that name was read as (from the unit or a scan line), empty for a typed one: an
    // unedited name goes back as it came (see wifiNameBytes).
    std::vector<std::uint8_t> nameReadBytes;
    std::u16string password;  // Edit_Password text
    // The password as the unit reported it, empty when none was read: the unit holds more than
    // the box shows, and an unedited password goes back whole (see wifiPasswordText).
    std::u16string passwordRead;
    bool passwordEnabled = true;  // Edit_Password enabled: only then is it checked
    IpOctets masterIp;            // IPAddress_IP_Master
    IpOctets slaveIp;             // IPAddress_IP_Slave
    IpOctets gateway;             // IPAddress_Gateway
    // Texts of the selected list items; empty when no item is selected, which fails to convert.
    std::u16string channelItemText;      // ComboBox_Wi_Fi_channel
    std::u16string slaveNumberItemText;  // ComboBox_Number_Slave
    int securityItem = -1;               // ComboBox_Security_WI_FI, -1 for none
    int slaveIpModeItem = -1;            // ComboBox_IP_Slave, -1 for none

    friend bool operator==(const WifiControls&, const WifiControls&) = default;
};

struct WifiWrite {
    // The collected values. Always the new DeviceSettings, also after a refusal or a
    // conversion error (then holding what was collected up to the failing text).
    DeviceSettings settings;
    WriteOutcome outcome = WriteOutcome::Ok;
    int messageId = 0;      // Refused: 570, 580 or 640
    ConversionError error;  // ConversionError: the text that failed and why
    Sequence steps;         // empty unless Ok
};

// Collects the controls by mode and router choice, checks name and password as the mode
// requires, and builds the bracketed write of all eleven Wi-Fi parameters followed by a
// restart of the Wi-Fi module. A name of more than 32 bytes (570) and a password that is not
// printable ASCII (640) are refused where the user can edit them, so that no typed text goes out
// as bytes the unit or the network cannot take; a hidden name (master without router) and a
// greyed-out password go back as they stand. A read password longer than its box goes back
// whole while unedited.
WifiWrite buildWifiWrite(const WifiControls& controls, const DeviceSettings& current);

// --- Fan page ---

struct FanControls {
    bool offAvailable = false;             // CheckBox_Available_OFF_device
    bool supplyChecked = false;            // RadioButton_Supply
    bool exhaustChecked = false;           // RadioButton_Exhaust
    bool humiditySensor = false;           // CheckBox_Humidity_sensor
    bool relaySensor = false;              // CheckBox_External_sensor1
    bool voltageSensor = false;            // CheckBox_External_sensor2
    bool exhaustBixChecked = false;        // RadioButton_Exhaust_Bix
    bool supplyExhaustBixChecked = false;  // RadioButton_Supply_Exhaust_Bix
    int humidityPosition = 0;              // TrackBar_Humidity_sensor
    int voltagePosition = 0;               // TrackBar_External_sensor2
    std::u16string offDelayTime;           // TimeEdit_Timer_after_reacting_any_sensor, hh:mm
    std::u16string nightTime;              // TimeEdit_Timer_night_mode
    std::u16string partyTime;              // TimeEdit_Timer_party_mode

    friend bool operator==(const FanControls&, const FanControls&) = default;
};

struct FanWrite {
    DeviceSettings settings;  // always updated from the check boxes and radio pairs
    WriteOutcome outcome = WriteOutcome::Ok;
    ConversionError error;  // ConversionError: the time field part or threshold that failed
    Sequence steps;         // empty unless Ok
};

// All three time fields and both thresholds are converted before anything is sent, so a bad
// one leaves the unit untouched instead of inside an unclosed setup bracket.
FanWrite buildFanWrite(const FanControls& controls, const DeviceSettings& current);

// --- Other buttons and the poll ---

// Setup 1, factory reset, 200 ms, then the read chain's first request. No closing setup 0.
Sequence restoreDefaultsSequence();
Sequence filterResetSequence();
// Starts the read chain.
Sequence readParametersSequence();
// Wi-Fi state, master state and, while the Filter page is shown, the filter run time.
Sequence statusPollSequence(bool filterPageShown);
// A read request for one code.
Step readRequest(CommandCode code);

}  // namespace quillo::protocol
