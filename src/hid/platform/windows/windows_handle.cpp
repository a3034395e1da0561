#include "hid/platform/windows/windows_handle.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace quillo::hid::platform::win {

namespace {

// The product string's buffer: 254 UTF-16 units and room for the terminating NUL the
// system always writes.
constexpr DWORD kProductStringBytes = 508;

bool meansUnplugged(DWORD error) {
    return error == ERROR_DEVICE_NOT_CONNECTED || error == ERROR_OPERATION_ABORTED;
}

}  // namespace

std::unique_ptr<WindowsHandle> WindowsHandle::open(std::shared_ptr<const HidLibrary> library,
                                                   const std::wstring& path, Access access,
                                                   DWORD& error) {
    const DWORD desired = access == Access::ReadWrite ? GENERIC_READ | GENERIC_WRITE : 0;
    HANDLE file = CreateFileW(path.c_str(), desired, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return nullptr;
    }
    // The system queues an input report only for the handles open when it arrives, each in
    // its own queue. The read handle is opened now, so that an answer to a report written on
    // this handle, or on another one after this open, waits for the first read; opened at that
    // read, it would miss an answer that came in between.
    HANDLE readFile = INVALID_HANDLE_VALUE;
    if (access == Access::ReadWrite) {
        readFile = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    }
    const DWORD readOpenError = readFile == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    HANDLE readDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE cancel = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if ((access == Access::ReadWrite && readFile == INVALID_HANDLE_VALUE) || readDone == nullptr ||
        cancel == nullptr) {
        error = readOpenError != ERROR_SUCCESS ? readOpenError : GetLastError();
        for (HANDLE h : {readDone, cancel}) {
            if (h != nullptr) {
                CloseHandle(h);
            }
        }
        if (readFile != INVALID_HANDLE_VALUE) {
            CloseHandle(readFile);
        }
        CloseHandle(file);
        return nullptr;
    }
    return std::unique_ptr<WindowsHandle>(
        new WindowsHandle(std::move(library), path, access, file, readFile, readDone, cancel));
}

WindowsHandle::WindowsHandle(std::shared_ptr<const HidLibrary> library, std::wstring path,
                             Access access, HANDLE file, HANDLE readFile, HANDLE readDone,
                             HANDLE cancel)
    : library_(std::move(library)),
      path_(std::move(path)),
      access_(access),
      file_(file),
      readFile_(readFile),
      readDone_(readDone),
      cancel_(cancel) {}

WindowsHandle::~WindowsHandle() {
    if (readFile_ != INVALID_HANDLE_VALUE) {
        CloseHandle(readFile_);
    }
    CloseHandle(file_);
    CloseHandle(readDone_);
    CloseHandle(cancel_);
}

bool WindowsHandle::attributes(Attributes& out) {
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof(attributes);
    if (library_->getAttributes(file_, &attributes) == FALSE) {
        return false;
    }
    out.vendorId = attributes.VendorID;
    out.productId = attributes.ProductID;
    out.versionNumber = attributes.VersionNumber;
    return true;
}

bool WindowsHandle::productString(std::u16string& out) {
    wchar_t text[kProductStringBytes / sizeof(wchar_t)] = {};
    if (library_->getProductString(file_, text, kProductStringBytes) == FALSE) {
        return false;
    }
    const std::size_t length = std::find(std::begin(text), std::end(text), L'\0') - text;
    out.assign(text, text + length);
    return true;
}

bool WindowsHandle::reportLengths(ReportLengths& out) {
    PHIDP_PREPARSED_DATA parsed = nullptr;
    if (library_->getPreparsedData(file_, &parsed) == FALSE) {
        return false;
    }
    HIDP_CAPS caps{};
    const bool ok = library_->getCaps(parsed, &caps) == HIDP_STATUS_SUCCESS;
    library_->freePreparsedData(parsed);
    if (ok) {
        out.input = caps.InputReportByteLength;
        out.output = caps.OutputReportByteLength;
    }
    return ok;
}

bool WindowsHandle::write(const std::uint8_t* data, std::size_t size, std::size_t& written,
                          WriteFailure& failure) {
    written = 0;
    failure = WriteFailure::None;
    if (size > MAXDWORD) {
        failure = WriteFailure::NotSent;
        return false;
    }
    DWORD count = 0;
    const BOOL ok = WriteFile(file_, data, static_cast<DWORD>(size), &count, nullptr);
    written = count;
    if (ok != FALSE) {
        // A HID write sends its report whole or fails; wine's HID stack reports another count
        // for a report that went out.
        written = size;
        return true;
    }
    // A handle that is no longer valid, or a device already gone, sends nothing; any other
    // error may come after the report went out.
    const DWORD error = GetLastError();
    failure = count == 0 && (error == ERROR_INVALID_HANDLE || error == ERROR_DEVICE_NOT_CONNECTED)
                  ? WriteFailure::NotSent
                  : WriteFailure::Failed;
    return false;
}

