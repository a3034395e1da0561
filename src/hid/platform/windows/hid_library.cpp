#include "hid/platform/windows/hid_library.h"

namespace quillo::hid::platform::win {

namespace {

// GetProcAddress returns a generic function pointer; going through void (*)() keeps the
// compiler's function-cast check quiet for this intended conversion.
template <typename Function>
bool bind(HMODULE library, const char* name, Function& out) {
    const FARPROC address = GetProcAddress(library, name);
    out = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
    return out != nullptr;
}

}  // namespace

std::shared_ptr<const HidLibrary> HidLibrary::load(const wchar_t* setupApiName,
                                                   const wchar_t* hidName) {
    std::shared_ptr<HidLibrary> library(new HidLibrary());

    library->setupApi_ = LoadLibraryW(setupApiName);
    if (library->setupApi_ == nullptr) {
        return nullptr;
    }
    HMODULE setupApi = library->setupApi_;
    if (!bind(setupApi, "SetupDiGetClassDevsW", library->getClassDevs) ||
        !bind(setupApi, "SetupDiEnumDeviceInterfaces", library->enumDeviceInterfaces) ||
        !bind(setupApi, "SetupDiGetDeviceInterfaceDetailW", library->getDeviceInterfaceDetail) ||
        !bind(setupApi, "SetupDiDestroyDeviceInfoList", library->destroyDeviceInfoList)) {
        return nullptr;
    }

    library->hid_ = LoadLibraryW(hidName);
    if (library->hid_ == nullptr) {
        return nullptr;
    }
    HMODULE hid = library->hid_;
    if (!bind(hid, "HidD_GetHidGuid", library->getHidGuid) ||
        !bind(hid, "HidD_GetAttributes", library->getAttributes) ||
        !bind(hid, "HidD_GetProductString", library->getProductString) ||
        !bind(hid, "HidD_GetPreparsedData", library->getPreparsedData) ||
        !bind(hid, "HidD_FreePreparsedData", library->freePreparsedData) ||
        !bind(hid, "HidP_GetCaps", library->getCaps)) {
        return nullptr;
    }
    return library;
}

HidLibrary::~HidLibrary() {
    if (hid_ != nullptr) {
        FreeLibrary(hid_);
    }
    if (setupApi_ != nullptr) {
        FreeLibrary(setupApi_);
    }
}

}  // namespace quillo::hid::platform::win
