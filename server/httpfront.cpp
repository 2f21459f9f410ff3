#include "httpfront.h"

#include "httpdecoder.h"
#include "lensservice.h"
#include "webpage.h"

#include <QHttpServerRequest>
#include <QJsonDocument>
#include <QMetaEnum>
#include <QPointer>
#include <QTcpSocket>
#include <QUrlQuery>
#include <QWebSocket>

namespace {

const char *reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 413:
        return "Content Too Large";
    case 502:
        return "Bad Gateway";
    default:
        return "Service Unavailable";
    }
}

// Answers are written when the request has been carried out, which may be
// after other requests' exchanges with the board; the socket may be gone by
// then.
void respond(const QPointer<QTcpSocket> &socket, int status, const QJsonObject &body)
{
    if (!socket)
        return;
    const QByteArray json = QJsonDocument(body).toJson(QJsonDocument::Compact) + '\n';
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) + "\r\n"
        + "Content-Type: application/json\r\nContent-Length: " + QByteArray::number(json.size()) + "\r\n";
    if (status == 401)
        head += "WWW-Authenticate: Bearer\r\n";
    socket->write(head + "\r\n" + json);
}

QByteArray methodName(QHttpServerRequest::Method method)
{
    return QByteArray(QMetaEnum::fromType<QHttpServerRequest::Method>().valueToKey(int(method))).toUpper();
}

} // namespace

HttpFront::HttpFront(LensService &service, BoardType board, const QByteArray &token, QObject *parent)
    : QAbstractHttpServer(parent)
    , m_service(service)
    , m_board(board)
    , m_token(token)
{
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this, &HttpFront::acceptLiveClients);
    connect(&m_service, &LensService::changed, this, &HttpFront::sendToLiveClients);
    connect(&m_service, &LensService::failed, this,
            [this](const QString &error) { sendToLiveClients({{QStringLiteral("error"), error}}); });
}

HttpFront::~HttpFront() = default;

void HttpFront::addRoute(const QString &path, const Route &route)
{
    m_routes.insert(path, route);
}

bool HttpFront::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    // The live feed's upgrade is answered by the WebSocket server, which
    // takes the connection over once this returns.
    if (request.value("Upgrade").compare("websocket", Qt::CaseInsensitive) == 0)
        return true;
    // The control page's own files go to anyone; what the page then asks
    // of the API needs the token.
    if (const QByteArray page = WebPage::answer(methodName(request.method()), request.url().path());
        !page.isEmpty()) {
        socket->write(page);
        return true;
    }
    const QPointer<QTcpSocket> client(socket);
    if (!HttpDecoder::carriesToken(request.value("Authorization"), m_token)) {
        respond(client, 401, {{QStringLiteral("error"), QStringLiteral("this server needs its token")}});
        return true;
    }
    if (const auto route = m_routes.constFind(request.url().path()); route != m_routes.constEnd()) {
        const LensService::Reply reply = request.body().size() > HttpDecoder::maximumBodySize
            ? LensService::Reply{413, {{QStringLiteral("error"), QStringLiteral("the body is too large")}}}
            : (*route)(methodName(request.method()), request.body());
        respond(client, reply.status, reply.body);
        return true;
    }
    const HttpDecoding decoding =
        HttpDecoder::decode(m_board, methodName(request.method()), request.url().path(), request.body());
    if (decoding.tracking) {
        const LensService::Reply reply = m_service.setTracking(*decoding.tracking);
        respond(client, reply.status, reply.body);
        return true;
    }
    if (!decoding.request) {
        respond(client, decoding.status, {{QStringLiteral("error"), decoding.error}});
        return true;
    }
    SessionRequest lensRequest = *decoding.request;
    const QString unresolved = decoding.value ? m_service.resolve(&lensRequest, *decoding.value) : QString();
    if (!unresolved.isEmpty()) {
        respond(client, 400, {{QStringLiteral("error"), unresolved}});
        return true;
    }
    m_service.submit(lensRequest,
                     [client](const LensService::Reply &reply) { respond(client, reply.status, reply.body); });
    return true;
}

void HttpFront::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    respond(QPointer<QTcpSocket>(socket), 404,
            {{QStringLiteral("error"), QStringLiteral("no such path: %1").arg(request.url().path())}});
}

void HttpFront::acceptLiveClients()
{
    while (hasPendingWebSocketConnections()) {
        std::unique_ptr<QWebSocket> client = nextPendingWebSocketConnection();
        if (!client)
            continue;
        const QNetworkRequest request = client->request();
        // A browser cannot set headers on a WebSocket, so the token may come
        // in the address too.
        const QByteArray token = "Bearer "
            + QUrlQuery(request.url()).queryItemValue(QStringLiteral("token"), QUrl::FullyDecoded).toUtf8();
        if (request.url().path() != QLatin1String("/v1/live")) {
            client->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("no such path"));
            continue;
        }
        if (!HttpDecoder::carriesToken(request.rawHeader("Authorization"), m_token)
            && !HttpDecoder::carriesToken(token, m_token)) {
            client->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("this server needs its token"));
            continue;
        }
        QWebSocket *socket = client.get();
        connect(socket, &QWebSocket::disconnected, this, [this, socket] {
            for (auto it = m_liveClients.begin(); it != m_liveClients.end(); ++it) {
                if (it->get() == socket) {
                    it->release()->deleteLater();
                    m_liveClients.erase(it);
                    return;
                }
            }
        });
        socket->sendTextMessage(
            QString::fromUtf8(QJsonDocument(m_service.status()).toJson(QJsonDocument::Compact)));
        m_liveClients.push_back(std::move(client));
    }
}

void HttpFront::sendToLiveClients(const QJsonObject &object)
{
    const QString text = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    for (const std::unique_ptr<QWebSocket> &client : m_liveClients)
        client->sendTextMessage(text);
}
