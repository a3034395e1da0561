#pragma once

// Carries readers' hand-overs to the main thread. A reader queues its hand-over state here and
// asks the main thread, through a queued call by name, to drain the queue. The data passes only
// through this queue's mutex, never through the event, so the hand-over needs no guarantee from
// the event system beyond "the call runs on the main thread".

#include <QObject>
#include <deque>
#include <functional>
#include <mutex>

namespace quillo::hid {

class HandOverQueue : public QObject {
    Q_OBJECT

public:
    // The queue of this process; created on first use, which must be on the main thread.
    static HandOverQueue* Instance();

    // Any thread: runs `serve` on the main thread soon (in its event loop, also a nested one).
    void Post(std::function<void()> serve);

private:
    using QObject::QObject;
    Q_INVOKABLE void Drain();

    std::mutex mutex_;
    std::deque<std::function<void()>> pending_;
};

}  // namespace quillo::hid
