// tavro-lensd over loopback against the simulated boards (HTTP, OSC and
// VISCA over IP): the server runs
// in-process with the real drivers, and as the program itself where signals
// and refusals at start are concerned.

#include "boardsimulator.h"
#include "driversetup.h"
#include "exchangelog.h"
#include "freedoutput.h"
#include "controller_tavro.h"
#include "controller_usm.h"
#include "httpfront.h"
#include "lensprofile.h"
#include "lensservice.h"
#include "loopbackreceiver.h"
#include "oscfront.h"
#include "pellanboard.h"
#include "tavroboard.h"
#include "tavroframes.h"
#include "viscafront.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkDatagram>
#include <QNetworkReply>
#include <QProcess>
#include <QRandomGenerator>
#include <QUdpSocket>
#include <QWebSocket>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <memory>

namespace {

constexpr LinkTimeouts kLimits{1000, 500, 500};
const QString kAbsentPort = QStringLiteral("/nonexistent/ttyLENSD");
const QString kTavroProfile = QStringLiteral(TAVRO_PROFILES "/tavro-18x.json");
// How long a VISCA sender's run goes on once it is silent.
constexpr int kViscaHoldMs = 1000;

struct Answer
{
    int status;
    QJsonObject body;
};

quint32 field24(const QByteArray &packet, int at)
{
    return quint32(quint8(packet[at])) << 16 | quint32(quint8(packet[at + 1])) << 8 | quint8(packet[at + 2]);
}

} // namespace

class TestLensd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void holds_data();
    void holds();
    void requests_data();
    void requests();
    void units_data();
    void units();
    void visca_data();
    void visca();
    void viscaRandomDatagrams();
    void silentBoardRecovers();
    void liveFeeds_data();
    void liveFeeds();
    void liveFeedAccess_data();
    void liveFeedAccess();
    void sharedWithTheTool();
    void freedOutput_data();
    void freedOutput();
    void program_data();
    void program();

private:
    void startServer(const QString &board, const QString &port = {}, const QByteArray &token = {},
                     const QString &profile = {});
    Answer http(const QByteArray &method, const QString &path, const QByteArray &body = {},
                const QByteArray &token = {});
    void osc(const char *path, const QVariantList &arguments = {});
    void visca(const QByteArray &datagram);
    // Running motors joined by commas.
    QString statusOf(const char *key)
    {
        const QVariant value = m_service->status().value(QLatin1String(key)).toVariant();
        return value.typeId() == QMetaType::QVariantList ? value.toStringList().join(QLatin1Char(',')) : value.toString();
    }

    std::unique_ptr<DriverSetup> m_setup;
    std::unique_ptr<BoardSimulator> m_sim;
    std::unique_ptr<LensService> m_service;
    std::unique_ptr<HttpFront> m_http;
    std::unique_ptr<OscFront> m_osc;
    std::unique_ptr<ViscaFront> m_visca;
    quint16 m_httpPort = 0;
    QUdpSocket m_client;
    QNetworkAccessManager m_network;
};

void TestLensd::init()
{
    m_setup = std::make_unique<DriverSetup>(kLimits, kLimits);
    QVERIFY(m_client.bind(QHostAddress::LocalHost, 0));
}

void TestLensd::cleanup()
{
    m_visca.reset();
    m_osc.reset();
    m_http.reset();
    m_service.reset();
    m_sim.reset();
    m_setup.reset();
    // A test's handler of the client's datagrams writes to that test's locals.
    disconnect(&m_client, nullptr, this, nullptr);
    m_client.close();
}

void TestLensd::startServer(const QString &board, const QString &port, const QByteArray &token,
                            const QString &profile)
{
    const bool pellan = board == QLatin1String("pellan");
    if (port.isEmpty()) {
        m_sim = pellan ? std::make_unique<BoardSimulator>(std::make_unique<PellanBoard>())
                       : std::make_unique<BoardSimulator>(std::make_unique<TavroBoard>());
        QVERIFY2(m_sim->isOpen(), qPrintable(m_sim->errorString()));
    }
    const QString name = port.isEmpty() ? m_sim->portName() : port;
    const BoardType type = pellan ? BoardType::Pellan : BoardType::Tavro;
    m_service = std::make_unique<LensService>(
        type, name, profile.isEmpty() ? std::nullopt : LensProfile::readFile(profile).profile);
    m_http = std::make_unique<HttpFront>(*m_service, type, token);
    m_httpPort = m_http->listen(QHostAddress::LocalHost, 0);
    QVERIFY(m_httpPort != 0);
    m_osc = std::make_unique<OscFront>(*m_service, type, QList<QHostAddress>{});
    QString error;
    QVERIFY2(m_osc->listen(QHostAddress::LocalHost, 0, &error), qPrintable(error));
    m_visca = std::make_unique<ViscaFront>(*m_service, type, QList<QHostAddress>{}, kViscaHoldMs);
    QVERIFY2(m_visca->listen(QHostAddress::LocalHost, 0, &error), qPrintable(error));
    m_service->start(false);
    QTRY_VERIFY(m_service->isIdle());
}

