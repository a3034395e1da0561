#include "protocol/sequence.h"

#include "protocol/send_command.h"

namespace quillo::protocol {

bool runSequence(ReportDevice* device, const Sequence& sequence, const SleepFunction& sleep) {
    bool whole = true;
    for (const Step& step : sequence) {
        if (step.kind == Step::Kind::Send) {
            whole = SendCommand(device, step.code, step.payload).whole() && whole;
        } else if (sleep) {
            sleep(step.pause);
        }
    }
    return whole;
}

}  // namespace quillo::protocol
