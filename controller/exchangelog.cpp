#include "exchangelog.h"

#include "tracewords.h"

#include <QDebug>
#include <QList>
#include <QMutexLocker>
#include <QRecursiveMutex>
#include <QThread>

namespace {

// Recursive: a subscriber may end its own subscription, or another's, as it
// hears of a record on the publishing thread.
QRecursiveMutex &lock()
{
    static QRecursiveMutex mutex;
    return mutex;
}

QList<ExchangeLog::Subscription *> &subscriptions()
{
    static QList<ExchangeLog::Subscription *> list;
    return list;
}

thread_local std::optional<ApproachLeg> approachNow;

} // namespace

ExchangeLog::ApproachScope::ApproachScope(const ApproachLeg &leg)
{
    approachNow = leg;
    ExchangeRecord record;
    record.approach = leg;
    qInfo().noquote() << TraceWords::approachLeg << record.approachText();
}

ExchangeLog::ApproachScope::~ApproachScope()
{
    approachNow.reset();
}

std::optional<ApproachLeg> ExchangeLog::currentApproach()
{
    return approachNow;
}

ExchangeLog::Subscription::Subscription(Subscriber subscriber)
    : m_subscriber(std::move(subscriber))
{
    const QMutexLocker locker(&lock());
    subscriptions().append(this);
}

ExchangeLog::Subscription::~Subscription()
{
    const QMutexLocker locker(&lock());
    subscriptions().removeOne(this);
}

bool ExchangeLog::hasSubscribers()
{
    const QMutexLocker locker(&lock());
    return !subscriptions().isEmpty();
}

void ExchangeLog::publish(const ExchangeRecord &record)
{
    const QMutexLocker locker(&lock());
    const QList<Subscription *> current = subscriptions();
    for (Subscription *subscription : current) {
        if (!subscriptions().contains(subscription))
            continue;
        if (subscription->m_context.thread() == QThread::currentThread()) {
            subscription->m_subscriber(record);
            continue;
        }
        QMetaObject::invokeMethod(&subscription->m_context,
                                  [subscriber = subscription->m_subscriber, record] { subscriber(record); },
                                  Qt::QueuedConnection);
    }
}
