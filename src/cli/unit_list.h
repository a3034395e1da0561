#pragma once

// The attached units as the window lists them: HID interfaces with the unit's IDs and one of
// its product strings, numbered from 1 in the controller's order. Each is checked out for the
// life of the list.

#include <QString>
#include <memory>
#include <vector>

#include "hid/platform/hid_backend.h"
#include "protocol/unit_contract.h"

namespace quillo::hid {
class HidDevice;
class HidDeviceController;
}  // namespace quillo::hid

namespace quillo::cli {

struct UnitEntry {
    int index = 0;  // the window's numbering, from 1
    protocol::unit::Model model{};
    QString path;
    hid::HidDevice* device = nullptr;  // nullptr when it could not be checked out

    // "1. Aldrun Quillo Solvi", as the window's list shows it.
    QString title() const;
    // Whether it can be talked to: checked out and opened for reading and writing.
    bool usable() const;
};

class UnitList {
public:
    explicit UnitList(std::shared_ptr<hid::platform::Backend> backend);
    UnitList(const UnitList&) = delete;
    UnitList& operator=(const UnitList&) = delete;
    ~UnitList();

    std::vector<UnitEntry>& units() { return units_; }

private:
    std::unique_ptr<hid::HidDeviceController> controller_;
    std::vector<UnitEntry> units_;
};

}  // namespace quillo::cli
