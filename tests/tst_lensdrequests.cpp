// What the remote-control server makes of HTTP requests, OSC and VISCA
// packets and its command line, before anything reaches a board.

#include "freedsettings.h"
#include "httpdecoder.h"
#include "motortrack.h"
#include "oscdecoder.h"
#include "serveroptions.h"
#include "viscadecoder.h"

#include <QtTest>

#include <lo/lo.h>

#include <cstdlib>

namespace {

// A request in a few words, so a table can say what it expects.
QString describe(const SessionRequest &request)
{
    static const char *const kinds[] = {"status", "goto",  "run",       "step",    "stop",  "call",
                                        "store preset", "speed", "calibrate", "refresh", "store", "probe"};
    QString text = QLatin1String(kinds[int(request.kind)]);
    if (request.motor)
        text += QLatin1Char(' ') + QLatin1String(request.motor->name);
    if (request.kind == SessionRequest::Kind::Goto && request.share >= 0)
        text += QStringLiteral(" share %1").arg(request.share);
    else if (request.kind == SessionRequest::Kind::Goto || request.kind == SessionRequest::Kind::PresetCall
             || request.kind == SessionRequest::Kind::PresetStore)
        text += QStringLiteral(" %1").arg(request.value);
    if (request.kind == SessionRequest::Kind::PresetCall && request.speed >= 0)
        text += QStringLiteral(" speed %1").arg(request.speed);
    if (request.kind == SessionRequest::Kind::Run)
        text += QStringLiteral(" %1 speed %2 hold %3")
                    .arg(QLatin1String(request.motor->directions[request.direction]))
                    .arg(request.speed)
                    .arg(request.holdMs);
    if (request.seconds > 0)
        text += QStringLiteral(" in %1 s").arg(request.seconds);
    return text;
}

// A goto in the lens's units, in a few words: " at 35 mm".
QString describe(const std::optional<LensValue> &value)
{
    static const char *const units[] = {"counts", "mm", "m", "f"};
    return value ? QStringLiteral(" at %1 %2").arg(value->value).arg(QLatin1String(units[int(value->unit)])) : QString();
}

// One OSC message as a control surface sends it: i, f and s arguments as
// their QVariant types say, and a double for I (infinitum, which carries no
// data).
QByteArray packet(const char *path, const QVariantList &arguments = {})
{
    const lo_message message = lo_message_new();
    for (const QVariant &argument : arguments) {
        if (argument.typeId() == QMetaType::Int)
            lo_message_add_int32(message, argument.toInt());
        else if (argument.typeId() == QMetaType::Float)
            lo_message_add_float(message, argument.toFloat());
        else if (argument.typeId() == QMetaType::Double)
            lo_message_add_infinitum(message);
        else
            lo_message_add_string(message, argument.toString().toUtf8().constData());
    }
    size_t size = 0;
    void *data = lo_message_serialise(message, path, nullptr, &size);
    const QByteArray packet(static_cast<const char *>(data), qsizetype(size));
    std::free(data);
    lo_message_free(message);
    return packet;
}

} // namespace

Q_DECLARE_METATYPE(BoardType)

class TestLensdRequests : public QObject
{
    Q_OBJECT

private slots:
    void http_data();
    void http();
    void osc_data();
    void osc();
    void visca_data();
    void visca();
    void token_data();
    void token();
    void commandLine_data();
    void commandLine();
    void freedPacket_data();
    void freedPacket();
    void freedSettings_data();
    void freedSettings();
    void motorTrack_data();
    void motorTrack();
};

