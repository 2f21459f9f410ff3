#include "lensdbench.h"

#include "boardsimulator.h"
#include "controller_tavro.h"
#include "exchangelog.h"
#include "httpfront.h"
#include "lensservice.h"
#include "oscfront.h"
#include "portkeeper.h"
#include "tavroboard.h"
#include "tavroframes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

#include <sys/resource.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

constexpr int firstPosition = 3000;

void waitUntil(const std::function<bool()> &done, int timeoutMs = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toDouble() * 4;
}

} // namespace

QList<Figure> benchLensd(int runs, std::chrono::microseconds reaction)
{
    BoardSimulator sim{std::make_unique<TavroBoard>()};
    LineDelivery delivery;
    delivery.reaction = reaction;
    sim.setLineDelivery(delivery);
    LensService service(BoardType::Tavro, sim.portName());
    HttpFront http(service, BoardType::Tavro, {});
    const quint16 httpPort = http.listen(QHostAddress::LocalHost, 0);
    OscFront osc(service, BoardType::Tavro, {});
    QString error;
    osc.listen(QHostAddress::LocalHost, 0, &error);
    service.start(false);
    waitUntil([&] { return service.isIdle(); });

    // From the client's send to the end of the goto's exchange.
    QElapsedTimer clock;
    double endedMs = -1;
    ExchangeLog::Subscription exchanges([&](const ExchangeRecord &record) {
        if (endedMs < 0 && record.frame.size() > 1 && quint8(record.frame.at(1)) == TavroFrames::SetZoomPosition)
            endedMs = double(clock.nsecsElapsed()) / 1e6;
    });
    // The same exchange as the tool makes it, timed to the same point and in
    // turn with the server's, so that both see the same load.
    ControllerTavro tool(sim.portName());
    QUdpSocket oscClient;
    QTcpSocket httpClient;
    httpClient.connectToHost(QHostAddress::LocalHost, httpPort);
    httpClient.waitForConnected(2000);
    const auto timeRequests = [&](const QString &name, const std::function<void(int)> &send) {
        Figure figure{name, QStringLiteral("ms")};
        QList<double> samples;
        QList<double> toolSamples;
        for (int run = 0; run < runs; ++run) {
            // Each exchange starts on a closed port, as the tool's first one
            // does: the server's closes once it has gone unused for its idle
            // time, the tool's driver's is closed here.
            QElapsedTimer unused;
            unused.start();
            waitUntil([&] { return unused.hasExpired(PortKeeper::idleMs + 50); });
            endedMs = -1;
            clock.start();
            tool.setZoomPosition(firstPosition + run % 2);
            toolSamples << endedMs;
            waitUntil([&] { return service.isIdle(); });
            PortKeeper::closeIdleOnThisThread();
            endedMs = -1;
            clock.start();
            send(firstPosition + run % 2);
            waitUntil([&] { return endedMs >= 0 && service.isIdle(); });
            figure.valid = figure.valid && endedMs >= 0;
            samples << endedMs;
            httpClient.readAll();
        }
        figure.runs = int(samples.size());
        figure.median = median(samples);
        figure.floor = median(toolSamples);
        return figure;
    };
    QList<Figure> figures;
    figures << timeRequests(QStringLiteral("OSC /lens/zoom/goto to its exchange"), [&](int position) {
        oscClient.writeDatagram(OscFront::message("/lens/zoom/goto", {position}), QHostAddress::LocalHost,
                                osc.port());
    });
    figures << timeRequests(QStringLiteral("HTTP POST /v1/zoom/goto to its exchange"), [&](int position) {
        const QByteArray body = "{\"position\":" + QByteArray::number(position) + '}';
        httpClient.write("POST /v1/zoom/goto HTTP/1.1\r\nHost: bench\r\nContent-Length: "
                         + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        httpClient.flush();
    });

    // 200 gotos a second for ten seconds: what stays behind, and the newest
    // carried out.
    // The sender is a thread of its own, as a control surface is a program of
    // its own: it goes on sending while the server waits for the board.
    const double residentBefore = residentKiB();
    const quint16 oscPort = osc.port();
    std::atomic<bool> streaming{true};
    int sent = 0;
    int last = 0;
    std::thread sender([&] {
        QUdpSocket socket;
        QElapsedTimer stream;
        stream.start();
        while (stream.elapsed() < 10000) {
            last = 1000 + (sent * 37) % 5000;
            socket.writeDatagram(OscFront::message("/lens/zoom/goto", {last}), QHostAddress::LocalHost, oscPort);
            ++sent;
            std::this_thread::sleep_until(std::chrono::steady_clock::now()
                                          + std::chrono::milliseconds(5 * sent - stream.elapsed()));
        }
        streaming = false;
    });
    while (streaming)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    sender.join();
    waitUntil([&] { return service.isIdle(); }, 20000);
    Figure growth{QStringLiteral("200 OSC gotos/s for 10 s: resident growth"), QStringLiteral("KiB"), sent,
                  residentKiB() - residentBefore, 0};
    growth.valid = service.isIdle() && service.status().value(QLatin1String("zoom")).toInt() == last;
    figures << growth;

    // Nobody sends and nothing moves.
    const double cpuBefore = cpuMs();
    QEventLoop idle;
    QTimer::singleShot(2000, &idle, &QEventLoop::quit);
    idle.exec();
    figures << Figure{QStringLiteral("idle for 2 s: CPU time"), QStringLiteral("ms"), 1, cpuMs() - cpuBefore, 0};
    return figures;
}