Answer TestLensd::http(const QByteArray &method, const QString &path, const QByteArray &body,
                       const QByteArray &token)
{
    QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_httpPort).arg(path)));
    if (!token.isEmpty())
        request.setRawHeader("Authorization", "Bearer " + token);
    std::unique_ptr<QNetworkReply> reply(m_network.sendCustomRequest(request, method, body));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    if (!finished.wait(15000))
        return {-1, {}};
    return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
            QJsonDocument::fromJson(reply->readAll()).object()};
}

void TestLensd::osc(const char *path, const QVariantList &arguments)
{
    m_client.writeDatagram(OscFront::message(path, arguments), QHostAddress::LocalHost, m_osc->port());
}

void TestLensd::visca(const QByteArray &datagram)
{
    m_client.writeDatagram(datagram, QHostAddress::LocalHost, m_visca->port());
}

// A run sent once stops by itself after its hold; one repeated within the hold
// goes on as one run, and stops within the hold after the last repeat. Over
// VISCA any message holds it: a joystick polls the positions.
void TestLensd::holds_data()
{
    QTest::addColumn<QString>("via");
    QTest::addColumn<int>("repeats");
    QTest::addColumn<int>("holdMs");

    QTest::newRow("http once") << "http" << 0 << 500;
    QTest::newRow("osc once") << "osc" << 0 << 500;
    QTest::newRow("osc every 200 ms") << "osc" << 6 << 500;
    QTest::newRow("http every 200 ms, held 300") << "http" << 6 << 300;
    QTest::newRow("visca, inquiries every 200 ms") << "visca" << 7 << kViscaHoldMs;
}

void TestLensd::holds()
{
    QFETCH(QString, via);
    QFETCH(int, repeats);
    QFETCH(int, holdMs);
    startServer(QStringLiteral("tavro"));
    QElapsedTimer clock;
    qint64 stoppedAt = -1;
    int runs = 0;
    const QByteArray tele = TavroFrames::encode(TavroFrames::FrameKind::ZoomTele);
    const QByteArray stop = TavroFrames::encode(TavroFrames::FrameKind::ZoomStop);
    ExchangeLog::Subscription exchanges([&](const ExchangeRecord &record) {
        runs += record.frame == tele;
        if (record.frame == stop && stoppedAt < 0)
            stoppedAt = clock.elapsed();
    });
    const QByteArray body = QStringLiteral(R"({"direction":"tele","hold_ms":%1})").arg(holdMs).toUtf8();
    for (int i = 0; i <= repeats; ++i) {
        if (i > 0)
            QTest::qWait(200);
        clock.start();
        if (via == QLatin1String("visca"))
            visca(QByteArray::fromHex(i == 0 ? "81 01 04 07 27 FF" : "81 09 04 47 FF"));
        else if (via == QLatin1String("osc"))
            osc("/lens/zoom/run", {1});
        else
            QCOMPARE(http("POST", QStringLiteral("/v1/zoom/run"), body).status, 200);
        QVERIFY2(stoppedAt < 0, "stopped while the run was repeated");
    }
    QTRY_VERIFY_WITH_TIMEOUT(stoppedAt >= 0, 3000);
    QCOMPARE(runs, 1);
    QVERIFY2(stoppedAt >= holdMs - 50 && stoppedAt <= holdMs + 300, qPrintable(QString::number(stoppedAt)));
    QTRY_VERIFY(m_service->isIdle());
    QCOMPARE(statusOf("running"), QString());
}

