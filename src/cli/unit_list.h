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
    QString name;  // "Aldrun Quillo Solvi"
    QString path;
    hid::HidDevice* device = nullptr;  // nullptr when it could not be checked out
};

// "Solvi" or "Pargo": how commands, output and backups name a model.
QString ModelName(protocol::unit::Model model);

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
