#ifndef WEBPAGE_H
#define WEBPAGE_H

#include <QByteArray>
#include <QString>

// The control page's own files, built into the server as resources under
// :/web: plain HTML, CSS and JavaScript modules, so a browser on a studio
// network with no internet gets all of it from here. They hold nothing
// secret and are served without the token; what they ask of the API and the
// live feed carries it.
namespace WebPage {

// The whole HTTP answer for a GET of path ("/" being index.html), or empty
// when path is none of the page's files.
QByteArray answer(const QByteArray &method, const QString &path);

} // namespace WebPage

#endif // WEBPAGE_H