void TestLensdRequests::http_data()
{
    QTest::addColumn<BoardType>("board");
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    // The request, or the error's text.
    QTest::addColumn<QString>("answer");

    const auto row = [](const char *name, const char *method, const char *path, const QByteArray &body, int status,
                        const char *answer, BoardType board = BoardType::Tavro) {
        QTest::newRow(name) << board << QByteArray(method) << QString::fromLatin1(path) << body << status
                            << QString::fromLatin1(answer);
    };
    row("status", "GET", "/v1/status", {}, 200, "status");
    row("goto", "POST", "/v1/zoom/goto", R"({"position": 3000})", 200, "goto zoom 3000");
    row("goto 0 with other keys", "POST", "/v1/iris/goto", R"({"position": 0, "x": 1})", 200, "goto iris 0");
    row("goto fraction", "POST", "/v1/zoom/goto", R"({"position": 1.5})", 400, "position must be a whole number from 0 up");
    row("goto negative", "POST", "/v1/zoom/goto", R"({"position": -1})", 400, "position must be a whole number from 0 up");
    row("goto text", "POST", "/v1/zoom/goto", R"({"position": "3000"})", 400, "position must be a whole number from 0 up");
    row("goto without body", "POST", "/v1/zoom/goto", {}, 400, "position must be a whole number from 0 up");
    row("goto beyond int", "POST", "/v1/zoom/goto", R"({"position": 3e9})", 400, "position must be a whole number from 0 up");
    row("goto 35 mm", "POST", "/v1/zoom/goto", R"({"mm": 35})", 200, "goto zoom 0 at 35 mm");
    row("goto 2.5 m", "POST", "/v1/focus/goto", R"({"m": 2.5})", 200, "goto focus 0 at 2.5 m");
    row("goto INF", "POST", "/v1/focus/goto", R"({"m": "INF"})", 200, "goto focus 0 at inf m");
    row("goto f 4", "POST", "/v1/iris/goto", R"({"f": 4})", 200, "goto iris 0 at 4 f");
    row("goto mm and position", "POST", "/v1/zoom/goto", R"({"mm": 35, "position": 10})", 400,
        "give one of position and mm for the zoom");
    row("goto m on the zoom", "POST", "/v1/zoom/goto", R"({"m": 2})", 400, "give one of position and mm for the zoom");
    row("goto 0 mm", "POST", "/v1/zoom/goto", R"({"mm": 0})", 400, "mm must be a number above 0");
    row("goto m far", "POST", "/v1/focus/goto", R"({"m": "far"})", 400, R"(m must be a number above 0 or "inf")");
    row("goto f as text", "POST", "/v1/iris/goto", R"({"f": "4"})", 400, "f must be a number above 0");
    row("run default hold", "POST", "/v1/zoom/run", R"({"direction": "wide"})", 200, "run zoom wide speed -1 hold 500");
    row("run far high hold 100", "POST", "/v1/focus/run", R"({"direction": "far", "speed": "high", "hold_ms": 100})",
        200, "run focus far speed 2 hold 100");
    row("run Open LOW hold 5000", "POST", "/v1/iris/run", R"({"direction": "Open", "hold_ms": 5000})", 200,
        "run iris open speed -1 hold 5000");
    row("run direction of another motor", "POST", "/v1/zoom/run", R"({"direction": "near"})", 400,
        "direction must be wide or tele for the zoom");
    row("run without direction", "POST", "/v1/focus/run", "{}", 400, "direction must be near or far for the focus");
    row("run hold 99", "POST", "/v1/zoom/run", R"({"direction": "tele", "hold_ms": 99})", 400,
        "hold_ms must be a whole number from 100 to 5000");
    row("run hold 5001", "POST", "/v1/zoom/run", R"({"direction": "tele", "hold_ms": 5001})", 400,
        "hold_ms must be a whole number from 100 to 5000");
    row("run speed fast", "POST", "/v1/zoom/run", R"({"direction": "tele", "speed": "fast"})", 400,
        "speed must be low, medium or high");
    row("run iris speed", "POST", "/v1/iris/run", R"({"direction": "open", "speed": "low"})", 400,
        "the iris speed cannot be chosen");
    row("stop", "POST", "/v1/focus/stop", {}, 200, "stop focus");
    row("pellan focus stop", "POST", "/v1/focus/stop", {}, 200, "stop focus", BoardType::Pellan);
    row("pellan zoom", "POST", "/v1/zoom/goto", R"({"position": 1})", 404, "the Pellan board has no zoom motor",
        BoardType::Pellan);
    row("pellan iris", "POST", "/v1/iris/stop", {}, 404, "the Pellan board has no iris motor", BoardType::Pellan);
    row("unknown motor", "POST", "/v1/pan/stop", {}, 404, "no such motor: pan");
    row("preset call 1", "POST", "/v1/presets/1/call", {}, 200, "call 1");
    row("preset store 10", "POST", "/v1/presets/10/store", "{}", 200, "store preset 10");
    row("preset call 4 High", "POST", "/v1/presets/4/call", R"({"speed": "High"})", 200, "call 4 speed 2");
    row("preset call speed 2", "POST", "/v1/presets/4/call", R"({"speed": 2})", 400, "speed must be low, medium or high");
    row("goto in 6 s", "POST", "/v1/zoom/goto", R"({"position": 3000, "seconds": 6})", 200, "goto zoom 3000 in 6 s");
    row("preset call in 2.5 s", "POST", "/v1/presets/4/call", R"({"seconds": 2.5})", 200, "call 4 in 2.5 s");
    row("preset call at a speed in a time", "POST", "/v1/presets/4/call", R"({"speed": "low", "seconds": 6})", 400,
        "give a speed or seconds, not both");
    row("goto in 0 s", "POST", "/v1/zoom/goto", R"({"position": 3000, "seconds": 0})", 400,
        "seconds must be a number above 0 and up to 600");
    row("goto in \"6\" s", "POST", "/v1/zoom/goto", R"({"position": 3000, "seconds": "6"})", 400,
        "seconds must be a number above 0 and up to 600");
    row("tracking on", "POST", "/v1/tracking", R"({"on": true})", 200, "tracking on");
    row("tracking 1", "POST", "/v1/tracking", R"({"on": 1})", 400, "on must be true or false");
    row("preset store low", "POST", "/v1/presets/4/store", R"({"speed": "low"})", 400,
        "a preset is stored without a speed");
    row("preset 0", "POST", "/v1/presets/0/call", {}, 400, "preset must be from 1 to 10");
    row("preset 11", "POST", "/v1/presets/11/store", {}, 400, "preset must be from 1 to 10");
    row("preset x", "POST", "/v1/presets/x/call", {}, 404, "no such preset: x");
    row("refresh", "POST", "/v1/refresh", {}, 200, "refresh");
    row("calibrate", "POST", "/v1/calibrate", " ", 200, "calibrate");
    row("store", "POST", "/v1/store", {}, 200, "store");
    row("status by POST", "POST", "/v1/status", {}, 405, "/v1/status takes GET only");
    row("goto by GET", "GET", "/v1/zoom/goto", {}, 405, "/v1/zoom/goto takes POST only");
    row("store by PUT", "PUT", "/v1/store", {}, 405, "/v1/store takes POST only");
    row("live without upgrade", "GET", "/v1/live", {}, 400, "/v1/live is a WebSocket: ask for an upgrade");
    row("unknown path", "GET", "/v2/status", {}, 404, "no such path: /v2/status");
    row("trailing slash", "GET", "/v1/status/", {}, 404, "no such path: /v1/status/");
    row("zoom action", "POST", "/v1/zoom/home", {}, 404, "no such path: /v1/zoom/home");
    row("body not JSON", "POST", "/v1/store", "store", 400, "the body is not a JSON object");
    row("body an array", "POST", "/v1/zoom/stop", "[1]", 400, "the body is not a JSON object");
    row("body 64 KiB", "POST", "/v1/store", QByteArray(64 * 1024, ' '), 200, "store");
    row("body over 64 KiB", "POST", "/v1/store", QByteArray(64 * 1024 + 1, ' '), 413,
        "the body is larger than 65536 bytes");
}

