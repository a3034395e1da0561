#include "cli/unit_link.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <iterator>
#include <map>
#include <span>

#include "cli/console.h"
#include "hid/hid_device.h"
#include "protocol/input_report.h"
#include "protocol/payload.h"
#include "protocol/read_chain.h"
#include "protocol/send_command.h"
#include "protocol/unit_contract.h"
#include "protocol/write_sequences.h"
#include "unit_model/hid_report_device.h"

namespace quillo::cli {

namespace {

// How often a wait looks at the interruption flag.
constexpr int kInterruptPollMs = 20;

}  // namespace

UnitLink::UnitLink(hid::HidDevice& device, std::chrono::milliseconds timeout)
    : device_(device), timeout_(timeout) {
    device_.SetOnData([this](hid::HidDevice* dev, std::uint8_t /*reportId*/,
                             const std::uint8_t* data, std::uint16_t size) {
        // Never past the device's input report, whatever the size claims.
        const std::size_t length = dev->Caps().InputReportByteLength;
        const std::size_t capacity = length > 1 ? length - 1 : size;
        const std::size_t taken = std::min<std::size_t>(size, capacity);
        inbox_.emplace_back(data, data + taken);
        if (waiting_ != nullptr) {
            waiting_->quit();
        }
    });
}

UnitLink::~UnitLink() {
    device_.SetOnData({});
}

std::size_t UnitLink::outputReportLength() const {
    return device_.Caps().OutputReportByteLength;
}

bool UnitLink::pluggedIn() const {
    return device_.IsPluggedIn();
}

bool UnitLink::Run(const protocol::Sequence& steps) {
    model::HidReportDevice writer(device_);
    return protocol::runSequence(&writer, steps, [](std::chrono::milliseconds pause) {
        QThread::msleep(static_cast<unsigned long>(pause.count()));
    });
}

bool UnitLink::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start(kInterruptPollMs);
    waiting_ = &loop;
    bool reached = done();
    // An unplugged unit answers nothing more: its wait ends at once, not at the time-out.
    while (!reached && !Interrupted() && device_.IsPluggedIn() && clock.elapsed() < limit.count()) {
        loop.exec();
        reached = done();
    }
    waiting_ = nullptr;
    return reached;
}

std::optional<UnitLink::Report> UnitLink::Ask(protocol::CommandCode code) {
    inbox_.clear();  // an answer to an earlier question is no answer to this one
    model::HidReportDevice writer(device_);
    lastRequestWentOut_ =
        protocol::SendCommand(&writer, protocol::Code_Read, protocol::bytePayload(code)).whole();
    // Waited for all the same: a write that says it failed may still have reached the unit.
    std::optional<Report> answer;
    WaitUntil(
        [&] {
            while (!inbox_.empty()) {
                Report report = std::move(inbox_.front());
                inbox_.pop_front();
                if (!report.empty() && report[0] == code) {
                    answer = std::move(report);
                    return true;
                }
            }
            return false;
        },
        timeout_);
    return answer;
}

std::optional<UnitValues> UnitLink::ReadSettings(protocol::CommandCode& missing) {
    UnitValues values;
    for (const protocol::CommandCode code : protocol::kReadChain) {
        std::optional<Report> answer = Ask(code);
        if (!answer) {
            missing = code;
            return std::nullopt;
        }
        values[code] = std::move(*answer);
        QThread::msleep(static_cast<unsigned long>(protocol::kReadChainPause.count()));
    }
    return values;
}