// What a client gets for each request, on a board that answers and on one
// that does not.
void TestLensd::requests_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    // The error's text, with PORT for the port; or "key=value" in the status.
    QTest::addColumn<QString>("answer");

    const auto row = [](const char *name, const char *board, SimFault fault, const char *path, const char *body,
                        int status, const char *answer, const char *token = "", const char *sent = "") {
        QTest::newRow(name) << QString::fromLatin1(board) << int(fault) << QByteArray(token) << QByteArray(sent)
                            << QString::fromLatin1(path) << QByteArray(body) << status << QString::fromLatin1(answer);
    };
    row("goto 3000", "tavro", SimFault::None, "/v1/zoom/goto", R"({"position":3000})", 200, "zoom=3000");
    row("goto the maximum", "tavro", SimFault::None, "/v1/iris/goto", R"({"position":5500})", 200, "iris=5500");
    row("goto beyond the maximum", "tavro", SimFault::None, "/v1/zoom/goto", R"({"position":7351})", 400,
        "position must be from 0 to 7350 for the zoom");
    row("pellan focus", "pellan", SimFault::None, "/v1/focus/goto", R"({"position":100})", 200, "focus=100");
    row("tavro names its board", "tavro", SimFault::None, "/v1/refresh", "", 200, "board=tavro");
    row("pellan names its board", "pellan", SimFault::None, "/v1/refresh", "", 200, "board=pellan");
    row("silent board", "tavro", SimFault::NoReply, "/v1/refresh", "", 502,
        "no valid answer from the board on PORT");
    row("rejected", "tavro", SimFault::Rejected, "/v1/presets/3/call", "", 502,
        "the board on PORT rejected the command or did not acknowledge it");
    row("absent port", "tavro", SimFault::None, "/v1/refresh", "", 502,
        "Could not open serial port: /nonexistent/ttyLENSD (No such file or directory)");
    row("without the token", "tavro", SimFault::None, "/v1/store", "", 401, "this server needs its token", "t0k");
    row("a wrong token", "tavro", SimFault::None, "/v1/store", "", 401, "this server needs its token", "t0k", "t0K");
    row("with the token", "tavro", SimFault::None, "/v1/zoom/goto", R"({"position":10})", 200, "zoom=10", "t0k",
        "t0k");
}

void TestLensd::requests()
{
    QFETCH(QString, board);
    QFETCH(int, fault);
    QFETCH(QByteArray, token);
    QFETCH(QByteArray, sent);
    QFETCH(QString, path);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QFETCH(QString, answer);
    startServer(board, answer.contains(kAbsentPort) ? kAbsentPort : QString(), token);
    if (m_sim)
        m_sim->setFault(SimFault(fault));

    const Answer got = http("POST", path, body, sent);
    QCOMPARE(got.status, status);
    if (status != 200) {
        QCOMPARE(got.body.value(QLatin1String("error")).toString(),
                 QString(answer).replace(QLatin1String("PORT"), m_sim ? m_sim->portName() : kAbsentPort));
        return;
    }
    const QString key = answer.section(QLatin1Char('='), 0, 0);
    QTRY_COMPARE_WITH_TIMEOUT(statusOf(qPrintable(key)), answer.section(QLatin1Char('='), 1), 15000);
    QTRY_VERIFY(m_service->isIdle());
}

// Gotos in the lens's units over HTTP and OSC: each lands where the status
// reads the value back and subscribers hear it; one the profile cannot place
// is refused and moves nothing.
void TestLensd::units_data()
{
    QTest::addColumn<QString>("path"); // /v1/... by HTTP, /lens/... by OSC
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QVariantList>("arguments");
    QTest::addColumn<QString>("error"); // empty when the goto is taken
    QTest::addColumn<QString>("key");
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("heard"); // how a subscriber's datagram of it starts

    const double infinity = std::numeric_limits<double>::infinity();
    const auto row = [](const char *name, const char *path, const QByteArray &body, const QVariantList &arguments,
                        const char *error, const char *key = "", double value = 0, const QByteArray &heard = {}) {
        QTest::newRow(name) << QString::fromLatin1(path) << body << arguments << QString::fromLatin1(error)
                            << QString::fromLatin1(key) << value << heard;
    };
    const QByteArray zoomMm("/lens/zoom/mm\0\0\0,f\0\0", 20);
    const QByteArray focusInfinity("/lens/focus/m\0\0\0,I\0\0", 20);
    const char *tooLong = "outside the profile's range 6.80 to 120.00 mm for the zoom";
    row("http 50 mm", "/v1/zoom/goto", R"({"mm": 50})", {}, "", "zoomMm", 50, zoomMm);
    row("http inf m", "/v1/focus/goto", R"({"m": "inf"})", {}, "", "focusM", infinity, focusInfinity);
    row("http f/4", "/v1/iris/goto", R"({"f": 4})", {}, "", "irisF", 4, QByteArray("/lens/iris/f\0\0\0\0,f\0\0", 20));
    row("osc 50 mm", "/lens/zoom/mm", {}, {50.0}, "", "zoomMm", 50, zoomMm);
    row("osc I", "/lens/focus/m", {}, {infinity}, "", "focusM", infinity, focusInfinity);
    row("http 500 mm", "/v1/zoom/goto", R"({"mm": 500})", {}, tooLong);
    row("osc 500 mm", "/lens/zoom/mm", {}, {500.0}, tooLong);
}

