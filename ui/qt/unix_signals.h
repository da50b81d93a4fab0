#pragma once

#include "platform/posix/ending_signals.h"

#include <QObject>

class QSocketNotifier;

namespace quorel {

// The ending signals (see EndingSignalPipe: log-out, Ctrl-C, kill, with the 3-second deadline of
// the shut-down they ask for) as a Qt signal delivered on the event loop, once per signal.
class UnixSignals final : public QObject {
    Q_OBJECT

  public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;

  signals:
    void terminationRequested();

  private:
    EndingSignalPipe pipe_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace quorel
