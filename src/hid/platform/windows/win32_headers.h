#pragma once

// The Windows headers this layer needs, in the order they need each other. MinGW-w64's HID
// headers declare their functions without C linkage, hence the extern "C" block.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <dbt.h>
#include <setupapi.h>

extern "C" {
#include <hidsdi.h>
}
