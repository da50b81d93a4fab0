#include "ui/qt/unix_signals.h"

#include <QSocketNotifier>

namespace quorel {

UnixSignals::UnixSignals(QObject* parent) : QObject(parent) {
    if (pipe_.readEnd() < 0) {
        return;
    }
    notifier_ = new QSocketNotifier(pipe_.readEnd(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        if (pipe_.take(1) == 1) {
            emit terminationRequested();
        }
    });
}

// The notifier goes before the pipe it watches.
UnixSignals::~UnixSignals() {
    delete notifier_;
    notifier_ = nullptr;
}

} // namespace quorel
