// Sending to the current unit: every command of the window goes through here.

#include <QThread>

#include "protocol/send_command.h"
#include "ui/form1.h"
#include "ui/hid_report_device.h"

namespace quillo::ui {

void Form1::SendCommand(protocol::CommandCode code, const protocol::Payload& payload) const {
    if (CurrentDevice == nullptr) {
        return;  // no unit chosen: nothing is sent, silently
    }
    HidReportDevice device(*CurrentDevice);
    protocol::SendCommand(&device, code, payload);
}

void Form1::Pause(std::chrono::milliseconds duration) const {
    if (Sleep) {
        Sleep(duration);
    } else {
        // A blocking pause: reports and timer ticks wait until the handler returns.
        QThread::msleep(static_cast<unsigned long>(duration.count()));
    }
}

void Form1::RunSequence(const protocol::Sequence& sequence) const {
    for (const protocol::Step& step : sequence) {
        if (step.kind == protocol::Step::Kind::Send) {
            SendCommand(step.code, step.payload);
        } else {
            Pause(step.pause);
        }
    }
}

}  // namespace quillo::ui
