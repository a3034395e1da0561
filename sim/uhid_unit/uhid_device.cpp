#include "sim/uhid_unit/uhid_device.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace quillo::sim::uhid {

namespace unit = protocol::unit;

namespace {

const Clock::time_point kStart = Clock::now();

// What a flooding unit sends: its report ID and a code no parameter has.
constexpr std::uint8_t kFloodCode = 0xEE;

void WriteEvent(int fd, const uhid_event& event) {
    if (write(fd, &event, sizeof event) != static_cast<ssize_t>(sizeof event)) {
        throw std::runtime_error(std::string("writing to /dev/uhid: ") + std::strerror(errno));
    }
}

template <std::size_t N>
void CopyText(std::uint8_t (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

}  // namespace

void LogLine(const std::string& serial, const char* what, const std::uint8_t* data,
             std::size_t size) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - kStart).count();
    std::printf("%lld %s %s", static_cast<long long>(ms), serial.c_str(), what);
    if (data != nullptr) {
        std::printf(" ");
        for (std::size_t i = 0; i < size; ++i) {
            std::printf("%02x", data[i]);
        }
    }
    std::printf("\n");
    std::fflush(stdout);
}

UhidDevice::UhidDevice(DeviceSetup setup) : setup_(std::move(setup)) {
    fd_ = open("/dev/uhid", O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        throw std::runtime_error(std::string("opening /dev/uhid: ") + std::strerror(errno));
    }
    const std::vector<std::uint8_t> descriptor = UnitReportDescriptor(setup_.shape);
    uhid_event event{};
    event.type = UHID_CREATE2;
    uhid_create2_req& create = event.u.create2;
    CopyText(create.name, setup_.name);
    CopyText(create.phys, "quillo-uhid/" + setup_.serial);
    CopyText(create.uniq, setup_.serial);
    create.rd_size = static_cast<std::uint16_t>(descriptor.size());
    std::copy(descriptor.begin(), descriptor.end(), create.rd_data);
    create.bus = 0x03;  // USB
    create.vendor = setup_.vendorId;
    create.product = setup_.productId;
    create.version = 0x0200;
    try {
        WriteEvent(fd_, event);
    } catch (...) {
        close(fd_);
        throw;
    }
    if (setup_.unit) {
        const platform::Attributes attributes{setup_.vendorId, setup_.productId, 0x0200};
        iface_ = std::make_unique<SimInterface>(
            "uhid:" + setup_.serial, 1, attributes, std::u16string(),
            std::make_unique<SimUnit>(setup_.unit->model, setup_.serial));
        iface_->setFaults(setup_.unit->faults);
        if (setup_.unit->networks) {
            iface_->unit()->accessPoints = AccessPoints(*setup_.unit->networks);
        }
        // The simulated unit always answers with its report ID first; SendInput drops it for
        // a descriptor without report IDs.
        iface_->reportLengths = {static_cast<std::uint16_t>(setup_.shape.inputBytes + 1),
                                 static_cast<std::uint16_t>(setup_.shape.outputBytes + 1)};
    }
    setFlood(setup_.flood);
    LogLine(setup_.serial, "plugged");
}

UhidDevice::~UhidDevice() {
    uhid_event event{};
    event.type = UHID_DESTROY;
    if (write(fd_, &event, sizeof event) < 0) {
        std::perror("destroying a uhid device");
    }
    close(fd_);
    LogLine(setup_.serial, "unplugged");
}

void UhidDevice::setFlood(std::chrono::milliseconds every) {
    setup_.flood = every;
    nextFlood_ = Clock::now() + every;
}

void UhidDevice::HandleEvent() {
    uhid_event event{};
    const ssize_t n = read(fd_, &event, sizeof event);
    if (n <= 0) {
        return;
    }
    switch (event.type) {
        case UHID_START:
            LogLine(setup_.serial, "started");
            break;
        case UHID_OPEN:
            LogLine(setup_.serial, "open");
            break;
        case UHID_CLOSE:
            LogLine(setup_.serial, "close");
            break;
        case UHID_OUTPUT:
            Output(event.u.output.data, std::min<std::size_t>(event.u.output.size, UHID_DATA_MAX));
            break;
        case UHID_GET_REPORT: {
            // The unit has no feature reports: refuse at once rather than let the caller wait.
            LogLine(setup_.serial, "get-report");
            uhid_event reply{};
            reply.type = UHID_GET_REPORT_REPLY;
            reply.u.get_report_reply.id = event.u.get_report.id;
            reply.u.get_report_reply.err = EIO;
            WriteEvent(fd_, reply);
            break;
        }
        case UHID_SET_REPORT: {
            LogLine(setup_.serial, "set-report");
            uhid_event reply{};
            reply.type = UHID_SET_REPORT_REPLY;
            reply.u.set_report_reply.id = event.u.set_report.id;
            reply.u.set_report_reply.err = EIO;
            WriteEvent(fd_, reply);
            break;
        }
        default:
            break;
    }
}

