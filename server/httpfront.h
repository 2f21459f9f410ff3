#ifndef HTTPFRONT_H
#define HTTPFRONT_H

#include "lensmotor.h"

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QJsonObject>

#include <memory>
#include <vector>

class LensService;
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
};

#endif // HTTPFRONT_H
