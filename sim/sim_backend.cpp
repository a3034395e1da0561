#include "sim/sim_backend.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <sstream>

namespace quillo::sim {

namespace unit = protocol::unit;

namespace {

// System error codes handed back by a refused open (those of Windows).
constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorGenFailure = 31;

class SimHandle : public platform::Handle {
public:
    SimHandle(std::shared_ptr<SimInterface> iface, platform::Access access)
        : iface_(std::move(iface)), access_(access) {}

    platform::Access access() const override { return access_; }

    bool attributes(platform::Attributes& out) override {
        if (iface_->faults().noAttributes) {
            return false;
        }
        out = iface_->attributes;
        return true;
    }

    bool productString(std::u16string& out) override {
        if (iface_->faults().noProductString || iface_->product.empty()) {
            return false;
        }
        out = iface_->product;
        return true;
    }

    bool reportLengths(platform::ReportLengths& out) override {
        if (iface_->faults().noReportLengths || iface_->takeUnreadableLengths()) {
            return false;
        }
        out = iface_->reportLengths;
        return true;
    }

    bool write(const std::uint8_t* data, std::size_t size, std::size_t& written,
               platform::WriteFailure& failure) override {
        written = 0;
        if (access_ != platform::Access::ReadWrite) {
            failure = platform::WriteFailure::NotSent;
            return false;
        }
        if (!iface_->write(data, size, failure)) {
            return false;
        }
        written = size;
        return true;
    }

    platform::ReadResult read(std::uint8_t* buffer, std::size_t size, int timeoutMs) override {
        if (access_ != platform::Access::ReadWrite) {
            return {platform::ReadStatus::Error, 0, kErrorAccessDenied};
        }
        return iface_->read(buffer, size, timeoutMs, cancelled_);
    }

    platform::ReadResult waitReadable(int timeoutMs) override {
        if (access_ != platform::Access::ReadWrite) {
            return {platform::ReadStatus::Data, 0, 0};  // read() fails at once
        }
        return iface_->waitReadable(timeoutMs, cancelled_);
    }

    void cancelRead() override { iface_->cancel(cancelled_); }

private:
    std::shared_ptr<SimInterface> iface_;
    platform::Access access_;
    bool cancelled_ = false;  // guarded by the interface's mutex
};

std::string SerialNumber(int n) {
    char text[25];
    std::snprintf(text, sizeof text, "%08X%08X%08X", 0x0036003Bu, 0x5346500Bu,
                  0x20373800u + static_cast<unsigned>(n));
    return text;
}

}  // namespace

SimInterface::SimInterface(std::string path, std::uint64_t id, platform::Attributes attrs,
                           std::u16string productString, std::unique_ptr<SimUnit> unit)
    : attributes(attrs),
      product(std::move(productString)),
      path_(std::move(path)),
      id_(id),
      unit_(std::move(unit)) {}

Faults SimInterface::faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

void SimInterface::setFaults(const Faults& faults) {
    {
        std::lock_guard lock(mutex_);
        faults_ = faults;
        nextStray_ = std::chrono::steady_clock::now() + faults.strayLineEvery;
    }
    cv_.notify_all();
}

bool SimInterface::takeRefusedOpen(platform::Access access) {
    std::lock_guard lock(mutex_);
    if (access != platform::Access::ReadWrite || faults_.refusedReadWriteOpens <= 0) {
        return false;
    }
    --faults_.refusedReadWriteOpens;
    return true;
}

bool SimInterface::takeUnreadableLengths() {
    std::lock_guard lock(mutex_);
    if (faults_.unreadableLengths <= 0) {
        return false;
    }
    --faults_.unreadableLengths;
    return true;
}

bool SimInterface::pluggedIn() const {
    std::lock_guard lock(mutex_);
    return pluggedIn_;
}

std::vector<std::vector<std::uint8_t>> SimInterface::writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

void SimInterface::clearWrites() {
    std::lock_guard lock(mutex_);
    writes_.clear();
}

int SimInterface::waitingReads() const {
    std::lock_guard lock(mutex_);
    return waitingReads_;
}

int SimInterface::readWaits() const {
    std::lock_guard lock(mutex_);
    return readWaits_;
}

int SimInterface::queuedReports() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(input_.size());
}

void SimInterface::send(std::vector<std::uint8_t> report, std::chrono::milliseconds delay) {
    {
        std::lock_guard lock(mutex_);
        input_.push_back({std::chrono::steady_clock::now() + delay, std::move(report)});
    }
    cv_.notify_all();
}

