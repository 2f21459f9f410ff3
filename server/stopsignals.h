#ifndef STOPSIGNALS_H
#define STOPSIGNALS_H

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGINT (on Windows: Ctrl+C, a closed console, a shutdown) as a
// Qt signal on the thread that made the object, so that the server stops its
// motors before it goes. One at a time.
class StopSignals : public QObject
{
    Q_OBJECT

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

signals:
    void received();

private:
    QSocketNotifier *m_notifier = nullptr;
};

#endif // STOPSIGNALS_H