void UhidDevice::Output(const std::uint8_t* data, std::size_t size) {
    LogLine(setup_.serial, "out", data, size);
    const auto startsWith = [&](const std::vector<std::uint8_t>& prefix) {
        return !prefix.empty() && size >= prefix.size() &&
               std::equal(prefix.begin(), prefix.end(), data);
    };
    if (startsWith(setup_.unplugAt)) {
        pulledOut_ = true;  // it never answers this one
        return;
    }
    if (!silent_ && startsWith(setup_.silentAt)) {
        silent_ = true;
        silentUntil_ = Clock::now() + setup_.silentFor;
        LogLine(setup_.serial, "silent");
    }
    if (!iface_ || size == 0 || pulledOut_) {
        return;
    }
    // hidraw hands a write over whole, report ID byte included; a device without report IDs
    // gets byte 0 in front, which its USB driver would not send, so the unit reads the rest as
    // its one report.
    std::vector<std::uint8_t> report(data, data + size);
    if (!setup_.shape.numbered) {
        report[0] = unit::kReportId;
    }
    platform::WriteFailure failure = platform::WriteFailure::None;
    iface_->write(report.data(), report.size(), failure);
    Pump();
}

void UhidDevice::Pump() {
    if (iface_) {
        std::vector<std::uint8_t> buffer(UHID_DATA_MAX + 1);
        const bool cancelled = false;
        for (;;) {
            const platform::ReadResult result =
                iface_->read(buffer.data(), buffer.size(), 0, cancelled);
            if (result.status != platform::ReadStatus::Data) {
                break;
            }
            if (muted_ || Silent()) {
                continue;
            }
            ++answers_;
            SendInput(buffer.data(), result.bytes, true);
        }
    }
    if (setup_.flood.count() > 0) {
        const auto now = Clock::now();
        if (now >= nextFlood_) {
            std::vector<std::uint8_t> report(static_cast<std::size_t>(setup_.shape.inputBytes) + 1);
            report[0] = unit::kReportId;
            report[1] = kFloodCode;
            // Not logged: the log would drown in them.
            SendInput(report.data(), report.size(), false);
            nextFlood_ = now + setup_.flood;
        }
    }
}

std::optional<Clock::time_point> UhidDevice::NextWake() const {
    std::optional<Clock::time_point> wake;
    if (iface_ && iface_->queuedReports() > 0) {
        wake = Clock::now() + std::chrono::milliseconds(2);
    }
    if (iface_ && iface_->faults().strayLineEvery.count() > 0) {
        const auto stray = Clock::now() + iface_->faults().strayLineEvery;
        wake = wake ? std::min(*wake, stray) : stray;
    }
    if (setup_.flood.count() > 0) {
        wake = wake ? std::min(*wake, nextFlood_) : nextFlood_;
    }
    return wake;
}

bool UhidDevice::Silent() const {
    if (setup_.answerLimit >= 0 && answers_ >= setup_.answerLimit) {
        return true;
    }
    return silent_ && (setup_.silentFor.count() == 0 || Clock::now() < silentUntil_);
}

void UhidDevice::SendInput(const std::uint8_t* report, std::size_t size, bool log) const {
    if (!setup_.shape.numbered && size > 0) {
        ++report;
        --size;
    }
    uhid_event event{};
    event.type = UHID_INPUT2;
    event.u.input2.size = static_cast<std::uint16_t>(std::min<std::size_t>(size, UHID_DATA_MAX));
    std::memcpy(event.u.input2.data, report, event.u.input2.size);
    WriteEvent(fd_, event);
    if (log) {
        LogLine(setup_.serial, "in", report, event.u.input2.size);
    }
}

}  // namespace quillo::sim::uhid
