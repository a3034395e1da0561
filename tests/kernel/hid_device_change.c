/* A plain Win32 client, none of the project's code: what a program hears when a HID device
 * comes or goes. It makes a hidden top-level window (broadcasts reach those) and a message-only
 * window (which needs no display), registers both for the HID interface class's arrival and
 * removal, keeps a read pending on every interface of vendor 0483 product 5750, and prints,
 * with milliseconds since its start, each WM_DEVICECHANGE each window gets, the interfaces
 * SetupAPI lists at that moment with their device node numbers (DevInst), and how each pending
 * read ends.
 *
 *   hid_device_change <seconds>
 */
#include <windows.h>
#include <dbt.h>
#include <setupapi.h>
#include <hidsdi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

enum { kVendor = 0x0483, kProduct = 0x5750, kMaxUnits = 8 };

static DWORD started;
static GUID hid_guid;

static void say(const char *format, ...) {
    va_list args;
    printf("%6lu ms: ", GetTickCount() - started);
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    printf("\n");
    fflush(stdout);
}

struct unit {
    HANDLE file;
    OVERLAPPED ov;
    BYTE buffer[128];
    wchar_t path[512];
    int open;
};
static struct unit units[kMaxUnits];
static int unit_count;
/* What the last listing found, with each interface's DevInst: "<a unit's serial number's last
 * two digits>@<n>", "mouse@<n>", "keyboard@<n>" (wine's own devices). */
static char listed[256];

static void post_read(struct unit *u) {
    ResetEvent(u->ov.hEvent);
    if (!ReadFile(u->file, u->buffer, sizeof(u->buffer), NULL, &u->ov) &&
        GetLastError() != ERROR_IO_PENDING) {
        say("read of %ls failed at once: %lu", u->path, GetLastError());
        u->open = 0;
    }
}

/* Lists the units; with open_them, opens each one not yet open and posts a read. */
static int list_units(int open_them) {
    HDEVINFO set = SetupDiGetClassDevsW(&hid_guid, NULL, NULL, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    int found = 0;
    listed[0] = 0;
    if (set == INVALID_HANDLE_VALUE) return -1;
    for (DWORD i = 0;; ++i) {
        SP_DEVICE_INTERFACE_DATA iface;
        memset(&iface, 0, sizeof(iface));
        iface.cbSize = sizeof(iface);
        if (!SetupDiEnumDeviceInterfaces(set, NULL, &hid_guid, i, &iface)) break;
        DWORD needed = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &iface, NULL, 0, &needed, NULL);
        SP_DEVICE_INTERFACE_DETAIL_DATA_W *detail = calloc(1, needed);
        SP_DEVINFO_DATA node;
        memset(&node, 0, sizeof(node));
        node.cbSize = sizeof(node);
        detail->cbSize = sizeof(*detail);
        BOOL described = SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, needed, NULL, &node);
        if (described && wcsstr(detail->DevicePath, L"vid_845e&pid_0001") != NULL)
            snprintf(listed + strlen(listed), sizeof(listed) - strlen(listed), " mouse@%lu", node.DevInst);
        if (described && wcsstr(detail->DevicePath, L"vid_845e&pid_0002") != NULL)
            snprintf(listed + strlen(listed), sizeof(listed) - strlen(listed), " keyboard@%lu", node.DevInst);
        if (described && wcsstr(detail->DevicePath, L"vid_0483&pid_5750") != NULL) {
            const wchar_t *serial_end = wcsstr(detail->DevicePath, L"&0&");
            ++found;
            if (serial_end != NULL && serial_end - detail->DevicePath >= 2)
                snprintf(listed + strlen(listed), sizeof(listed) - strlen(listed), " %lc%lc@%lu",
                         serial_end[-2], serial_end[-1], node.DevInst);
            if (open_them && unit_count < kMaxUnits) {
                struct unit *u = &units[unit_count];
                u->file = CreateFileW(detail->DevicePath, GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, NULL);
                if (u->file != INVALID_HANDLE_VALUE) {
                    wcsncpy(u->path, detail->DevicePath, 511);
                    u->ov.hEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
                    u->open = 1;
                    ++unit_count;
                    say("opened %ls", u->path);
                    post_read(u);
                }
            }
        }
        free(detail);
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

static const char *event_name(WPARAM w) {
    switch (w) {
    case DBT_DEVNODES_CHANGED: return "DBT_DEVNODES_CHANGED";
    case DBT_DEVICEARRIVAL: return "DBT_DEVICEARRIVAL";
    case DBT_DEVICEREMOVECOMPLETE: return "DBT_DEVICEREMOVECOMPLETE";
    case DBT_DEVICEQUERYREMOVE: return "DBT_DEVICEQUERYREMOVE";
    case DBT_DEVICEREMOVEPENDING: return "DBT_DEVICEREMOVEPENDING";
    default: return "other";
    }
}

static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DEVICECHANGE) {
        const char *which = GetPropW(window, L"message-only") ? "message-only" : "top-level";
        const DEV_BROADCAST_HDR *header = (const DEV_BROADCAST_HDR *)l;
        if (header != NULL && header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE)
            say("%s window: %s (0x%lx) %ls; units listed: %d:%s", which, event_name(w),
                (unsigned long)w, ((const DEV_BROADCAST_DEVICEINTERFACE_W *)header)->dbcc_name,
                list_units(0), listed);
        else
            say("%s window: %s (0x%lx) type %ld; units listed: %d:%s", which, event_name(w),
                (unsigned long)w, header ? (long)header->dbch_devicetype : -1L, list_units(0), listed);
    }
    return DefWindowProcW(window, message, w, l);
}