void TestLensd::units()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, body);
    QFETCH(QVariantList, arguments);
    QFETCH(QString, error);
    QFETCH(QString, key);
    QFETCH(double, value);
    QFETCH(QByteArray, heard);
    startServer(QStringLiteral("tavro"), {}, {}, kTavroProfile);
    // The subscriber hears the changes and the errors of what it sends.
    QList<QByteArray> told;
    connect(&m_client, &QUdpSocket::readyRead, this, [&] {
        while (m_client.hasPendingDatagrams())
            told << m_client.receiveDatagram().data();
    });
    osc("/lens/subscribe");
    QTRY_VERIFY(!told.isEmpty());
    const int framesBefore = m_sim->frameCount();

    const bool viaHttp = path.startsWith(QLatin1String("/v1/"));
    if (viaHttp) {
        const Answer got = http("POST", path, body);
        QCOMPARE(got.body.value(QLatin1String("error")).toString(), error);
        QCOMPARE(got.status, error.isEmpty() ? 200 : 400);
    } else {
        osc(qPrintable(path), arguments);
    }
    if (!error.isEmpty()) {
        QTRY_VERIFY(viaHttp || told.contains(OscFront::message("/lens/error", {error})));
        QTest::qWait(100);
        QCOMPARE(m_sim->frameCount(), framesBefore);
        return;
    }
    const auto readsBack = [&] {
        const QJsonValue reading = m_service->status().value(key);
        return std::isinf(value) ? reading == QJsonValue("inf") : std::abs(reading.toDouble() - value) <= 0.03;
    };
    QTRY_VERIFY_WITH_TIMEOUT(m_service->isIdle() && readsBack(), 15000);
    QVERIFY(std::any_of(told.begin(), told.end(), [&](const QByteArray &datagram) { return datagram.startsWith(heard); }));
}

// What a VISCA client hears, in order, and where the lens is when the last
// reply comes: a goto's or a recall's Completion once the move has ended, a
// run's once it runs.
void TestLensd::visca_data()
{
    QTest::addColumn<QByteArray>("sent"); // datagrams in hex, split by ';'
    QTest::addColumn<QByteArray>("replies"); // in hex, split by '|'
    // key=value in the status at the last reply; empty: no frame was sent.
    QTest::addColumn<QString>("status");

    const auto row = [](const char *sent, const char *replies, const char *status) {
        QTest::newRow(sent) << QByteArray(sent) << QByteArray(replies) << QString::fromLatin1(status);
    };
    row("81 01 04 47 01 00 00 00 FF", "90 41 FF | 90 51 FF", "zoom=1838");
    row("01 00 00 09 00 00 00 05 81 01 04 48 04 00 00 00 FF",
        "01 11 00 03 00 00 00 05 90 41 FF | 01 11 00 03 00 00 00 05 90 51 FF", "focus=4000");
    row("81 01 04 4B 00 00 0F 0F FF", "90 41 FF | 90 51 FF", "iris=5500");
    row("81 01 04 47 04 00 00 00 FF; 81 01 04 47 01 00 00 00 FF; 81 01 04 4B 00 00 00 00 FF",
        "90 41 FF | 90 42 FF | 90 60 03 FF | 90 51 FF | 90 52 FF", "zoom=1838");
    row("81 01 04 07 23 FF", "90 41 FF | 90 51 FF", "running=zoom");
    row("82 01 04 3F 02 00 FF", "A0 41 FF | A0 51 FF", "zoom=0");
    row("81 09 04 4B FF", "90 50 00 00 08 00 FF", "");
    row("01 10 00 05 00 00 00 09 81 09 04 47 FF", "01 11 00 07 00 00 00 09 90 50 02 00 00 00 FF", "");
    row("02 00 00 01 00 00 00 09 01", "02 01 00 01 00 00 00 09 01", "");
    row("81 01 04 3F 01 0A FF", "90 60 41 FF", "");
    row("81 01 06 01 05 05 03 01 FF", "90 60 41 FF", "");
    row("81 01 04 07 FF", "90 60 02 FF", "");
}

