#ifndef HTTPFRONT_H
#define HTTPFRONT_H

#include "lensmotor.h"

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QJsonObject>

#include <QHash>

#include <functional>
#include <memory>
#include <vector>

#include "lensservice.h"

class QWebSocket;

// The HTTP face of the lens: JSON requests decoded by HttpDecoder and queued
// with the service, answered once carried out; and the live feed, a WebSocket
// at /v1/live that gets the full status, then every change.
class HttpFront : public QAbstractHttpServer
{
    Q_OBJECT

public:
    // An empty token lets every request in.
    HttpFront(LensService &service, BoardType board, const QByteArray &token, QObject *parent = nullptr);
    ~HttpFront() override;

    // What a front of its own answers at path, past the token.
    using Route = std::function<LensService::Reply(const QByteArray &method, const QByteArray &body)>;
    void addRoute(const QString &path, const Route &route);

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    void acceptLiveClients();
    void sendToLiveClients(const QJsonObject &object);

    LensService &m_service;
    BoardType m_board;
    QByteArray m_token;
    std::vector<std::unique_ptr<QWebSocket>> m_liveClients;
    QHash<QString, Route> m_routes;
};

#endif // HTTPFRONT_H
