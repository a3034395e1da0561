/* A plain Win32 HID client, none of the project's code: it opens the unit's interface with
 * SetupAPI and CreateFile, writes the serial number's question and waits for its answer, `runs`
 * times, each time on fresh handles, and counts the answers that never came.
 *
 *   hid_first_answer <before|after|late-open> <runs> [timeout ms]
 *
 * before:    the overlapped read is posted before the question is written;
 * after:     it is posted once the write has completed, on the same handle;
 * late-open: the question goes out on one handle and the read is posted on a second handle
 *            opened after the write (each HID handle has its own input queue).
 *
 * Prints "<variant>: <runs> runs, <n> lost" and the slowest answer; exits 0 when it ran. */
#include <windows.h>
#include <setupapi.h>
#include <hidsdi.h>
#include <hidpi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

enum { kVendor = 0x0483, kProduct = 0x5750, kSerialCode = 0x17, kReadCode = 0x10 };

static int find_unit(wchar_t *path, size_t units) {
    GUID guid;
    HidD_GetHidGuid(&guid);
    HDEVINFO set = SetupDiGetClassDevsW(&guid, NULL, NULL, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return 0;
    int found = 0;
    for (DWORD i = 0; !found; ++i) {
        SP_DEVICE_INTERFACE_DATA iface;
        memset(&iface, 0, sizeof(iface));
        iface.cbSize = sizeof(iface);
        if (!SetupDiEnumDeviceInterfaces(set, NULL, &guid, i, &iface)) break;
        DWORD needed = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &iface, NULL, 0, &needed, NULL);
        SP_DEVICE_INTERFACE_DETAIL_DATA_W *detail = calloc(1, needed);
        detail->cbSize = sizeof(*detail);
        if (SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, needed, NULL, NULL)) {
            HANDLE h = CreateFileW(detail->DevicePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                   OPEN_EXISTING, 0, NULL);
            if (h != INVALID_HANDLE_VALUE) {
                HIDD_ATTRIBUTES a;
                memset(&a, 0, sizeof(a));
                a.Size = sizeof(a);
                if (HidD_GetAttributes(h, &a) && a.VendorID == kVendor && a.ProductID == kProduct &&
                    wcslen(detail->DevicePath) < units) {
                    wcscpy(path, detail->DevicePath);
                    found = 1;
                }
                CloseHandle(h);
            }
        }
        free(detail);
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

static HANDLE open_unit(const wchar_t *path) {
    return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                       OPEN_EXISTING, FILE_FLAG_OVERLAPPED, NULL);
}

static void post_read(HANDLE h, BYTE *buffer, DWORD size, OVERLAPPED *ov) {
    ResetEvent(ov->hEvent);
    if (!ReadFile(h, buffer, size, NULL, ov) && GetLastError() != ERROR_IO_PENDING)
        printf("ReadFile failed: %lu\n", GetLastError());
}

static BOOL write_question(HANDLE h, BYTE *question, DWORD size) {
    OVERLAPPED ov = {0};
    DWORD n = 0;
    ov.hEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
    BOOL ok = WriteFile(h, question, size, NULL, &ov) || GetLastError() == ERROR_IO_PENDING;
    ok = ok && GetOverlappedResult(h, &ov, &n, TRUE);
    CloseHandle(ov.hEvent);
    return ok;
}

/* Waits for the serial number's answer on `h`, whose read is already posted; reports of other
 * codes are read past. The milliseconds it took, or -1 when it never came. */
static long wait_answer(HANDLE h, BYTE *buffer, DWORD size, OVERLAPPED *ov, DWORD timeout,
                        DWORD start) {
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        DWORD left = elapsed < timeout ? timeout - elapsed : 0;
        DWORD n = 0;
        if (WaitForSingleObject(ov->hEvent, left) != WAIT_OBJECT_0) {
            CancelIo(h);
            GetOverlappedResult(h, ov, &n, TRUE);
            return -1;
        }
        if (GetOverlappedResult(h, ov, &n, FALSE) && n >= 2 && buffer[1] == kSerialCode)
            return (long)(GetTickCount() - start);
        post_read(h, buffer, size, ov);
    }
}

int main(int argc, char **argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s <before|after|late-open> <runs> [timeout ms]\n", argv[0]);
        return 2;
    }
    const char *variant = argv[1];
    const int runs = atoi(argv[2]);
    const DWORD timeout = argc > 3 ? (DWORD)atoi(argv[3]) : 5000;
    const int before = strcmp(variant, "before") == 0;
    const int late = strcmp(variant, "late-open") == 0;
    if (!before && !late && strcmp(variant, "after") != 0) return 2;

    static wchar_t path[1024];
    if (!find_unit(path, 1024)) {
        printf("%s: no unit found\n", variant);
        return 1;
    }
    HANDLE probe = open_unit(path);
    PHIDP_PREPARSED_DATA parsed;
    HIDP_CAPS caps;
    if (probe == INVALID_HANDLE_VALUE || !HidD_GetPreparsedData(probe, &parsed)) {
        printf("%s: the unit cannot be opened (%lu)\n", variant, GetLastError());
        return 1;
    }
    HidP_GetCaps(parsed, &caps);
    HidD_FreePreparsedData(parsed);
    CloseHandle(probe);
    const DWORD in = caps.InputReportByteLength, out = caps.OutputReportByteLength;
    BYTE *buffer = calloc(1, in), *question = calloc(1, out);
    question[0] = 1; /* report ID */
    question[1] = kReadCode;
    question[2] = 1;
    question[3] = kSerialCode;

    int lost = 0;
    long slowest = 0;
    OVERLAPPED ov = {0};
    ov.hEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
    for (int run = 0; run < runs; ++run) {
        HANDLE h = open_unit(path), reader = h;
        if (h == INVALID_HANDLE_VALUE) {
            printf("run %d: open failed (%lu)\n", run, GetLastError());
            ++lost;
            continue;
        }
        const DWORD start = GetTickCount();
        if (before) post_read(h, buffer, in, &ov);
        if (!write_question(h, question, out)) printf("run %d: write failed (%lu)\n", run, GetLastError());
        if (late) reader = open_unit(path);
        if (!before) post_read(reader, buffer, in, &ov);
        const long ms = wait_answer(reader, buffer, in, &ov, timeout, start);
        if (ms < 0) {
            ++lost;
            printf("run %d: no answer within %lu ms\n", run, timeout);
        } else if (ms > slowest) {
            slowest = ms;
        }
        if (reader != h) CloseHandle(reader);
        CloseHandle(h);
    }
    printf("%s: %d runs, %d lost; slowest answer %ld ms\n", variant, runs, lost, slowest);
    return 0;
}