void TestLensd::visca()
{
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, replies);
    QFETCH(QString, status);
    startServer(QStringLiteral("tavro"));
    const int framesBefore = m_sim->frameCount();
    QList<QByteArray> heard;
    QString statusAtLast;
    const QList<QByteArray> expected = replies.split('|');
    const QString key = status.section(QLatin1Char('='), 0, 0);
    connect(&m_client, &QUdpSocket::readyRead, this, [&] {
        while (m_client.hasPendingDatagrams())
            heard << m_client.receiveDatagram().data().toHex(' ').toUpper();
        if (heard.size() == expected.size() && !key.isEmpty())
            statusAtLast = key + QLatin1Char('=') + statusOf(qPrintable(key));
    });
    for (const QByteArray &datagram : sent.split(';'))
        visca(QByteArray::fromHex(datagram));
    QTRY_VERIFY_WITH_TIMEOUT(heard.size() >= expected.size(), 15000);
    QTest::qWait(2 * ViscaFront::standMs);
    QCOMPARE(heard.join(" | "), replies);
    if (status.isEmpty())
        QCOMPARE(m_sim->frameCount(), framesBefore);
    else
        QCOMPARE(statusAtLast, status);
    QTRY_VERIFY_WITH_TIMEOUT(m_service->isIdle(), 15000);
}

// Datagrams of random bytes, bare, in the header or neither, send no frame
// and leave the server answering.
void TestLensd::viscaRandomDatagrams()
{
    startServer(QStringLiteral("tavro"));
    const int framesBefore = m_sim->frameCount();
    QRandomGenerator random(33);
    for (int i = 0; i < 300; ++i) {
        QByteArray datagram(random.bounded(1, 25), Qt::Uninitialized);
        for (char &byte : datagram)
            byte = char(random.bounded(256));
        if (i % 3 == 0)
            datagram[0] = char(0x81);
        else if (i % 3 == 1)
            datagram.prepend(QByteArray::fromHex(i % 2 ? "0100" : "0110")
                             + QByteArray(1, '\0') + char(datagram.size()) + QByteArray(4, '\0'));
        visca(datagram);
        if (i % 30 == 0)
            QTest::qWait(20);
    }
    QTest::qWait(500);
    QCOMPARE(m_sim->frameCount(), framesBefore);
    QSignalSpy answered(&m_client, &QUdpSocket::readyRead);
    while (m_client.hasPendingDatagrams())
        m_client.receiveDatagram();
    visca(QByteArray::fromHex("81 09 04 47 FF"));
    QVERIFY(answered.wait(2000));
    QCOMPARE(m_client.receiveDatagram().data(), QByteArray::fromHex("90 50 02 00 00 00 FF"));
}

// A board silent at start: errors, then a goto once it answers, with no
// refresh in between.
void TestLensd::silentBoardRecovers()
{
    m_sim = std::make_unique<BoardSimulator>(std::make_unique<TavroBoard>());
    m_sim->setFault(SimFault::NoReply);
    startServer(QStringLiteral("tavro"), m_sim->portName());
    QVERIFY(m_service->status().value(QLatin1String("zoomMax")).isNull());
    QCOMPARE(http("POST", QStringLiteral("/v1/refresh")).status, 502);
    m_sim->clearFault();
    const Answer got = http("POST", QStringLiteral("/v1/zoom/goto"), R"({"position":1000})");
    QCOMPARE(got.status, 200);
    QCOMPARE(got.body.value(QLatin1String("zoomMax")).toInt(), 7350);
}

// A held zoom run is seen moving at five or more changes a second.
void TestLensd::liveFeeds_data()
{
    QTest::addColumn<bool>("viaOsc");
    QTest::newRow("osc subscription") << true;
    QTest::newRow("websocket") << false;
}

void TestLensd::liveFeeds()
{
    QFETCH(bool, viaOsc);
    startServer(QStringLiteral("tavro"), {}, {}, kTavroProfile);
    QStringList changes;
    QWebSocket socket;
    connect(&socket, &QWebSocket::textMessageReceived, this, [&changes](const QString &text) { changes << text; });
    connect(&m_client, &QUdpSocket::readyRead, this, [&] {
        while (m_client.hasPendingDatagrams())
            changes << QString::fromLatin1(m_client.receiveDatagram().data().constData());
    });
    if (viaOsc) {
        osc("/lens/subscribe");
    } else {
        socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/v1/live").arg(m_httpPort)));
        QTRY_COMPARE(socket.state(), QAbstractSocket::ConnectedState);
    }
    QTRY_VERIFY(!changes.isEmpty());
    changes.clear();
    QCOMPARE(http("POST", QStringLiteral("/v1/zoom/run"), R"({"direction":"wide","hold_ms":1000})").status, 200);
    QTest::qWait(1000);
    const QString position = viaOsc ? QStringLiteral("/lens/zoom/position") : QStringLiteral("\"zoom\":");
    const qsizetype moves = std::count_if(changes.begin(), changes.end(),
                                          [&](const QString &change) { return change.contains(position); });
    // The focal length comes with the counts.
    const QString focalLength = viaOsc ? QStringLiteral("/lens/zoom/mm") : QStringLiteral("\"zoomMm\":");
    QVERIFY2(moves >= 5 && changes.join(QLatin1Char(' ')).contains(focalLength),
             qPrintable(changes.join(QLatin1Char(' '))));
    QTRY_VERIFY(m_service->isIdle());
}

