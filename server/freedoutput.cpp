#include "freedoutput.h"

#include "lensmotor.h"

#include <QJsonDocument>

FreedOutput::FreedOutput(LensService &service, const FreedSettings &settings, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_settings(settings)
    , m_sender(service.session().profile())
    , m_reader(service.session(), m_sender)
{
    LensSession &session = service.session();
    connect(&session, &LensSession::maximumChanged, this,
            [this](int motor, int maximum) { m_sender.setMaximum(motor, maximum); });
    for (const LensMotor &motor : LensMotor::all()) {
        if (const std::optional<int> maximum = session.maximum(motor))
            m_sender.setMaximum(motor.index(), *maximum);
    }
    restart();
}

FreedOutput::~FreedOutput()
{
    m_reader.stop();
    m_sender.stop();
}

bool FreedOutput::configure(const QJsonObject &changes, QString *error)
{
    if (!m_settings.apply(changes, m_service.session().profile(), error))
        return false;
    restart();
    return true;
}

void FreedOutput::restart()
{
    m_service.setStatusItem(QStringLiteral("freed"), m_settings.on);
    if (!m_settings.on) {
        m_reader.stop();
        m_sender.stop();
        return;
    }
    FreedSender::Setup setup;
    for (const QString &target : m_settings.targets) {
        QHostAddress address;
        quint16 port = 0;
        FreedSettings::parseTarget(target, &address, &port);
        setup.targets.append({address, port});
    }
    setup.rate = m_settings.rate;
    setup.camera = quint8(m_settings.camera);
    setup.delayMs = m_settings.delayMs;
    setup.values = m_settings.values;
    m_sender.start(setup);
    m_reader.start();
}

LensService::Reply FreedOutput::handle(const QByteArray &method, const QByteArray &body)
{
    if (method == "POST") {
        QJsonParseError parsed;
        const QJsonDocument document = QJsonDocument::fromJson(body, &parsed);
        if (!document.isObject())
            return {400, {{QStringLiteral("error"), QStringLiteral("the body must be a JSON object")}}};
        QString error;
        if (!configure(document.object(), &error))
            return {400, {{QStringLiteral("error"), error}}};
    } else if (method != "GET") {
        return {405, {{QStringLiteral("error"), QStringLiteral("/v1/freed takes GET and POST")}}};
    }
    return {200, m_settings.toJson()};
}
