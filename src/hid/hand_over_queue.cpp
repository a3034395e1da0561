#include "hid/hand_over_queue.h"

#include <QCoreApplication>
#include <QPointer>

namespace quillo::hid {

HandOverQueue* HandOverQueue::Instance() {
    static QPointer<HandOverQueue> instance;
    if (instance.isNull()) {
        instance = new HandOverQueue(QCoreApplication::instance());
    }
    return instance.data();
}

void HandOverQueue::Post(std::function<void()> serve) {
    // The call is posted under the lock that Drain takes, so everything the posting thread did
    // (the event's allocation included) happens before the main thread frees the event; this
    // also makes the hand-off visible to ThreadSanitizer.
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(serve));
    QMetaObject::invokeMethod(this, "Drain", Qt::QueuedConnection);
}

void HandOverQueue::Drain() {
    // One at a time: a handler may run a nested event loop that drains further entries.
    for (;;) {
        std::function<void()> serve;
        {
            std::lock_guard lock(mutex_);
            if (pending_.empty()) {
                return;
            }
            serve = std::move(pending_.front());
            pending_.pop_front();
        }
        serve();
    }
}

}  // namespace quillo::hid
