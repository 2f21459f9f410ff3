// The remote-control server's reading of what arrives from the network: OSC
// datagrams and HTTP request bodies, as control surfaces and scripts send
// them, or as anything on the network might. Besides the sanitizers, every
// request read must be one the board can be sent: a motor the board has, a
// position, share, direction, speed, hold and preset within their ranges.
//
// Input: the first byte picks the board, and for HTTP one of the API's paths;
// its low bit says whether the rest is a datagram or a body, its high bit
// that the body is a POST /v1/freed, whose settings taken must be in range.

#include "freedsettings.h"
#include "fuzzqt.h"
#include "httpdecoder.h"
#include "oscdecoder.h"

#include <QJsonDocument>
#include <QString>


namespace {

using FuzzQt::require;

void check(BoardType board, const SessionRequest &request)
{
    using Kind = SessionRequest::Kind;
    const bool needsMotor = request.kind == Kind::Goto || request.kind == Kind::Run || request.kind == Kind::Stop;
    require(!needsMotor || (request.motor && request.motor->isOn(board)), "a motor the board lacks");
    if (request.kind == Kind::Goto)
        require(request.share < 0 ? request.value >= 0 : request.share <= 1.0, "a position out of range");
    if (request.kind == Kind::Run) {
        require(request.direction == 0 || request.direction == 1, "a direction out of range");
        require(request.speed >= -1 && request.speed <= 2, "a speed out of range");
        require(request.speed < 0 || request.motor->setSpeed, "a speed for a motor without one");
        require(request.holdMs >= SessionRequest::minimumHoldMs && request.holdMs <= SessionRequest::maximumHoldMs,
                "a hold out of range");
    }
    if (request.kind == Kind::PresetCall || request.kind == Kind::PresetStore)
        require(request.value >= SessionRequest::firstPreset && request.value <= SessionRequest::lastPreset,
                "a preset out of range");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const char *const paths[] = {"/v1/zoom/goto", "/v1/focus/run", "/v1/iris/run", "/v1/zoom/run",
                                        "/v1/focus/goto", "/v1/presets/3/call", "/v1/refresh", "/v1/iris/goto"};
    const BoardType board = data[0] & 2 ? BoardType::Pellan : BoardType::Tavro;
    const QByteArray rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    if (data[0] & 0x80) {
        FreedSettings settings;
        QString error;
        if (settings.apply(QJsonDocument::fromJson(rest).object(), data[0] & 2, &error)) {
            require(settings.rate >= FreedSettings::minimumRate && settings.rate <= FreedSettings::maximumRate,
                    "a rate out of range");
            require(settings.camera >= 0 && settings.camera <= FreedSettings::maximumCamera, "a camera out of range");
            require(settings.delayMs >= 0 && settings.delayMs <= FreedSettings::maximumDelayMs, "a delay out of range");
            require(!settings.on || !settings.targets.isEmpty(), "on without targets");
        } else {
            require(!error.isEmpty(), "a refusal without its words");
        }
        return 0;
    }
    if (data[0] & 1) {
        const OscDecoding decoding = OscDecoder::decodePacket(board, rest);
        if (decoding.request)
            check(board, *decoding.request);
        require(decoding.port >= 0 && decoding.port <= 65535, "a port out of range");
        return 0;
    }
    const HttpDecoding decoding =
        HttpDecoder::decode(board, "POST", QString::fromLatin1(paths[(data[0] >> 2) % 8]), rest);
    if (decoding.request)
        check(board, *decoding.request);
    else
        require(decoding.status >= 400 && !decoding.error.isEmpty(), "an error without its code or words");
    return 0;
}