bool SimInterface::write(const std::uint8_t* data, std::size_t size,
                         platform::WriteFailure& failure) {
    failure = platform::WriteFailure::None;
    bool confirmed = true;
    {
        std::lock_guard lock(mutex_);
        const bool unwritable = size > 1 && faults_.unwritableCodes.count(data[1]) > 0;
        if (!pluggedIn_ || unwritable || faults_.writeErrors > 0) {
            if (pluggedIn_ && !unwritable) {
                --faults_.writeErrors;
            }
            failure = platform::WriteFailure::NotSent;
            return false;
        }
        if (faults_.unconfirmedWrites > 0) {
            --faults_.unconfirmedWrites;
            confirmed = false;
        }
        writes_.emplace_back(data, data + size);
        if (unit_) {
            unit_->inputLength = reportLengths.input;
            const auto due = std::chrono::steady_clock::now() + faults_.answerDelay;
            for (auto& answer : unit_->Receive(data, size)) {
                ++answers_;
                if (faults_.garbageEvery > 0 &&
                    answers_ % static_cast<std::uint32_t>(faults_.garbageEvery) == 0) {
                    Garble(answer);
                }
                input_.push_back({due, std::move(answer)});
            }
        }
    }
    cv_.notify_all();
    if (!confirmed) {
        failure = platform::WriteFailure::Failed;
    }
    return confirmed;
}

platform::ReadResult SimInterface::read(std::uint8_t* buffer, std::size_t size, int timeoutMs,
                                        const bool& cancelled) {
    std::unique_lock lock(mutex_);
    const platform::ReadResult waited = WaitReadable(lock, timeoutMs, cancelled);
    if (waited.status != platform::ReadStatus::Data) {
        return waited;
    }
    if (!pluggedIn_) {
        return {platform::ReadStatus::Gone, 0, 1167};  // "device not connected"
    }
    if (faults_.zeroLengthReads > 0) {
        --faults_.zeroLengthReads;
        return {platform::ReadStatus::Data, 0, 0};
    }
    if (faults_.readErrors > 0) {
        --faults_.readErrors;
        return {platform::ReadStatus::Error, 0, kErrorGenFailure};
    }
    const std::vector<std::uint8_t> report = std::move(input_.front().bytes);
    input_.pop_front();
    const std::size_t n = std::min(size, report.size());
    std::copy_n(report.begin(), n, buffer);
    return {platform::ReadStatus::Data, n, 0};
}

platform::ReadResult SimInterface::waitReadable(int timeoutMs, const bool& cancelled) {
    std::unique_lock lock(mutex_);
    return WaitReadable(lock, timeoutMs, cancelled);
}

platform::ReadResult SimInterface::WaitReadable(std::unique_lock<std::mutex>& lock, int timeoutMs,
                                                const bool& cancelled) {
    using Clock = std::chrono::steady_clock;
    // Without a time-out the wait lasts until a report is due, the unit is unplugged or the read
    // is cancelled.
    const auto deadline = timeoutMs < 0 ? Clock::time_point::max()
                                        : Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (cancelled) {
            return {platform::ReadStatus::Cancelled, 0, 0};
        }
        const auto now = Clock::now();
        if (unit_ && faults_.strayLineEvery.count() > 0 && now >= nextStray_) {
            nextStray_ = now + faults_.strayLineEvery;
            input_.push_back({now, StrayLine()});
        }
        if (!pluggedIn_ || faults_.zeroLengthReads > 0 || faults_.readErrors > 0 ||
            (!input_.empty() && input_.front().due <= now)) {
            return {platform::ReadStatus::Data, 0, 0};
        }
        if (now >= deadline) {
            return {platform::ReadStatus::Timeout, 0, 0};
        }
        auto wakeAt = deadline;
        if (!input_.empty()) {
            wakeAt = std::min(wakeAt, input_.front().due);
        }
        if (unit_ && faults_.strayLineEvery.count() > 0) {
            wakeAt = std::min(wakeAt, nextStray_);
        }
        ++waitingReads_;
        ++readWaits_;
        if (wakeAt == Clock::time_point::max()) {
            cv_.wait(lock);
        } else {
            cv_.wait_until(lock, wakeAt);
        }
        --waitingReads_;
    }
}