void TestLensdRequests::http()
{
    QFETCH(BoardType, board);
    QFETCH(QByteArray, method);
    QFETCH(QString, path);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QFETCH(QString, answer);

    const HttpDecoding decoding = HttpDecoder::decode(board, method, path, body);
    QCOMPARE(decoding.status, status);
    const QString tracking = decoding.tracking ? QStringLiteral("tracking %1").arg(*decoding.tracking ? "on" : "off") : QString();
    QCOMPARE(decoding.request ? describe(*decoding.request) + describe(decoding.value)
                              : decoding.tracking ? tracking : decoding.error,
             answer);
}

void TestLensdRequests::osc_data()
{
    QTest::addColumn<BoardType>("board");
    QTest::addColumn<QByteArray>("packet");
    // The request, "subscribe PORT", "unsubscribe", "error: TEXT", or empty
    // for a message that is ignored without a word.
    QTest::addColumn<QString>("answer");

    const auto row = [](const char *name, const QByteArray &data, const char *answer,
                        BoardType board = BoardType::Tavro) {
        QTest::newRow(name) << board << data << QString::fromLatin1(answer);
    };
    row("goto i", packet("/lens/zoom/goto", {3000}), "goto zoom 3000");
    row("goto f", packet("/lens/focus/goto", {0.25f}), "goto focus share 0.25");
    row("goto f 1", packet("/lens/iris/goto", {1.0f}), "goto iris share 1");
    row("goto f 1.01", packet("/lens/iris/goto", {1.01f}), "error: iris: a share is from 0.0 to 1.0");
    row("goto f nan", packet("/lens/iris/goto", {std::numeric_limits<float>::quiet_NaN()}),
        "error: iris: a share is from 0.0 to 1.0");
    row("goto i -1", packet("/lens/zoom/goto", {-1}), "error: zoom: a position is 0 or more");
    row("goto s", packet("/lens/zoom/goto", {QStringLiteral("3000")}), "");
    row("goto ii", packet("/lens/zoom/goto", {1, 2}), "");
    row("goto if", packet("/lens/zoom/goto", {3000, 6.0f}), "goto zoom 3000 in 6 s");
    row("goto if 0", packet("/lens/zoom/goto", {3000, 0.0f}), "error: zoom: a time is above 0 and up to 600 seconds");
    row("preset call if", packet("/lens/preset/call", {3, 2.5f}), "call 3 in 2.5 s");
    row("tracking i 1", packet("/lens/tracking", {1}), "tracking on");
    row("tracking i 2", packet("/lens/tracking", {2}), "error: tracking is 1 (on) or 0 (off)");
    row("goto without argument", packet("/lens/zoom/goto"), "");
    row("zoom mm f", packet("/lens/zoom/mm", {35.5f}), "goto zoom 0 at 35.5 mm");
    row("focus m f", packet("/lens/focus/m", {2.5f}), "goto focus 0 at 2.5 m");
    row("focus m I", packet("/lens/focus/m", {std::numeric_limits<double>::infinity()}), "goto focus 0 at inf m");
    row("iris f f", packet("/lens/iris/f", {4.0f}), "goto iris 0 at 4 f");
    row("zoom mm I", packet("/lens/zoom/mm", {std::numeric_limits<double>::infinity()}), "");
    row("zoom mm i", packet("/lens/zoom/mm", {35}), "");
    row("zoom m f", packet("/lens/zoom/m", {2.0f}), "");
    row("focus m f 0", packet("/lens/focus/m", {0.0f}), "error: focus: a value in the lens's units is above 0");
    row("run zoom 1 is tele", packet("/lens/zoom/run", {1}), "run zoom tele speed -1 hold 500");
    row("run zoom -1 is wide", packet("/lens/zoom/run", {-1}), "run zoom wide speed -1 hold 500");
    row("run focus 1 is far", packet("/lens/focus/run", {1, 2}), "run focus far speed 2 hold 500");
    row("run focus -1 is near", packet("/lens/focus/run", {-1, 0}), "run focus near speed 0 hold 500");
    row("run iris 1 is open", packet("/lens/iris/run", {1}), "run iris open speed -1 hold 500");
    row("run iris -1 is close", packet("/lens/iris/run", {-1}), "run iris close speed -1 hold 500");
    row("run 0 stops", packet("/lens/zoom/run", {0, 1}), "stop zoom");
    row("run 2", packet("/lens/zoom/run", {2}), "error: zoom: a run goes 1, -1 or 0 (stop)");
    row("run speed 3", packet("/lens/zoom/run", {1, 3}), "error: zoom: a speed is 0 (low), 1 (medium) or 2 (high)");
    row("run iris speed", packet("/lens/iris/run", {1, 0}), "error: the iris speed cannot be chosen");
    row("run f", packet("/lens/zoom/run", {1.0f}), "");
    row("run iii", packet("/lens/zoom/run", {1, 1, 1}), "");
    row("stop", packet("/lens/focus/stop"), "stop focus");
    row("stop with argument", packet("/lens/focus/stop", {1}), "");
    row("pellan focus", packet("/lens/focus/run", {1}), "run focus far speed -1 hold 500", BoardType::Pellan);
    row("pellan zoom", packet("/lens/zoom/run", {1}), "error: this board has no zoom motor", BoardType::Pellan);
    row("unknown motor", packet("/lens/pan/run", {1}), "");
    row("preset call", packet("/lens/preset/call", {3}), "call 3");
    row("preset store", packet("/lens/preset/store", {10}), "store preset 10");
    row("preset call 3 low", packet("/lens/preset/call", {3, 0}), "call 3 speed 0");
    row("preset call speed 3", packet("/lens/preset/call", {3, 3}),
        "error: a preset's speed is 0 (low), 1 (medium) or 2 (high)");
    row("preset store ii", packet("/lens/preset/store", {10, 2}), "");
    row("preset 11", packet("/lens/preset/call", {11}), "error: a preset is from 1 to 10");
    row("preset without number", packet("/lens/preset/call"), "");
    row("refresh", packet("/lens/refresh"), "refresh");
    row("calibrate", packet("/lens/calibrate"), "calibrate");
    row("store", packet("/lens/store"), "store");
    row("store with argument", packet("/lens/store", {1}), "");
    row("subscribe", packet("/lens/subscribe"), "subscribe 0");
    row("subscribe 9000", packet("/lens/subscribe", {9000}), "subscribe 9000");
    row("subscribe 70000", packet("/lens/subscribe", {70000}), "error: a port is from 1 to 65535");
    row("unsubscribe", packet("/lens/unsubscribe"), "unsubscribe");
    row("other root", packet("/camera/zoom/run", {1}), "");
    row("too deep", packet("/lens/zoom/run/now", {1}), "");
    row("empty", QByteArray(), "");
    row("bundle", QByteArray("#bundle\0\0\0\0\0\0\0\0\1", 17), "");
    row("cut short", packet("/lens/zoom/goto", {3000}).chopped(2), "");
    row("tag without argument", QByteArray("/lens/zoom/goto\0,i\0\0", 20), "");
    row("path unterminated", QByteArray("/lens/zoom/goto"), "");
}

