#pragma once

// Records and event types shared by HidDevice and HidDeviceController.

#include <QString>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "hid/platform/hid_backend.h"

namespace quillo::hid {

class HidDevice;
class HidDeviceController;

// The plug-and-play record of one present HID interface, made by a scan and owned by the device
// created from it.
struct HidPnPInfo {
    std::uint64_t DeviceID = 0;  // stable while the interface stays attached
    QString DevicePath;          // for display
    std::string path;            // what the platform opens
};

struct HidAttributes {
    std::uint32_t Size = 12;
    std::uint16_t VendorID = 0;
    std::uint16_t ProductID = 0;
    std::uint16_t VersionNumber = 0;
};

// The part of the HID capabilities the program uses; both lengths count the report-ID byte.
struct HidCaps {
    std::uint16_t InputReportByteLength = 0;
    std::uint16_t OutputReportByteLength = 0;
};

// The one error the component raises: a present interface that cannot be opened or identified.
class HidControllerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class HidOpenExMode { omhRead, omhWrite };

// Input report on the main thread: the report ID apart, `size` counting the bytes after it.
// `data` is valid only during the call.
using HidDataEvent = std::function<void(HidDevice* dev, std::uint8_t reportId,
                                        const std::uint8_t* data, std::uint16_t size)>;
using HidDataErrorEvent = std::function<void(HidDevice* dev, std::uint32_t error)>;
using HidPlugEvent = std::function<void(HidDevice* dev)>;
using HidEnumerateEvent = std::function<bool(HidDevice* dev, int idx)>;
using HidNotifyEvent = std::function<void(HidDeviceController* sender)>;
using HidDeviceCreateError = std::function<void(
    HidDeviceController* controller, const HidPnPInfo& pnpInfo, bool& handled, bool& retryCreate)>;

// Who carries which handler: std::function cannot be compared, so every assignment of a handler
// gets a fresh number, and no handler is 0. A device carries the controller's handler while its
// number equals the controller's.
using HandlerId = std::uint64_t;
HandlerId NewHandlerId(bool assigned);

}  // namespace quillo::hid
