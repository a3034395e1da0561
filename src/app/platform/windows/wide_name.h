#pragma once

// UTF-8 names as the UTF-16 strings of the Windows API.

#include <optional>
#include <string>

namespace quillo::app::platform {

// nullopt for text that is not valid UTF-8.
std::optional<std::wstring> wideName(const std::string& name);

}  // namespace quillo::app::platform