void TestLensdRequests::osc()
{
    QFETCH(BoardType, board);
    QFETCH(QByteArray, packet);
    QFETCH(QString, answer);

    const OscDecoding decoding = OscDecoder::decodePacket(board, packet);
    QString got;
    if (decoding.request)
        got = describe(*decoding.request) + describe(decoding.value);
    else if (decoding.subscription == OscDecoding::Subscription::Subscribe)
        got = QStringLiteral("subscribe %1").arg(decoding.port);
    else if (decoding.subscription == OscDecoding::Subscription::Unsubscribe)
        got = QStringLiteral("unsubscribe");
    else if (decoding.tracking)
        got = QStringLiteral("tracking %1").arg(*decoding.tracking ? "on" : "off");
    else if (!decoding.error.isEmpty())
        got = QStringLiteral("error: ") + decoding.error;
    QCOMPARE(got, answer);
}

void TestLensdRequests::visca_data()
{
    QTest::addColumn<BoardType>("board");
    QTest::addColumn<QByteArray>("datagram");
    // The request, "inquiry MOTOR", "reset", "error CODE" or "ignored";
    // after "seq N: " when it came in the header, "address N: " when not 1.
    QTest::addColumn<QString>("answer");

    // Named by the datagram's bytes in hex.
    const auto row = [](const char *hex, const char *answer, BoardType board = BoardType::Tavro) {
        const QByteArray name = QByteArray(hex) + (board == BoardType::Pellan ? " pellan" : "");
        QTest::newRow(name.constData()) << board << QByteArray::fromHex(hex) << QString::fromLatin1(answer);
    };
    row("81 01 04 07 00 FF", "stop zoom");
    row("81 01 04 07 02 FF", "run zoom tele speed -1 hold 0");
    row("81 01 04 07 03 FF", "run zoom wide speed -1 hold 0");
    row("81 01 04 07 22 FF", "run zoom tele speed 0 hold 0");
    row("81 01 04 07 23 FF", "run zoom tele speed 1 hold 0");
    row("81 01 04 07 35 FF", "run zoom wide speed 1 hold 0");
    row("81 01 04 07 36 FF", "run zoom wide speed 2 hold 0");
    row("81 01 04 07 28 FF", "error 2");
    row("81 01 04 07 04 FF", "error 2");
    row("81 01 04 08 02 FF", "run focus far speed -1 hold 0");
    row("81 01 04 08 37 FF", "run focus near speed 2 hold 0");
    row("81 01 04 08 00 FF", "stop focus");
    row("81 01 04 47 02 00 00 00 FF", "goto zoom share 0.5");
    row("81 01 04 47 0F 0F 0F 0F FF", "goto zoom share 1");
    row("81 01 04 47 00 10 00 00 FF", "error 2");
    row("81 01 04 47 02 00 00 FF", "error 2");
    row("81 01 04 48 01 00 00 00 FF", "goto focus share 0.25");
    row("81 01 04 4B 00 00 03 03 FF", "goto iris share 0.2");
    row("81 01 04 4B 00 01 00 00 FF", "goto iris share 1");
    row("81 01 04 3F 02 00 FF", "call 1");
    row("81 01 04 3F 01 09 FF", "store preset 10");
    row("81 01 04 3F 02 0A FF", "error 65");
    row("81 01 04 3F 00 00 FF", "error 65");
    row("81 01 04 3F 03 00 FF", "error 2");
    row("81 09 04 47 FF", "inquiry zoom");
    row("81 09 04 4B FF", "inquiry iris");
    row("81 09 04 00 FF", "error 65");
    row("81 01 06 01 05 05 03 01 FF", "error 65");
    row("81 01 04 0B 02 FF", "error 65");
    row("81 01 04 FF", "error 2");
    row("81 FF", "error 2");
    row("81 01 04 07 02", "error 2");
    row("81 01 04 3F 02 FF FF", "error 2");
    row("81 01 04 47 00 00 00 00 00 00 00 00 00 00 00 FF", "error 2");
    row("88 01 00 01 FF", "error 2");
    row("87 01 04 07 02 FF", "address 7: run zoom tele speed -1 hold 0");
    row("81 01 04 07 02 FF", "error 65", BoardType::Pellan);
    row("81 01 04 08 03 FF", "run focus near speed -1 hold 0", BoardType::Pellan);
    row("81 09 04 4B FF", "error 65", BoardType::Pellan);
    row("01 00 00 06 00 00 00 2A 81 01 04 07 00 FF", "seq 42: stop zoom");
    row("01 10 00 05 FF FF FF FE 81 09 04 48 FF", "seq 4294967294: inquiry focus");
    row("02 00 00 01 00 00 00 07 01", "seq 7: reset");
    row("02 00 00 01 00 00 00 07 02", "ignored");
    row("01 00 00 07 00 00 00 01 81 01 04 07 00 FF", "ignored");
    row("01 20 00 06 00 00 00 01 81 01 04 07 00 FF", "ignored");
    row("01 00 00 06 00 00 00 01 41 01 04 07 00 FF", "seq 1: error 2");
    row("01 00 00 00 00 00 00 00", "ignored");
    row("", "ignored");
}