std::optional<UnitStates> UnitLink::States(protocol::CommandCode& missing) {
    // The window's status poll, with the filter page shown, then its three answers. A request
    // that did not go out shows as its missing answer.
    static_cast<void>(Run(protocol::statusPollSequence(true)));
    std::map<protocol::CommandCode, Report> answers;
    const protocol::CommandCode codes[] = {protocol::Code_Wi_Fi_state, protocol::Code_Master_state,
                                           protocol::Code_Filter_timer};
    Listen(timeout_, [&](const Report& report) {
        const auto code = static_cast<protocol::CommandCode>(report.empty() ? 0 : report[0]);
        if (std::find(std::begin(codes), std::end(codes), code) != std::end(codes)) {
            answers[code] = report;
        }
        return answers.size() < std::size(codes);
    });
    for (const protocol::CommandCode code : codes) {
        if (answers.count(code) == 0) {
            missing = code;
            return std::nullopt;
        }
    }
    const auto answer = [&](protocol::CommandCode code) {
        return protocol::InputReport(std::span<const std::uint8_t>(answers[code]));
    };
    UnitStates states;
    states.wifiConnected =
        answer(protocol::Code_Wi_Fi_state).byteValue() != protocol::unit::kDisconnected;
    states.masterConnected =
        answer(protocol::Code_Master_state).byteValue() != protocol::unit::kDisconnected;
    states.filterSeconds = answer(protocol::Code_Filter_timer).seconds();
    return states;
}

void UnitLink::Listen(std::chrono::milliseconds duration,
                      const std::function<bool(const Report&)>& onReport) {
    bool more = true;
    WaitUntil(
        [&] {
            while (more && !inbox_.empty()) {
                Report report = std::move(inbox_.front());
                inbox_.pop_front();
                more = onReport(report);
            }
            return !more;
        },
        duration);
}

QString ParameterName(protocol::CommandCode code) {
    switch (code) {
        case protocol::Code_Device_mode:
            return QStringLiteral("device mode");
        case protocol::Code_Connection_type:
            return QStringLiteral("connection type");
        case protocol::Code_Wi_Fi_name:
            return QStringLiteral("Wi-Fi name");
        case protocol::Code_Wi_Fi_password:
            return QStringLiteral("Wi-Fi password");
        case protocol::Code_Slave_number:
            return QStringLiteral("slave number");
        case protocol::Code_Slave_IP_mode:
            return QStringLiteral("slave IP mode");
        case protocol::Code_Slave_IP:
            return QStringLiteral("slave IP address");
        case protocol::Code_Master_IP:
            return QStringLiteral("master IP address");
        case protocol::Code_Wi_Fi_channel:
            return QStringLiteral("Wi-Fi channel");
        case protocol::Code_Wi_Fi_security:
            return QStringLiteral("type of security");
        case protocol::Code_Off_available:
            return QStringLiteral("available OFF device");
        case protocol::Code_Direction:
            return QStringLiteral("direction");
        case protocol::Code_Humidity_sensor:
            return QStringLiteral("humidity sensor");
        case protocol::Code_Relay_sensor:
            return QStringLiteral("relay sensor");
        case protocol::Code_Voltage_sensor:
            return QStringLiteral("0 - 10V sensor");
        case protocol::Code_Humidity_threshold:
            return QStringLiteral("humidity threshold");
        case protocol::Code_Voltage_threshold:
            return QStringLiteral("0 - 10V sensor threshold");
        case protocol::Code_Off_delay_timer:
            return QStringLiteral("turn-off delay timer");
        case protocol::Code_Night_timer:
            return QStringLiteral("night mode timer");
        case protocol::Code_Party_timer:
            return QStringLiteral("party mode timer");
        case protocol::Code_Humidity_scenario:
            return QStringLiteral("humidity control scenario");
        case protocol::Code_Gateway:
            return QStringLiteral("default gateway");
        case protocol::Code_Serial_number:
            return QStringLiteral("serial number");
        case protocol::Code_Wi_Fi_state:
            return QStringLiteral("Wi-Fi state");
        case protocol::Code_Master_state:
            return QStringLiteral("master state");
        case protocol::Code_Filter_timer:
            return QStringLiteral("filter run time");
        default:
            return QStringLiteral("code %1").arg(static_cast<int>(code));
    }
}

}  // namespace quillo::cli