// A change after the whole picture reaches an OSC subscriber at the port it
// named, not the sender's, and the WebSocket of a server with a token only
// with the token, in its header or its address.
void TestLensd::liveFeedAccess_data()
{
    // "osc", "header" (the token as Authorization), or what follows /v1/live.
    QTest::addColumn<QString>("feed");
    QTest::addColumn<bool>("told");
    QTest::newRow("osc subscription to a port") << "osc" << true;
    QTest::newRow("websocket, token in the header") << "header" << true;
    QTest::newRow("websocket, token in the address") << "?token=t0k" << true;
    QTest::newRow("websocket without the token") << "" << false;
}

void TestLensd::liveFeedAccess()
{
    QFETCH(QString, feed);
    QFETCH(bool, told);
    startServer(QStringLiteral("tavro"), {}, "t0k");
    QUdpSocket subscriber;
    QVERIFY(subscriber.bind(QHostAddress::LocalHost, 0));
    QWebSocket socket;
    QStringList changes;
    connect(&socket, &QWebSocket::textMessageReceived, this, [&changes](const QString &text) { changes << text; });
    connect(&subscriber, &QUdpSocket::readyRead, this, [&] {
        while (subscriber.hasPendingDatagrams())
            changes << QString::fromLatin1(subscriber.receiveDatagram().data().constData());
    });
    QNetworkRequest live(QUrl(QStringLiteral("ws://127.0.0.1:%1/v1/live%2").arg(m_httpPort).arg(feed.startsWith('?') ? feed : "")));
    if (feed == QLatin1String("header"))
        live.setRawHeader("Authorization", "Bearer t0k");
    if (feed == QLatin1String("osc"))
        osc("/lens/subscribe", {int(subscriber.localPort())});
    else
        socket.open(live);
    // The whole picture's zoom first: an OSC picture is several datagrams.
    const QString zoom = feed == QLatin1String("osc") ? QStringLiteral("/lens/zoom/position") : QStringLiteral("\"zoom\":");
    QTRY_VERIFY(changes.join(QLatin1Char(' ')).contains(zoom)
                || socket.closeCode() == QWebSocketProtocol::CloseCodePolicyViolated);
    changes.clear();
    QCOMPARE(http("POST", QStringLiteral("/v1/zoom/goto"), R"({"position":3000})", "t0k").status, 200);
    QTRY_COMPARE_WITH_TIMEOUT(statusOf("zoom"), QStringLiteral("3000"), 15000);
    QTRY_COMPARE(changes.join(QLatin1Char(' ')).contains(zoom), told);
}

// The tool takes its turns on the port while a control surface moves the lens.
void TestLensd::sharedWithTheTool()
{
    startServer(QStringLiteral("tavro"));
    QProcess tool;
    QElapsedTimer clock;
    clock.start();
    for (int run = 0; run < 4; ++run) {
        tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tavro-lensctl"),
                   {QStringLiteral("--board"), QStringLiteral("tavro"), QStringLiteral("--port"), m_sim->portName(),
                    QStringLiteral("get")});
        while (tool.state() != QProcess::NotRunning) {
            osc("/lens/zoom/goto", {int(clock.elapsed() % 7000)});
            QTest::qWait(20);
        }
        QCOMPARE(tool.exitCode(), 0);
        QVERIFY(tool.readAllStandardOutput().startsWith("zoom "));
    }
    QTRY_VERIFY_WITH_TIMEOUT(m_service->isIdle(), 15000);
}

// The program: SIGTERM stops a held run before it exits; a public address
// needs its token.
// FreeD packets as a receiver gets them: well formed at the rate set, the
// counter going on by one, and the values those of the board, its zoom while
// it runs within one packet interval's travel of where it truly was the
// hold-back before (nine packets in ten at least: on a busy machine a read
// that comes late leaves a packet or two short).
void TestLensd::freedOutput_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<QString>("values");

    QTest::newRow("tavro scaled at 50 Hz") << "tavro" << 50.0 << 0 << "scaled";
    QTest::newRow("tavro raw at 59.94 Hz held back 40 ms") << "tavro" << 59.94 << 40 << "raw";
    QTest::newRow("tavro lens at 25 Hz") << "tavro" << 25.0 << 0 << "lens";
    QTest::newRow("pellan raw at 100 Hz, no zoom") << "pellan" << 100.0 << 0 << "raw";
}

