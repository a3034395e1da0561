#pragma once

// The unit's settings as both programs hold them: the controls of the window's two pages and
// the stored DeviceSettings the writes fall back on. An answer of the unit changes them here
// and nowhere else; the window then shows the controls an answer touched, and quilloctl reads
// and edits the same state, so both send the same bytes for the same unit. Plain C++.

#include <cstddef>
#include <vector>

#include "protocol/device_settings.h"
#include "protocol/input_report.h"
#include "protocol/wire_text.h"
#include "protocol/write_sequences.h"

namespace quillo::model {

struct PageState {
    protocol::WifiControls wifi;
    protocol::FanControls fan;
    protocol::DeviceSettings current;

    friend bool operator==(const PageState&, const PageState&) = default;
};

// One control of the pages (a radio pair counts as one).
enum class PageControl {
    Mode,
    Router,
    WifiName,
    Password,
    SlaveNumber,
    SlaveIpMode,
    SlaveIp,
    MasterIp,
    Channel,
    Security,
    Gateway,
    OffAvailable,
    Direction,
    HumiditySensor,
    RelaySensor,
    VoltageSensor,
    HumidityThreshold,
    VoltageThreshold,
    OffDelayTimer,
    NightTimer,
    PartyTimer,
    HumidityScenario,
};

// What the entries hold at most, in characters: a longer text is cut when it is shown.
inline constexpr std::size_t kNameBoxMaxLength = protocol::kNameBoxLength;
inline constexpr std::size_t kPasswordBoxMaxLength = protocol::kPasswordBoxLength;

// The controls of a freshly started window, before any answer.
PageState StartupPageState();

// Applies one answer of the unit as the window does: stores its value and changes the controls
// it maps to (an out-of-range value leaves a control as it is, or unselects a list). Returns
// the controls it changed, none for a code that is not a page setting.
std::vector<PageControl> ApplyAnswer(const protocol::InputReport& answer, PageState& state);

// The window's panel rules for the password box, after `control` changed: a mode or router
// button newly checked, a security type chosen or read. "OPEN" greys the box out in every mode;
// only a slave's or a router's button, or another type, enables it again.
void FollowPasswordBox(PageControl control, protocol::WifiControls& wifi);

// Stores what `control` shows, as a read of that value would have stored it, so that a write
// in a mode that does not collect the control still sends it.
void StoreControl(PageControl control, PageState& state);

}  // namespace quillo::model