static void subscribe(HWND window, const char *which) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter;
    memset(&filter, 0, sizeof(filter));
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = hid_guid;
    HDEVNOTIFY n = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    say("%s window: RegisterDeviceNotification %s (%lu)", which, n ? "ok" : "failed",
        n ? 0UL : GetLastError());
}

int main(int argc, char **argv) {
    started = GetTickCount();
    int seconds = argc > 1 ? atoi(argv[1]) : 30;
    HidD_GetHidGuid(&hid_guid);
    HMODULE cfgmgr = LoadLibraryW(L"cfgmgr32.dll");
    say("CM_Register_Notification: %s",
        cfgmgr && GetProcAddress(cfgmgr, "CM_Register_Notification") ? "present" : "absent");

    WNDCLASSEXW wc;
    memset(&wc, 0, sizeof(wc));
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"DeviceChangeProbe";
    RegisterClassExW(&wc);
    HWND top = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, NULL, NULL, wc.hInstance, NULL);
    say("top-level window: %s (%lu)", top ? "made" : "not made", top ? 0UL : GetLastError());
    if (top) subscribe(top, "top-level");
    HWND only = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                                wc.hInstance, NULL);
    say("message-only window: %s (%lu)", only ? "made" : "not made", only ? 0UL : GetLastError());
    if (only) {
        SetPropW(only, L"message-only", (HANDLE)1);
        subscribe(only, "message-only");
    }
    say("units: %d:%s", list_units(1), listed);
    say("ready");

    while (GetTickCount() - started < (DWORD)seconds * 1000) {
        HANDLE events[kMaxUnits];
        int map[kMaxUnits], n = 0;
        for (int i = 0; i < unit_count; ++i)
            if (units[i].open) {
                events[n] = units[i].ov.hEvent;
                map[n++] = i;
            }
        DWORD r = MsgWaitForMultipleObjects(n, events, FALSE, 500, QS_ALLINPUT);
        if (r < WAIT_OBJECT_0 + (DWORD)n) {
            struct unit *u = &units[map[r - WAIT_OBJECT_0]];
            DWORD bytes = 0;
            if (GetOverlappedResult(u->file, &u->ov, &bytes, FALSE)) {
                say("read of %ls: %lu bytes", u->path, bytes);
                post_read(u);
            } else {
                say("read of %ls failed: %lu", u->path, GetLastError());
                u->open = 0;
            }
        }
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    say("done; units listed: %d:%s", list_units(0), listed);
    return 0;
}