void TestLensd::freedOutput()
{
    QFETCH(QString, board);
    QFETCH(double, rate);
    QFETCH(int, delayMs);
    QFETCH(QString, values);
    const bool tavro = board == QLatin1String("tavro");
    startServer(board, {}, {}, values == QLatin1String("lens") ? kTavroProfile : QString());
    const auto trueZoom = [this, tavro] {
        return tavro ? m_sim->withBoard<TavroBoard>([](TavroBoard &sim, qint64 now) {
            return sim.position(TavroBoard::Axis::Zoom, now);
        })
                     : 0;
    };
    LoopbackReceiver receiver(trueZoom);
    FreedSettings settings;
    settings.on = true;
    settings.targets = QStringList{QStringLiteral("127.0.0.1:%1").arg(receiver.port())};
    settings.rate = rate;
    settings.camera = 7;
    settings.delayMs = delayMs;
    FreedOutput output(*m_service, settings);
    QString error;
    QVERIFY2(output.configure({{QStringLiteral("values"), values}}, &error), qPrintable(error));
    m_http->addRoute(QStringLiteral("/v1/freed"),
                     [&output](const QByteArray &method, const QByteArray &body) { return output.handle(method, body); });
    QCOMPARE(statusOf("freed"), QStringLiteral("true"));
    const bool running = tavro && values != QLatin1String("lens");
    if (running) {
        QCOMPARE(http("POST", QStringLiteral("/v1/zoom/goto"), R"({"position": 500})").status, 200);
        QTRY_VERIFY_WITH_TIMEOUT(m_service->isIdle(), 10000);
        QCOMPARE(http("POST", QStringLiteral("/v1/zoom/run"), R"({"direction": "tele", "speed": "medium", "hold_ms": 5000})").status, 200);
        QTest::qWait(300);
    }
    receiver.take();
    QTest::qWait(1500);
    const QList<LoopbackReceiver::Heard> heard = receiver.take();
    const int zoomMax = m_service->status().value(QLatin1String("zoomMax")).toInt();

    QVERIFY(heard.size() >= int(rate));
    QList<double> intervals;
    QStringList misses;
    int checked = 0;
    const qint64 periodNs = qint64(1e9 / rate);
    for (int i = 0; i < heard.size(); ++i) {
        const QByteArray &packet = heard[i].datagram;
        QCOMPARE(packet.size(), 29);
        QCOMPARE(quint8(packet[0]), 0xD1);
        QCOMPARE(int(packet[1]), 7);
        int sum = 0;
        for (int at = 0; at < 29; ++at)
            sum += quint8(packet[at]);
        QCOMPARE(sum % 256, 0x40);
        if (i == 0)
            continue;
        QCOMPARE(quint8(packet[26]) >> 4, ((quint8(heard[i - 1].datagram[26]) >> 4) + 1) % 16);
        intervals << double(heard[i].atNs - heard[i - 1].atNs);
        if (!running || heard[i].atNs - delayMs * 1'000'000 - periodNs < heard.first().atNs)
            continue;
        // Where the zoom was the hold-back before, from the true positions
        // the receiver took with each packet.
        const auto truthAt = [&heard](qint64 atNs) {
            const auto after = std::find_if(heard.begin() + 1, heard.end() - 1,
                                            [atNs](const LoopbackReceiver::Heard &each) { return each.atNs >= atNs; });
            const LoopbackReceiver::Heard &before = *(after - 1);
            return before.alongside + double(after->alongside - before.alongside) * double(atNs - before.atNs)
                / double(after->atNs - before.atNs);
        };
        const qint64 then = heard[i].atNs - delayMs * 1'000'000;
        const double travel = std::abs(truthAt(then) - truthAt(then - periodNs));
        const double sent = values == QLatin1String("raw") ? field24(packet, 20)
                                                           : field24(packet, 20) * double(zoomMax) / 65535;
        checked += 1;
        if (std::abs(sent - truthAt(then)) > travel + 2)
            misses << QStringLiteral("%1: sent %2, truly %3, travel %4").arg(i).arg(sent).arg(truthAt(then)).arg(travel);
    }
    QVERIFY2(misses.size() * 10 <= checked, qPrintable(QStringLiteral("%1 of %2: ").arg(misses.size()).arg(heard.size())
                                          + misses.join(QStringLiteral("; "))));
    std::sort(intervals.begin(), intervals.end());
    const double medianNs = intervals[intervals.size() / 2];
    QVERIFY2(std::abs(medianNs - 1e9 / rate) <= 0.01e9 / rate, qPrintable(QString::number(medianNs)));

    // Standing, the values are the board's as the session reads it.
    const QByteArray last = heard.last().datagram;
    const QJsonObject status = m_service->status();
    if (values == QLatin1String("lens")) {
        const std::optional<LensProfile> profile = LensProfile::readFile(kTavroProfile).profile;
        const double zoom = status.value(QLatin1String("zoom")).toInt();
        QCOMPARE(field24(last, 20), quint32(std::lround(*profile->focalLengthMm(zoom) * 1000)));
        QCOMPARE(field24(last, 23),
                 quint32(std::lround(*profile->focusDistanceM(status.value(QLatin1String("focus")).toInt(), zoom) * 1000)));
        QCOMPARE((quint8(last[26]) & 0xF) << 8 | quint8(last[27]),
                 int(std::lround(*profile->fNumber(status.value(QLatin1String("iris")).toInt()) * 100)));
    } else if (!tavro) {
        QCOMPARE(field24(last, 20), 0u);
        QCOMPARE(field24(last, 23), quint32(status.value(QLatin1String("focus")).toInt()));
    }

    // Changed while it runs; a value out of range changes nothing.
    const Answer refused = http("POST", QStringLiteral("/v1/freed"), R"({"camera": 3, "rate": 101})");
    QCOMPARE(refused.status, 400);
    QCOMPARE(http("GET", QStringLiteral("/v1/freed")).body, output.settings().toJson());
    QCOMPARE(output.settings().camera, 7);
    const Answer off = http("POST", QStringLiteral("/v1/freed"), R"({"on": false})");
    QCOMPARE(off.body.value(QLatin1String("on")), QJsonValue(false));
    QCOMPARE(statusOf("freed"), QStringLiteral("false"));
    receiver.take();
    QTest::qWait(200);
    QCOMPARE(receiver.take().size(), 0);
    if (running)
        QCOMPARE(http("POST", QStringLiteral("/v1/zoom/stop")).status, 200);
}

