// Sending to the current unit: every command of the window goes through here.

#include <QThread>

#include "protocol/send_command.h"
#include "ui/form1.h"
#include "unit_model/hid_report_device.h"

namespace quillo::ui {

// Not const: it acts on the unit the window stands for.
// NOLINTNEXTLINE(readability-make-member-function-const)
protocol::SendResult Form1::SendCommand(protocol::CommandCode code,
                                        const protocol::Payload& payload) {
    if (CurrentDevice == nullptr) {
        return {};  // no unit chosen: nothing is sent, silently
    }
    model::HidReportDevice device(*CurrentDevice);
    // Taken before the write: its answer may come before the write call has returned.
    const protocol::WriteGenerations::Clock::time_point sending =
        protocol::WriteGenerations::Clock::now();
    const protocol::SendResult sent = protocol::SendCommand(&device, code, payload);
    // Only a request that went out gets an answer, and only a write that reached the unit can
    // have changed its value.
    if (code == protocol::Code_Read) {
        if (!payload.empty() && sent.whole()) {
            generations_.requested(static_cast<protocol::CommandCode>(payload.front() & 0xFF),
                                   sending);
        }
    } else if (sent.reached()) {
        generations_.written(code);
    }
    return sent;
}

// Not const: it acts on the unit the window stands for.
// NOLINTNEXTLINE(readability-make-member-function-const)
void Form1::Pause(std::chrono::milliseconds duration) {
    if (Sleep) {
        Sleep(duration);
    } else {
        // A blocking pause: reports and timer ticks wait until the handler returns.
        QThread::msleep(static_cast<unsigned long>(duration.count()));
    }
}

void Form1::RunSequence(const protocol::Sequence& sequence) {
    for (const protocol::Step& step : sequence) {
        if (step.kind == protocol::Step::Kind::Send) {
            SendCommand(step.code, step.payload);
        } else {
            Pause(step.pause);
        }
    }
}

}  // namespace quillo::ui
