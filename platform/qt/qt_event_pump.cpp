#include "platform/qt/qt_event_pump.h"

#include <QCoreApplication>

namespace quorel {

void QtEventPump::yield() {
    if (!stopped_) {
        QCoreApplication::processEvents();
    }
}

} // namespace quorel
