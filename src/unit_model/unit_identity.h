#pragma once

// Which HID devices are units, of which model, and how both programs name them.

#include <QString>
#include <optional>

#include "protocol/unit_contract.h"

namespace quillo::hid {
class HidDevice;
}

namespace quillo::model {

// The model a device is a unit of, by its IDs and exact product string; none for anything
// else.
std::optional<protocol::unit::Model> IdentifyUnit(hid::HidDevice& device);

// "Solvi": how commands, their output and backups name a model.
QString ModelName(protocol::unit::Model model);
// The model named so (as ModelName gives it), none for any other text.
std::optional<protocol::unit::Model> ModelNamed(const QString& name);

// "1. Aldrun Quillo Solvi": the device list's item for the unit numbered `number` from 1.
QString UnitListTitle(int number, protocol::unit::Model model);

}  // namespace quillo::model
