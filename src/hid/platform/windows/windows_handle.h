#pragma once

// One open HID interface: a synchronous handle for identification and writes, and, opened with
// it when reads are allowed, an overlapped handle for reads that can be given up on a timeout or
// a cancel request.

#include <memory>
#include <string>
#include <vector>

#include "hid/platform/hid_backend.h"
#include "hid/platform/windows/hid_library.h"

namespace quillo::hid::platform::win {

class WindowsHandle final : public Handle {
public:
    // Opens `path` with the given access; nullptr with the system error in `error` on failure.
    static std::unique_ptr<WindowsHandle> open(std::shared_ptr<const HidLibrary> library,
                                               const std::wstring& path, Access access,
                                               DWORD& error);
    ~WindowsHandle() override;

    Access access() const override { return access_; }
    bool attributes(Attributes& out) override;
    bool productString(std::u16string& out) override;
    bool reportLengths(ReportLengths& out) override;
    using Handle::write;
    bool write(const std::uint8_t* data, std::size_t size, std::size_t& written,
               WriteFailure& failure) override;
    ReadResult read(std::uint8_t* buffer, std::size_t size, int timeoutMs) override;
    ReadResult waitReadable(int timeoutMs) override;
    void cancelRead() override;

private:
    WindowsHandle(std::shared_ptr<const HidLibrary> library, std::wstring path, Access access,
                  HANDLE file, HANDLE readFile, HANDLE readDone, HANDLE cancel);

    // Gives the read buffer the input report's length, once the capabilities can be read.
    void sizeReadBuffer();
    ReadResult failedRead(DWORD error);
    // One overlapped read into `readBuffer_`; Data's `bytes` count what it holds.
    ReadResult readReport(int timeoutMs);

    std::shared_ptr<const HidLibrary> library_;
    std::wstring path_;
    Access access_;
    HANDLE file_;      // synchronous, opened with `access_`
    HANDLE readFile_;  // overlapped, read and write access only; used by the reader thread only
    HANDLE readDone_;  // manual-reset event of the pending read
    HANDLE cancel_;    // manual-reset, set once by cancelRead()
    // The system wants room for a whole input report, whatever the caller's buffer holds.
    std::vector<std::uint8_t> readBuffer_;
    bool gone_ = false;
    // A read's outcome taken by waitReadable() and not yet handed out by read(); a report's
    // bytes are in `readBuffer_`. Reader thread only.
    bool stashed_ = false;
    ReadResult stash_;
};

}  // namespace quillo::hid::platform::win
