#include "unit_model/unit_identity.h"

#include "hid/hid_device.h"

namespace quillo::model {

namespace unit = protocol::unit;

namespace {

QString Q(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::optional<unit::Model> IdentifyUnit(hid::HidDevice& device) {
    const hid::HidAttributes& attributes = device.Attributes();
    if (attributes.VendorID != unit::kVendorId || attributes.ProductID != unit::kProductId) {
        return std::nullopt;
    }
    const std::optional<unit::ModelIdentity> identity =
        unit::modelForProductString(device.ProductName().toStdU16String());
    if (!identity) {
        return std::nullopt;
    }
    return identity->model;
}

QString ModelName(unit::Model model) {
    return Q(unit::modelIdentity(model).name);
}

std::optional<unit::Model> ModelNamed(const QString& name) {
    for (const unit::ModelIdentity& identity : unit::kModels) {
        if (name == Q(identity.name)) {
            return identity.model;
        }
    }
    return std::nullopt;
}

QString UnitListTitle(int number, unit::Model model) {
    return QString::number(number) + QStringLiteral(". ") + Q(unit::modelIdentity(model).listName);
}

}  // namespace quillo::model
