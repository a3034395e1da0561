#pragma once

// SetupAPI and HID.dll, bound at run time so that the program still starts on a system where
// either is missing (the HID layer then counts as unavailable). Handles share the binding with
// their backend, so the libraries stay loaded until the last user is gone.

#include <memory>

#include "hid/platform/windows/win32_headers.h"

namespace quillo::hid::platform::win {

class HidLibrary {
public:
    // SetupAPI first, HID.dll only when SetupAPI and all its functions are there. nullptr when
    // a library or one of the functions is missing. The names are parameters for the tests.
    static std::shared_ptr<const HidLibrary> load(const wchar_t* setupApiName = L"SetupApi.dll",
                                                  const wchar_t* hidName = L"HID.dll");

    HidLibrary(const HidLibrary&) = delete;
    HidLibrary& operator=(const HidLibrary&) = delete;
    ~HidLibrary();

    decltype(&SetupDiGetClassDevsW) getClassDevs = nullptr;
    decltype(&SetupDiEnumDeviceInterfaces) enumDeviceInterfaces = nullptr;
    decltype(&SetupDiGetDeviceInterfaceDetailW) getDeviceInterfaceDetail = nullptr;
    decltype(&SetupDiDestroyDeviceInfoList) destroyDeviceInfoList = nullptr;

    decltype(&HidD_GetHidGuid) getHidGuid = nullptr;
    decltype(&HidD_GetAttributes) getAttributes = nullptr;
    decltype(&HidD_GetProductString) getProductString = nullptr;
    decltype(&HidD_GetPreparsedData) getPreparsedData = nullptr;
    decltype(&HidD_FreePreparsedData) freePreparsedData = nullptr;
    decltype(&HidP_GetCaps) getCaps = nullptr;

private:
    HidLibrary() = default;

    HMODULE setupApi_ = nullptr;
    HMODULE hid_ = nullptr;
};

}  // namespace quillo::hid::platform::win
