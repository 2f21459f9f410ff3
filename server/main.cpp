// tavro-lensd: the lens on a board, served to remote clients over HTTP, a
// WebSocket live feed, OSC and VISCA over IP.

#include "exchangerecord.h"
#include "freedoutput.h"
#include "httpfront.h"
#include "lensprofile.h"
#include "lensservice.h"
#include "oscfront.h"
#include "outcomewords.h"
#include "serveroptions.h"
#include "stopsignals.h"
#include "viscafront.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

bool verboseLog = false;

// Without --verbose, only what goes wrong is said; the drivers' trace of every
// frame would bury it.
void handleMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (!verboseLog && (type == QtDebugMsg || type == QtInfoMsg))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
    std::fflush(stderr);
}

QString endpoint(const QHostAddress &address, quint16 port)
{
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
        ? QLatin1Char('[') + address.toString() + QLatin1Char(']')
        : address.toString();
    return host + QLatin1Char(':') + QString::number(port);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavro-lensd"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVRO_LENSD_VERSION));
    QTextStream err(stderr);
    const QString name = QStringLiteral("tavro-lensd: ");

    QString problem;
    QString text;
    const std::optional<ServerOptions> options = ServerOptions::parse(QCoreApplication::arguments(), &problem, &text);
    if (!options && problem.isEmpty()) {
        QTextStream(stdout) << text;
        return 0;
    }
    if (!options) {
        err << name << problem << " (see --help)\n";
        return 2;
    }
    QByteArray token;
    if (!options->tokenFile.isEmpty()) {
        const std::optional<QByteArray> read = ServerOptions::readToken(options->tokenFile, &problem);
        if (!read) {
            err << name << problem << '\n';
            return 2;
        }
        token = *read;
    }
    // A profile is never half-used: the server does not start on a broken one.
    std::optional<LensProfile> profile;
    if (!options->profileFile.isEmpty()) {
        LensProfile::Read read = LensProfile::readFileFor(options->profileFile, ExchangeRecord::boardName(options->board));
        if (!read.profile) {
            err << name << read.error << '\n';
            return 2;
        }
        profile = std::move(read.profile);
    }
    if (options->trackFocus && !(profile && profile->hasTable(LensAxis::Focus))) {
        err << name << "--track-focus: " << OutcomeWords::noFocusCurve() << '\n';
        return 2;
    }
    verboseLog = options->verbose;
    qInstallMessageHandler(handleMessage);

    LensService service(options->board, options->port, std::move(profile));
    HttpFront http(service, options->board, token);
    if (!http.listen(options->httpAddress, options->httpPort)) {
        err << name << "HTTP cannot listen on " << endpoint(options->httpAddress, options->httpPort) << '\n';
        return 1;
    }
    OscFront osc(service, options->board, options->oscAllowed);
    if (!osc.listen(options->oscAddress, options->oscPort, &problem)) {
        err << name << "OSC cannot listen on " << endpoint(options->oscAddress, options->oscPort) << ": " << problem
            << '\n';
        return 1;
    }
    std::unique_ptr<ViscaFront> visca;
    if (options->viscaPort != 0) {
        visca = std::make_unique<ViscaFront>(service, options->board, options->viscaAllowed,
                                             options->viscaHoldS * 1000);
        if (!visca->listen(options->viscaAddress, options->viscaPort, &problem)) {
            err << name << "VISCA cannot listen on " << endpoint(options->viscaAddress, options->viscaPort) << ": "
                << problem << '\n';
            return 1;
        }
    }
    err << name << "HTTP on " << endpoint(options->httpAddress, options->httpPort) << ", OSC on "
        << endpoint(options->oscAddress, options->oscPort);
    if (visca)
        err << ", VISCA on " << endpoint(options->viscaAddress, options->viscaPort);
    err << ", board on " << options->port << '\n';
    err.flush();

    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::received, &service, &LensService::shutdown);
    QObject::connect(&service, &LensService::finished, &app, &QCoreApplication::quit);
    if (options->trackFocus)
        service.setTracking(true);
    service.start(options->calibrate);
    // Its reads wait behind the first reads of the board.
    FreedOutput freed(service, options->freed);
    http.addRoute(QStringLiteral("/v1/freed"), [&freed](const QByteArray &method, const QByteArray &body) {
        return freed.handle(method, body);
    });
    if (options->freed.on)
        err << name << "FreeD to " << options->freed.targets.join(QStringLiteral(", ")) << " at "
            << options->freed.rate << " Hz\n";
    return app.exec();
}
