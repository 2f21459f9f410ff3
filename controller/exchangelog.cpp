#include "exchangelog.h"

#include <QList>

namespace {

QList<ExchangeLog::Subscription *> &subscriptions()
{
    static QList<ExchangeLog::Subscription *> list;
    return list;
}

} // namespace

ExchangeLog::Subscription::Subscription(Subscriber subscriber)
    : m_subscriber(std::move(subscriber))
{
    subscriptions().append(this);
}

ExchangeLog::Subscription::~Subscription()
{
    subscriptions().removeOne(this);
}

bool ExchangeLog::hasSubscribers()
{
    return !subscriptions().isEmpty();
}

void ExchangeLog::publish(const ExchangeRecord &record)
{
    // A copy: a subscriber may end its own subscription, or another's, as it
    // hears of the record.
    const QList<Subscription *> current = subscriptions();
    for (Subscription *subscription : current) {
        if (subscriptions().contains(subscription))
            subscription->m_subscriber(record);
    }
}