void TestLensd::program_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("err");
    // Who else may read the token file.
    QTest::addColumn<int>("readers");

    QTest::newRow("sigterm stops the run") << QStringList{"--http", "127.0.0.1:18749", "--osc", "18750"} << 0
                                           << QString() << 0;
    QTest::newRow("public http without token")
        << QStringList{"--http", "0.0.0.0:18749"} << 2
        << QStringLiteral("tavro-lensd: HTTP on 0.0.0.0 needs a token: give --token-file (see --help)\n") << 0;
    for (const auto &[name, readers] : {std::pair{"token file readable by others", QFileDevice::ReadOther},
                                        std::pair{"token file readable by its group", QFileDevice::ReadGroup}})
        QTest::newRow(name) << QStringList{"--http", "0.0.0.0:18749", "--token-file", "TOKEN"} << 2
                            << QStringLiteral("tavro-lensd: the token file TOKEN is readable by others: chmod 600 it\n")
                            << int(readers);
    const QString noProfile = QStringLiteral("/nonexistent/lens.json");
    QTest::newRow("profile that does not read") << QStringList{"--profile", noProfile} << 2
                                                << "tavro-lensd: " + LensProfile::readFile(noProfile).error + "\n" << 0;
}

void TestLensd::program()
{
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QString, err);
    QFETCH(int, readers);
    m_sim = std::make_unique<BoardSimulator>(std::make_unique<TavroBoard>());
    QTemporaryFile token;
    QVERIFY(token.open() && token.write("t0k\n") == 4 && token.flush());
    QVERIFY(token.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::Permission(readers)));
    options.replaceInStrings(QStringLiteral("TOKEN"), token.fileName());
    err.replace(QStringLiteral("TOKEN"), token.fileName());
    QProcess server;
    server.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tavro-lensd"),
                 QStringList{"--board", "tavro", "--port", m_sim->portName()} + options);
    if (status == 0) {
        QByteArray started;
        QTRY_VERIFY2((started += server.readAllStandardError()).contains("HTTP on"), started.constData());
        m_httpPort = 18749;
        QCOMPARE(http("POST", QStringLiteral("/v1/zoom/run"), R"({"direction":"wide","hold_ms":5000})").status, 200);
        const int framesBefore = m_sim->frameCount();
        ::kill(pid_t(server.processId()), SIGTERM);
        QTRY_VERIFY(server.state() == QProcess::NotRunning);
        QVERIFY(m_sim->frames().mid(framesBefore).contains(TavroFrames::encode(TavroFrames::FrameKind::ZoomStop)));
    }
    QTRY_VERIFY(server.state() == QProcess::NotRunning);
    QCOMPARE(server.exitStatus(), QProcess::NormalExit);
    QCOMPARE(server.exitCode(), status);
    if (!err.isEmpty())
        QCOMPARE(QString::fromUtf8(server.readAllStandardError()), err);
}

QTEST_GUILESS_MAIN(TestLensd)
#include "tst_lensd.moc"