void TestLensdRequests::visca()
{
    QFETCH(BoardType, board);
    QFETCH(QByteArray, datagram);
    QFETCH(QString, answer);

    const ViscaDecoding decoding = ViscaDecoder::decode(board, datagram);
    QString got = decoding.framed ? QStringLiteral("seq %1: ").arg(decoding.sequence) : QString();
    if (decoding.address != 1)
        got += QStringLiteral("address %1: ").arg(decoding.address);
    switch (decoding.kind) {
    case ViscaDecoding::Kind::Ignored:
        got += QStringLiteral("ignored");
        break;
    case ViscaDecoding::Kind::SequenceReset:
        got += QStringLiteral("reset");
        break;
    case ViscaDecoding::Kind::Command:
        got += describe(decoding.request);
        break;
    case ViscaDecoding::Kind::Inquiry:
        got += QStringLiteral("inquiry ") + QLatin1String(decoding.motor->name);
        break;
    case ViscaDecoding::Kind::Error:
        got += QStringLiteral("error %1").arg(int(decoding.error));
        break;
    }
    QCOMPARE(got, answer);
}

void TestLensdRequests::token_data()
{
    QTest::addColumn<QByteArray>("authorization");
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<bool>("carries");

    QTest::newRow("no token set") << QByteArray() << QByteArray() << true;
    QTest::newRow("right") << QByteArray("Bearer s3cret") << QByteArray("s3cret") << true;
    QTest::newRow("missing") << QByteArray() << QByteArray("s3cret") << false;
    QTest::newRow("wrong") << QByteArray("Bearer s3creT") << QByteArray("s3cret") << false;
    QTest::newRow("prefix only") << QByteArray("Bearer s3c") << QByteArray("s3cret") << false;
    QTest::newRow("longer") << QByteArray("Bearer s3cret2") << QByteArray("s3cret") << false;
    QTest::newRow("empty bearer") << QByteArray("Bearer ") << QByteArray("s3cret") << false;
    QTest::newRow("other scheme") << QByteArray("Basic s3cret") << QByteArray("s3cret") << false;
}