void SimInterface::Garble(std::vector<std::uint8_t>& answer) {
    // A small xorshift: garbage that is the same in every run.
    for (std::uint8_t& byte : answer) {
        noise_ ^= noise_ << 13U;
        noise_ ^= noise_ >> 17U;
        noise_ ^= noise_ << 5U;
        byte = static_cast<std::uint8_t>(noise_);
    }
    // Sometimes a report of the unit's own ID, so the garbage passes the first check; its code
    // is then one no parameter has, so garbage never poses as the unit's value of a parameter.
    if (answer.size() > 1 && (noise_ & 0x100U) != 0) {
        answer[0] = unit::kReportId;
        answer[1] |= 0x80U;
    }
}

std::vector<std::uint8_t> SimInterface::StrayLine() const {
    static constexpr std::string_view kLine = R"(+CWLAP:(3,"Stray",-70,"02:00:00:00:00:01",6,0,0))";
    const std::vector<std::uint8_t> text(kLine.begin(), kLine.end());
    return unit::answerReport(unit::kScanLineCode, text, reportLengths.input);
}

void SimInterface::cancel(bool& cancelled) {
    {
        std::lock_guard lock(mutex_);
        cancelled = true;
    }
    cv_.notify_all();
}

void SimInterface::unplug() {
    {
        std::lock_guard lock(mutex_);
        pluggedIn_ = false;
        input_.clear();
    }
    cv_.notify_all();
}

std::vector<platform::InterfaceInfo> SimBackend::enumerate() {
    std::vector<platform::InterfaceInfo> list;
    for (const auto& iface : present_) {
        list.push_back({iface->id(), iface->path()});
    }
    return list;
}

std::unique_ptr<platform::Handle> SimBackend::open(const std::string& path, platform::Access access,
                                                   std::uint32_t* error) {
    const auto it = std::find_if(present_.begin(), present_.end(),
                                 [&](const auto& iface) { return iface->path() == path; });
    std::uint32_t code = 0;
    if (it == present_.end()) {
        code = kErrorFileNotFound;
    } else if ((access == platform::Access::ReadWrite && (*it)->faults().refuseReadWrite) ||
               (access == platform::Access::None && (*it)->faults().refuseNoAccess) ||
               (*it)->takeRefusedOpen(access)) {
        code = kErrorAccessDenied;
    }
    if (error != nullptr) {
        *error = code;
    }
    if (code != 0) {
        return nullptr;
    }
    return std::make_unique<SimHandle>(*it, access);
}

void SimBackend::setChangeHandler(std::function<void()> handler) {
    changeHandler_ = std::move(handler);
}

void SimBackend::raiseChange() {
    if (changeHandler_) {
        const std::function<void()> handler = changeHandler_;
        handler();
    }
}

SimInterface& SimBackend::add(std::shared_ptr<SimInterface> iface, bool notify) {
    present_.push_back(std::move(iface));
    SimInterface& added = *present_.back();
    if (notify) {
        raiseChange();
    }
    return added;
}

SimInterface& SimBackend::plugUnit(Model model, bool notify) {
    const int n = nextPath_++;
    const platform::Attributes attributes{unit::kVendorId, unit::kProductId, 0x0200};
    std::u16string product(unit::modelIdentity(model).productString);
    return add(std::make_shared<SimInterface>("sim:hidraw" + std::to_string(n), nextId_++,
                                              attributes, std::move(product),
                                              std::make_unique<SimUnit>(model, SerialNumber(n))),
               notify);
}

SimInterface& SimBackend::plugDevice(std::uint16_t vendorId, std::uint16_t productId,
                                     std::u16string product, bool notify) {
    const int n = nextPath_++;
    platform::Attributes attributes{vendorId, productId, 0x0100};
    auto iface = std::make_shared<SimInterface>("sim:hidraw" + std::to_string(n), nextId_++,
                                                attributes, std::move(product), nullptr);
    iface->reportLengths = {9, 2};
    return add(std::move(iface), notify);
}

void SimBackend::unplug(const std::string& path, bool notify) {
    const auto it = std::find_if(present_.begin(), present_.end(),
                                 [&](const auto& iface) { return iface->path() == path; });
    if (it == present_.end()) {
        return;
    }
    (*it)->unplug();
    present_.erase(it);
    if (notify) {
        raiseChange();
    }
}

int SimBackend::count() const {
    return static_cast<int>(present_.size());
}

SimInterface& SimBackend::interface(int index) {
    return *present_.at(static_cast<std::size_t>(index));
}

SimInterface* SimBackend::find(const std::string& path) {
    const auto it = std::find_if(present_.begin(), present_.end(),
                                 [&](const auto& iface) { return iface->path() == path; });
    return it == present_.end() ? nullptr : it->get();
}

}  // namespace quillo::sim
