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

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace norvelle
