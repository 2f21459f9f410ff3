#ifndef EXCHANGELOG_H
#define EXCHANGELOG_H

#include "exchangerecord.h"

#include <QObject>

#include <functional>
#include <optional>

// Where the record of each exchange with a board goes: to whoever has
// subscribed, such as a window that shows the traffic. With no subscriber the
// transactions build no records at all. A subscriber hears of a record on
// its own thread: at once when the driver runs there, otherwise through that
// thread's event loop.
namespace ExchangeLog {

using Subscriber = std::function<void(const ExchangeRecord &record)>;

// While it exists, its subscriber hears of every exchange as it ends.
class Subscription
{
public:
    explicit Subscription(Subscriber subscriber);
    ~Subscription();
    Subscription(const Subscription &) = delete;
    Subscription &operator=(const Subscription &) = delete;

private:
    friend void publish(const ExchangeRecord &record);
    Subscriber m_subscriber;
    // Of the subscriber's thread, which records from other threads are
    // posted to; gone with the subscription, and what was posted with it.
    QObject m_context;
};

// While it exists, the exchanges made on its thread are the leg of an
// approach, for their records and the trace.
class ApproachScope
{
public:
    explicit ApproachScope(const ApproachLeg &leg);
    ~ApproachScope();
    ApproachScope(const ApproachScope &) = delete;
    ApproachScope &operator=(const ApproachScope &) = delete;
};

// The leg the exchanges of this thread are part of now.
std::optional<ApproachLeg> currentApproach();

bool hasSubscribers();

// Hands record to every subscriber, in the order they subscribed.
void publish(const ExchangeRecord &record);

} // namespace ExchangeLog

#endif // EXCHANGELOG_H
