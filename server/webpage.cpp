#include "webpage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QByteArray contentType(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix == QLatin1String("html"))
        return QByteArrayLiteral("text/html; charset=utf-8");
    if (suffix == QLatin1String("js"))
        return QByteArrayLiteral("text/javascript; charset=utf-8");
    if (suffix == QLatin1String("css"))
        return QByteArrayLiteral("text/css; charset=utf-8");
    if (suffix == QLatin1String("svg"))
        return QByteArrayLiteral("image/svg+xml");
    return QByteArrayLiteral("application/octet-stream");
}

} // namespace

QByteArray WebPage::answer(const QByteArray &method, const QString &path)
{
    if (method != "GET" || !path.startsWith(QLatin1Char('/')))
        return {};
    // A path climbing out with ".." must not reach the other resources.
    const QString cleaned = QDir::cleanPath(path);
    const QString name = cleaned == QLatin1String("/") ? QStringLiteral("/index.html") : cleaned;
    if (name.startsWith(QLatin1String("/..")) || name.count(QLatin1Char('/')) != 1)
        return {};
    QFile file(QStringLiteral(":/web") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray body = file.readAll();
    // The page may talk to this server only, and load nothing from anywhere
    // else; a new build's files are asked for again rather than taken from a
    // cache.
    return "HTTP/1.1 200 OK\r\nContent-Type: " + contentType(name)
        + "\r\nContent-Length: " + QByteArray::number(body.size())
        + "\r\nCache-Control: no-cache\r\nX-Content-Type-Options: nosniff\r\n"
          "Content-Security-Policy: default-src 'self'; frame-ancestors 'none'\r\n\r\n"
        + body;
}