void TestLensdRequests::token()
{
    QFETCH(QByteArray, authorization);
    QFETCH(QByteArray, token);
    QFETCH(bool, carries);
    QCOMPARE(HttpDecoder::carriesToken(authorization, token), carries);
}

void TestLensdRequests::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    // "http ADDR:PORT osc ADDR:PORT [visca ADDR:PORT hold S]", or the usage
    // error.
    QTest::addColumn<QString>("answer");

    const auto row = [](const char *name, const QString &arguments, const char *answer) {
        QTest::newRow(name) << arguments.split(QLatin1Char(' ')) << QString::fromLatin1(answer);
    };
    const QString base = QStringLiteral("tavro-lensd --board tavro --port ttyS0");
    row("defaults on loopback", base, "http 127.0.0.1:8640 osc 127.0.0.1:8641");
    row("ports only", base + " --http 9000 --osc 9001", "http 127.0.0.1:9000 osc 127.0.0.1:9001");
    row("ipv6 loopback", base + " --http [::1]:9000", "http ::1:9000 osc 127.0.0.1:8641");
    row("localhost", base + " --osc localhost:9001", "http 127.0.0.1:8640 osc 127.0.0.1:9001");
    row("public http with token", base + " --http 0.0.0.0:80 --token-file t", "http 0.0.0.0:80 osc 127.0.0.1:8641");
    row("public http without token", base + " --http 0.0.0.0:8640",
        "HTTP on 0.0.0.0 needs a token: give --token-file");
    row("public ipv6 http without token", base + " --http [::]:8640", "HTTP on :: needs a token: give --token-file");
    row("public osc allowed", base + " --osc 192.168.1.5:8641 --osc-allow 192.168.1.9,10.0.0.2",
        "http 127.0.0.1:8640 osc 192.168.1.5:8641");
    row("public osc not allowed", base + " --osc 0.0.0.0:8641",
        "OSC on 0.0.0.0 needs the senders it takes: give --osc-allow");
    row("bad allowed sender", base + " --osc-allow tablet", "--osc-allow: 'tablet' is not an address");
    row("visca on loopback, held 30 s", base + " --visca 52381 --visca-hold 30",
        "http 127.0.0.1:8640 osc 127.0.0.1:8641 visca 127.0.0.1:52381 hold 30");
    row("public visca allowed", base + " --visca 0.0.0.0:52381 --visca-allow 192.168.1.9",
        "http 127.0.0.1:8640 osc 127.0.0.1:8641 visca 0.0.0.0:52381 hold 10");
    row("public visca allowed for osc only", base + " --visca 0.0.0.0:52381 --osc-allow 192.168.1.9",
        "VISCA on 0.0.0.0 needs the senders it takes: give --visca-allow");
    row("bad visca sender", base + " --visca-allow 10.0.0.300", "--visca-allow: '10.0.0.300' is not an address");
    row("visca hold 0", base + " --visca 52381 --visca-hold 0",
        "--visca-hold must be a whole number of seconds from 1 to 600");
    row("port 0", base + " --http 0", "--http must be [ADDR:]PORT");
    row("port 65536", base + " --osc 65536", "--osc must be [ADDR:]PORT");
    row("bad host", base + " --http host.example:80", "--http must be [ADDR:]PORT");
    row("no board", QStringLiteral("tavro-lensd --port ttyS0"), "--board must be tavro or pellan");
    row("no port", QStringLiteral("tavro-lensd --board Pellan"), "--port names no port");
    row("stray word", base + " get", "unexpected argument 'get'");
    row("freed fractional rate", base + " --freed 127.0.0.1:6301 --freed-rate 59.94",
        "http 127.0.0.1:8640 osc 127.0.0.1:8641 freed on 59.94 Hz");
    row("freed rate 101", base + " --freed-rate 101", "--freed-rate: rate must be from 10 to 100 packets a second");
    row("freed camera 256", base + " --freed-camera 256", "--freed-camera: camera must be a whole number from 0 to 255");
    row("freed target without host", base + " --freed 6301",
        "--freed: targets must be HOST:PORT, HOST an address or localhost");
    row("freed lens values without profile", base + " --freed-values lens",
        "--freed-values: lens values need a lens profile (--profile)");
}

