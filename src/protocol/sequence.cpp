#include "protocol/sequence.h"

#include "protocol/send_command.h"

namespace quillo::protocol {

void runSequence(ReportDevice* device, const Sequence& sequence, const SleepFunction& sleep) {
    for (const Step& step : sequence) {
        if (step.kind == Step::Kind::Send) {
            SendCommand(device, step.code, step.payload);
        } else if (sleep) {
            sleep(step.pause);
        }
    }
}

}  // namespace quillo::protocol