ReadResult WindowsHandle::failedRead(DWORD error) {
    if (meansUnplugged(error)) {
        gone_ = true;
        return {ReadStatus::Gone, 0, error};
    }
    return {ReadStatus::Error, 0, error};
}

void WindowsHandle::sizeReadBuffer() {
    ReportLengths lengths;
    if (readBuffer_.empty() && reportLengths(lengths)) {
        readBuffer_.resize(lengths.input);
    }
}

ReadResult WindowsHandle::read(std::uint8_t* buffer, std::size_t size, int timeoutMs) {
    if (WaitForSingleObject(cancel_, 0) == WAIT_OBJECT_0) {
        return {ReadStatus::Cancelled, 0, 0};
    }
    ReadResult result;
    if (stashed_) {
        // What waitReadable() took from the system is handed out first.
        stashed_ = false;
        result = stash_;
    } else {
        sizeReadBuffer();
        if (readBuffer_.size() < size) {
            readBuffer_.resize(size);
        }
        result = readReport(timeoutMs);
    }
    if (result.status != ReadStatus::Data) {
        return result;
    }
    const std::size_t copied = std::min(result.bytes, size);
    if (copied > 0) {
        std::memcpy(buffer, readBuffer_.data(), copied);
    }
    return {ReadStatus::Data, copied, 0};
}

ReadResult WindowsHandle::waitReadable(int timeoutMs) {
    if (WaitForSingleObject(cancel_, 0) == WAIT_OBJECT_0) {
        return {ReadStatus::Cancelled, 0, 0};
    }
    // HID has no wait without a read: the report is read here into the handle's buffer and kept
    // for the next read(), so it stays with this handle as it would in the system's queue. A
    // buffer not sized yet leaves the whole read to read().
    if (stashed_) {
        return {ReadStatus::Data, 0, 0};
    }
    sizeReadBuffer();
    if (readBuffer_.empty()) {
        return {ReadStatus::Data, 0, 0};
    }
    const ReadResult result = readReport(timeoutMs);
    if (result.status == ReadStatus::Cancelled || result.status == ReadStatus::Timeout) {
        return result;
    }
    stash_ = result;
    stashed_ = true;
    return {ReadStatus::Data, 0, 0};
}

ReadResult WindowsHandle::readReport(int timeoutMs) {
    if (gone_) {
        return {ReadStatus::Gone, 0, ERROR_DEVICE_NOT_CONNECTED};
    }
    if (access_ != Access::ReadWrite) {
        return {ReadStatus::Error, 0, ERROR_ACCESS_DENIED};
    }
    if (readBuffer_.size() > MAXDWORD) {
        return {ReadStatus::Error, 0, ERROR_INVALID_PARAMETER};
    }

    OVERLAPPED pending{};
    pending.hEvent = readDone_;
    if (ReadFile(readFile_, readBuffer_.data(), static_cast<DWORD>(readBuffer_.size()), nullptr,
                 &pending) == FALSE) {
        const DWORD error = GetLastError();
        if (error != ERROR_IO_PENDING) {
            return failedRead(error);
        }
    }

    // The cancel event comes first so that it wins when both are set.
    const HANDLE events[] = {cancel_, readDone_};
    const DWORD wait = WaitForMultipleObjects(
        2, events, FALSE, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
    const DWORD waitError = wait == WAIT_FAILED ? GetLastError() : ERROR_SUCCESS;
    if (wait != WAIT_OBJECT_0 + 1) {
        // Never leave the read running into the buffer once this call returns. CancelIo only
        // reaches I/O started by this thread, which is the case here.
        CancelIo(readFile_);
    }
    DWORD bytes = 0;
    const BOOL done = GetOverlappedResult(readFile_, &pending, &bytes, TRUE);
    const DWORD error = done == FALSE ? GetLastError() : ERROR_SUCCESS;

    if (wait == WAIT_OBJECT_0) {
        return {ReadStatus::Cancelled, 0, 0};
    }
    if (done != FALSE) {
        // Also after a timeout: a report that arrived while the read was being cancelled is
        // delivered rather than lost.
        return {ReadStatus::Data, bytes, 0};
    }
    if (wait == WAIT_TIMEOUT && error == ERROR_OPERATION_ABORTED) {
        return {ReadStatus::Timeout, 0, 0};
    }
    if (wait == WAIT_FAILED) {
        return {ReadStatus::Error, 0, waitError};
    }
    return failedRead(error);
}

void WindowsHandle::cancelRead() {
    SetEvent(cancel_);
}

}  // namespace quillo::hid::platform::win
