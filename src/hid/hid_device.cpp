#include "hid/hid_device.h"

#include <algorithm>

#include "hid/hid_device_controller.h"
#include "hid/hid_device_read_thread.h"

namespace quillo::hid {

namespace {
constexpr std::size_t kMaxProductNameUnits = 254;
}

HandlerId NewHandlerId(bool assigned) {
    static HandlerId last = 0;  // main thread only
    return assigned ? ++last : 0;
}

HidDevice::HidDevice(HidDeviceController* controller, platform::Backend* backend,
                     std::unique_ptr<HidPnPInfo> pnpInfo)
    : controller_(controller), backend_(backend) {
    if (controller_ != nullptr) {
        // Copied as they are: the controller's defaults are not range-checked.
        pollingDelayTime_ = controller_->DevPollingDelayTime();
        threadSleepTime_ = controller_->DevThreadSleepTime();
        onData_ = controller_->OnDeviceData();
        onDataError_ = controller_->OnDeviceDataError();
        onUnplug_ = controller_->OnDeviceUnplug();
        onDataId_ = controller_->onDeviceDataId_;
        onDataErrorId_ = controller_->onDeviceDataErrorId_;
        onUnplugId_ = controller_->onDeviceUnplugId_;
    }
    pnpInfo_ = std::move(pnpInfo);
    std::unique_ptr<platform::Handle> handle = OpenSynchronous();
    if (!handle) {
        throw HidControllerError("Device cannot be opened");
    }
    platform::Attributes attributes;
    if (!handle->attributes(attributes)) {
        throw HidControllerError("Device cannot be identified");
    }
    attributes_.VendorID = attributes.vendorId;
    attributes_.ProductID = attributes.productId;
    attributes_.VersionNumber = attributes.versionNumber;
}

HidDevice::~HidDevice() {
    HidDataEvent onData = std::move(onData_);
    HidPlugEvent onUnplug = std::move(onUnplug_);
    onData_ = nullptr;
    onUnplug_ = nullptr;
    // A report already received still reaches the handler the device had.
    StopReader(onData);
    CloseAllHandles();
    if (controller_ != nullptr) {
        controller_->ReleaseDevice(this, std::move(onData), std::move(onUnplug));
    }
}

std::unique_ptr<platform::Handle> HidDevice::OpenSynchronous() {
    const std::string& path = pnpInfo_->path;
    std::unique_ptr<platform::Handle> handle = backend_->open(path, platform::Access::ReadWrite);
    hasReadWriteAccess_ = handle != nullptr;
    if (!handle) {
        handle = backend_->open(path, platform::Access::None);
    }
    return handle;
}

bool HidDevice::OpenFile() {
    if (fileHandle_) {
        return true;
    }
    if (OpenRuleAllows()) {
        fileHandle_ = OpenSynchronous();
    }
    return fileHandle_ != nullptr;
}

void HidDevice::CloseFile() {
    fileHandle_.reset();
}

bool HidDevice::OpenFileEx(HidOpenExMode mode) {
    if (!OpenRuleAllows()) {
        return false;
    }
    const std::string& path = pnpInfo_->path;
    if (mode == HidOpenExMode::omhRead) {
        if (!readHandle_) {
            readHandle_ = backend_->open(path, platform::Access::ReadWrite);
        }
        return readHandle_ != nullptr;
    }
    if (!writeHandle_) {
        writeHandle_ = backend_->open(path, platform::Access::ReadWrite);
    }
    return writeHandle_ != nullptr;
}

void HidDevice::CloseFileEx(HidOpenExMode mode) {
    if (mode == HidOpenExMode::omhRead) {
        // The reader may be waiting on this handle right now: it is woken and keeps its
        // reference until it ends, so the handle is never destroyed under it.
        if (reader_) {
            reader_->CloseHandle();
        }
        readHandle_.reset();
    } else {
        writeHandle_.reset();
    }
}

void HidDevice::CloseAllHandles() {
    CloseFile();
    CloseFileEx(HidOpenExMode::omhRead);
    CloseFileEx(HidOpenExMode::omhWrite);
}

QString HidDevice::ProductName() {
    if (!productName_.isEmpty()) {
        return productName_;
    }
    // A handle kept open for writing stays open.
    const bool opened = !fileHandle_;
    if (OpenFile()) {
        std::u16string name;
        if (fileHandle_->productString(name)) {
            const std::size_t end = std::min({name.find(u'\0'), name.size(), kMaxProductNameUnits});
            productName_ = QString::fromUtf16(name.data(), static_cast<qsizetype>(end));
        }
        if (opened) {
            CloseFile();
        }
    }
    return productName_;
}

HidCaps HidDevice::Caps() {
    // Lengths that could not be read, or read as 0, are asked for again: a unit whose
    // capabilities were unreadable once must not stay without reports for good.
    const bool known =
        caps_ && caps_->InputReportByteLength != 0 && caps_->OutputReportByteLength != 0;
    const bool opened = !fileHandle_;
    if (!known && OpenFile()) {
        platform::ReportLengths lengths;
        if (fileHandle_->reportLengths(lengths)) {
            caps_ = HidCaps{lengths.input, lengths.output};
        }
        if (opened) {
            CloseFile();
        }
    }
    return caps_.value_or(HidCaps{});
}

bool HidDevice::OpenForWrite() {
    if (fileHandle_ && fileHandle_->access() == platform::Access::ReadWrite) {
        return true;
    }
    if (!OpenRuleAllows()) {
        return false;
    }
    // An identification-only handle kept from a refused open never writes: ask for read and
    // write access again, so a refusal that has ended no longer leaves the unit write-dead.
    std::unique_ptr<platform::Handle> handle =
        backend_->open(pnpInfo_->path, platform::Access::ReadWrite);
    hasReadWriteAccess_ = handle != nullptr;
    if (!handle) {
        return false;
    }
    fileHandle_ = std::move(handle);
    return true;
}

bool HidDevice::WriteFile(const std::uint8_t* report, std::uint32_t toWrite,
                          std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    // A handle that fails a write is dropped. When it had served before and the write cannot
    // have sent anything (the handle went stale: the node may have been replaced under the same
    // path), the write is tried once more on a fresh one; never after a write that may have
    // reached the unit, which must not get a report twice (a scan start, a factory reset).
    for (int attempt = 0; attempt < 2; ++attempt) {
        const bool reused = fileHandle_ && fileHandle_->access() == platform::Access::ReadWrite;
        if (!OpenForWrite()) {
            return false;
        }
        std::size_t written = 0;
        platform::WriteFailure failure = platform::WriteFailure::None;
        if (fileHandle_->write(report, toWrite, written, failure)) {
            bytesWritten = static_cast<std::uint32_t>(written);
            StartReaderIfAllowed();
            return true;
        }
        CloseFile();
        if (!reused || failure != platform::WriteFailure::NotSent) {
            break;
        }
    }
    return false;
}

void HidDevice::SetPollingDelayTime(int ms) {
    if (ms < 0 || ms > 10000) {
        return;
    }
    pollingDelayTime_ = ms;
    if (reader_) {
        reader_->SetPollingDelayTime(ms);
    }
}

void HidDevice::SetThreadSleepTime(int ms) {
    if (ms < 10 || ms > 10000) {
        return;
    }
    threadSleepTime_ = ms;
    if (reader_) {
        reader_->SetThreadSleepTime(ms);
    }
}

void HidDevice::SetOnData(HidDataEvent handler) {
    onDataId_ = NewHandlerId(static_cast<bool>(handler));
    ApplyOnData(std::move(handler));
}

void HidDevice::ApplyOnData(HidDataEvent handler) {
    if (!handler) {
        HidDataEvent previous = std::move(onData_);
        onData_ = nullptr;
        StopReader(previous);
        return;
    }
    // A running reader stays; its next report goes to the new handler.
    onData_ = std::move(handler);
    StartReaderIfAllowed();
}

void HidDevice::SetOnDataError(HidDataErrorEvent handler) {
    onDataErrorId_ = NewHandlerId(static_cast<bool>(handler));
    ApplyOnDataError(std::move(handler));
}

void HidDevice::ApplyOnDataError(HidDataErrorEvent handler) {
    onDataError_ = std::move(handler);
    if (reader_) {
        reader_->SetReportErrors(static_cast<bool>(onDataError_));
    }
}

void HidDevice::SetOnUnplug(HidPlugEvent handler) {
    onUnplugId_ = NewHandlerId(static_cast<bool>(handler));
    onUnplug_ = std::move(handler);
}

void HidDevice::StartReaderIfAllowed() {
    if (!onData_ || !isPluggedIn_ || !isCheckedOut_ || checkingIn_ || reader_) {
        return;
    }
    // Without a read handle or an input length yet, the reader asks for them on every pass
    // until both are there (a refused open, unreadable capabilities).
    std::size_t length = 0;
    std::shared_ptr<platform::Handle> handle = OpenReadHandle(length);
    // Errors are reported from the first pass on.
    reader_ =
        std::make_unique<HidDeviceReadThread>(this, std::move(handle), length, threadSleepTime_,
                                              pollingDelayTime_, static_cast<bool>(onDataError_));
}

std::shared_ptr<platform::Handle> HidDevice::OpenReadHandle(std::size_t& length) {
    length = 0;
    readHandle_.reset();
    if (!isPluggedIn_ || !isCheckedOut_) {
        return nullptr;
    }
    const std::size_t known = Caps().InputReportByteLength;
    if (known == 0) {
        return nullptr;
    }
    readHandle_ = backend_->open(pnpInfo_->path, platform::Access::ReadWrite);
    hasReadWriteAccess_ = readHandle_ != nullptr;
    if (readHandle_) {
        length = known;
    }
    return readHandle_;
}

void HidDevice::StopReader(const HidDataEvent& deliverTo) {
    if (!reader_) {
        return;
    }
    // Moved out first: a handler run by the final delivery must find no reader any more.
    std::unique_ptr<HidDeviceReadThread> reader = std::move(reader_);
    reader->Stop(deliverTo);
    // The stop cancelled the read handle for good; the next reader opens a new one.
    readHandle_.reset();
}

void HidDevice::Unplug() {
    CloseAllHandles();
    isPluggedIn_ = false;
    if (onUnplug_) {
        // Called once: the device then carries no handler, the controller's or its own.
        const HidPlugEvent handler = std::move(onUnplug_);
        onUnplug_ = nullptr;
        onUnplugId_ = 0;
        handler(this);
    }
}

}  // namespace quillo::hid