void TestLensdRequests::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, answer);

    QString error;
    QString text;
    const std::optional<ServerOptions> options = ServerOptions::parse(arguments, &error, &text);
    QString got = options ? QStringLiteral("http %1:%2 osc %3:%4")
                                .arg(options->httpAddress.toString())
                                .arg(options->httpPort)
                                .arg(options->oscAddress.toString())
                                .arg(options->oscPort)
                          : error;
    if (options && options->viscaPort != 0)
        got += QStringLiteral(" visca %1:%2 hold %3")
                   .arg(options->viscaAddress.toString())
                   .arg(options->viscaPort)
                   .arg(options->viscaHoldS);
    if (options && options->freed.on)
        got += QStringLiteral(" freed on %1 Hz").arg(options->freed.rate);
    QCOMPARE(got, answer);
}

// The values as each mode puts them, in the packet a receiver gets.
void TestLensdRequests::freedPacket_data()
{
    QTest::addColumn<int>("mode");
    // Zoom, focus and iris; "-" for none.
    QTest::addColumn<QString>("positions");
    QTest::addColumn<QString>("maxima");
    QTest::addColumn<int>("camera");
    QTest::addColumn<int>("counter");
    QTest::addColumn<QByteArray>("packet");

    const int scaled = int(FreedValues::Mode::Scaled);
    const int raw = int(FreedValues::Mode::Raw);
    QTest::newRow("d101000000000000000000000000000000000000008000008000080066 scaled halves")
        << scaled << "3675 2000 2750" << "7350 4000 5500" << 1 << 0
        << QByteArray("d101000000000000000000000000000000000000008000008000080066");
    QTest::newRow("d1ff00000000000000000000000000000000000000ffff00ffffffff76 scaled tops, past one held")
        << scaled << "7350 4100 5500" << "7350 4000 5500" << 255 << 15
        << QByteArray("d1ff00000000000000000000000000000000000000ffff00ffffffff76");
    QTest::newRow("d1010000000000000000000000000000000000000000000004d2100088 raw focus only")
        << raw << "- 1234 -" << "- 60000 -" << 1 << 1
        << QByteArray("d1010000000000000000000000000000000000000000000004d2100088");
    QTest::newRow("d107000000000000000000000000000000000000000000ffffff280043 raw held to 24 bits, iris scaled")
        << raw << "-1 20000000 100" << "7350 4000 200" << 7 << 2
        << QByteArray("d107000000000000000000000000000000000000000000ffffff280043");
    QTest::newRow("d101000000000000000000000000000000000000000000000000180056 no maximum, counter wraps")
        << scaled << "100 100 100" << "- 0 200" << 1 << 17
        << QByteArray("d101000000000000000000000000000000000000000000000000180056");
    QTest::newRow("d10000000000000000000000000000000000000000000000000000006f lens without a profile")
        << int(FreedValues::Mode::Lens) << "3675 2000 2750" << "7350 4000 5500" << 0 << 0
        << QByteArray("d10000000000000000000000000000000000000000000000000000006f");
}

