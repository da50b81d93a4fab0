#pragma once

#include <QObject>

class QSocketNotifier;

namespace quorel {

// Turns SIGTERM, SIGINT and SIGHUP (log-out, Ctrl-C, kill) into a Qt signal delivered on the
// event loop, so they can run the ordinary shut-down instead of killing the program mid-way. The
// process ends 3 seconds after such a signal if the shut-down has not ended it by then.
class UnixSignals final : public QObject {
    Q_OBJECT

  public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;

  signals:
    void terminationRequested();

  private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace quorel
