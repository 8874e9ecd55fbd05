#pragma once

#include <QObject>

class QSocketNotifier;

namespace norvelle {

// Turns SIGTERM and SIGINT into a Qt signal on the main thread (through a self-pipe, the only
// thing safe to do inside the handler), so the program can shut down in order.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // Call first thing in main: holds SIGTERM and SIGINT back (pending, not lost) until a
    // TerminationSignals exists, so a signal during start-up still ends the program in order.
    static void holdUntilHandled();

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace norvelle