void TestLensdRequests::freedPacket()
{
    QFETCH(int, mode);
    QFETCH(QString, positions);
    QFETCH(QString, maxima);
    QFETCH(int, camera);
    QFETCH(int, counter);
    QFETCH(QByteArray, packet);

    FreedValues::Positions given;
    FreedValues::Maxima tops;
    const QStringList positionWords = positions.split(QLatin1Char(' '));
    const QStringList maximumWords = maxima.split(QLatin1Char(' '));
    for (size_t i = 0; i < 3; ++i) {
        if (positionWords[int(i)] != QLatin1String("-"))
            given[i] = positionWords[int(i)].toDouble();
        if (maximumWords[int(i)] != QLatin1String("-"))
            tops[i] = maximumWords[int(i)].toInt();
    }
    FreedPacket::Fields fields;
    fields.camera = quint8(camera);
    fields.counter = unsigned(counter);
    FreedValues::fill(&fields, FreedValues::Mode(mode), given, tops, nullptr);
    QCOMPARE(FreedPacket::build(fields).toHex(), packet);
}

// POST /v1/freed's body on the defaults: the settings after it, or its 400.
void TestLensdRequests::freedSettings_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("hasProfile");
    QTest::addColumn<QString>("answer");

    const auto row = [](const char *body, bool hasProfile, const char *answer) {
        QTest::newRow(body) << QByteArray(body) << hasProfile << QString::fromLatin1(answer);
    };
    row(R"({})", false,
        R"({"camera":1,"delayMs":0,"on":false,"rate":50,"targets":[],"values":"scaled"})");
    row(R"({"on":true,"targets":["[::1]:6301","localhost:6302"],"rate":59.94,"camera":0,"delayMs":500,"values":"lens"})",
        true,
        R"({"camera":0,"delayMs":500,"on":true,"rate":59.94,"targets":["[::1]:6301","localhost:6302"],"values":"lens"})");
    row(R"({"on":true})", false, "the output needs targets to send to");
    row(R"({"targets":["10.0.0.9:6301"],"rate":9.99})", false, "rate must be from 10 to 100 packets a second");
    row(R"({"rate":"50"})", false, "rate must be from 10 to 100 packets a second");
    row(R"({"camera":1.5})", false, "camera must be a whole number from 0 to 255");
    row(R"({"delayMs":501})", false, "delayMs must be a whole number from 0 to 500");
    row(R"({"values":"lens"})", false, "lens values need a lens profile (--profile)");
    row(R"({"values":"counts"})", true, "values must be scaled, raw or lens");
    row(R"({"targets":["render:6301"]})", false, "targets must be HOST:PORT, HOST an address or localhost");
    row(R"({"targets":[]})", false, "targets must be a list of HOST:PORT");
    row(R"({"on":1})", false, "on must be true or false");
    row(R"({"port":6301})", false, "unknown key 'port'");
}

void TestLensdRequests::freedSettings()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, hasProfile);
    QFETCH(QString, answer);

    FreedSettings settings;
    QString error;
    const bool taken = settings.apply(QJsonDocument::fromJson(body).object(), hasProfile, &error);
    QCOMPARE(taken ? QString::fromUtf8(QJsonDocument(settings.toJson()).toJson(QJsonDocument::Compact)) : error,
             answer);
    // A refusal changes nothing.
    if (!taken)
        QCOMPARE(settings.toJson(), FreedSettings().toJson());
}

QTEST_GUILESS_MAIN(TestLensdRequests)
// Where the packets place a motor from its reads, "ms:position" in the order
// made, ">N" where the motor was sent to N as it was read.
void TestLensdRequests::motorTrack_data()
{
    QTest::addColumn<QString>("reads");
    QTest::addColumn<int>("atMs");
    QTest::addColumn<double>("position");

    QTest::newRow("between two reads") << "0:100 20:200" << 5 << 125.0;
    QTest::newRow("before the first read") << "10:100 30:200" << 0 << 100.0;
    QTest::newRow("past the last, on along the last two") << "0:100 20:200" << 30 << 250.0;
    QTest::newRow("no further ahead than the longest recent read interval") << "0:100 20:200 30:250" << 80 << 350.0;
    QTest::newRow("the last two agree: standing") << "0:100 20:100" << 40 << 100.0;
    QTest::newRow("sent to 220: not past it") << "0:100 20:200>220" << 40 << 220.0;
    QTest::newRow("sent down to 150: not past it") << "0:300 20:200>150" << 40 << 150.0;
    QTest::newRow("there already: stays") << "0:100 20:220>220" << 30 << 220.0;
    QTest::newRow("going away from where it was sent: as read") << "0:200 20:100>300" << 30 << 50.0;
}

void TestLensdRequests::motorTrack()
{
    QFETCH(QString, reads);
    QFETCH(int, atMs);
    QFETCH(double, position);

    MotorTrack track;
    for (const QString &read : reads.split(QLatin1Char(' '))) {
        const QStringList parts = read.split(QRegularExpression(QStringLiteral("[:>]")));
        track.add(parts[0].toLongLong() * 1'000'000, parts[1].toInt(),
                  parts.size() > 2 ? std::optional<int>(parts[2].toInt()) : std::nullopt);
    }
    QCOMPARE(track.positionAt(qint64(atMs) * 1'000'000).value_or(-1), position);
}

#include "tst_lensdrequests.moc"
