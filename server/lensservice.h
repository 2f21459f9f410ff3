#ifndef LENSSERVICE_H
#define LENSSERVICE_H

#include "lensboard.h"
#include "lensprofile.h"
#include "lenssession.h"
#include "sessionrequest.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// The lens session as remote clients see it: their requests go to one
// LensSession, whose rules they share with the window and the tool, and its
// answers and changes come back in the words and JSON of HTTP and OSC.
// Remote runs are held by their repeats (see SessionRequest::holdMs).
class LensService : public QObject
{
    Q_OBJECT

public:
    struct Reply
    {
        // 200 with the status after the action, or an error's code.
        int status;
        QJsonObject body;
    };
    using Done = std::function<void(const Reply &reply)>;

    // Without a profile, positions are in counts only.
    LensService(BoardType board, const QString &port, std::optional<LensProfile> profile = std::nullopt,
                const LensSession::DriverFactory &factory = LensBoard::makeDriver, QObject *parent = nullptr);
    ~LensService() override;

    // Reads the positions and maxima, after calibrating the board first when
    // asked. Nothing moves otherwise.
    void start(bool calibrate);
    // Hands request to the session; done hears its answer once it has been
    // carried out (or at once, for what needs no exchange).
    void submit(const SessionRequest &request, const Done &done = {});
    // Ends every run that holder (not null) holds, as by its stop.
    void release(const void *holder);
    // Sets the position of request, a goto, to where the profile puts value
    // at the zoom the session knows now; or says why there is none, for a
    // client's error, and leaves it.
    QString resolve(SessionRequest *request, const LensValue &value) const;
    // Focus follows zoom on or off: the status, or a 400 without a focus
    // curve to follow.
    Reply setTracking(bool on);
    // Board, port, positions and maxima as last known (null when unknown or
    // for motors the board lacks), the motors running now, and the positions
    // in the lens's units (see readings()).
    QJsonObject status() const;
    // Stops every motor the session started, then emits finished(). Requests
    // still waiting are answered with an error.
    void shutdown();
    // Whether there is nothing waiting or under way and no timer runs.
    bool isIdle() const;
    // For a front that works the board itself, such as the FreeD output's
    // reads.
    LensSession &session() { return m_session; }
    // A key of status() that a front sets, published as a change.
    void setStatusItem(const QString &key, const QJsonValue &value);

signals:
    // Only the keys whose values changed, such as {"zoom": 3012, "zoomMm":
    // 35.2} or {"running": ["zoom"]}.
    void changed(const QJsonObject &delta);
    // A request the board did not carry out, in words.
    void failed(const QString &error);
    void finished();

private:
    Reply replyTo(const SessionRequest &request, const SessionResult &result) const;
    QString failure(const SessionResult &result) const;
    QJsonArray runningNames() const;
    // zoomMm, focusM ("inf" for infinity), irisF and hfovDeg from the
    // positions the session knows, with the decimals that matter; null where
    // unknown or without a profile.
    QJsonObject readings() const;

    LensSession m_session;
    std::optional<LensProfile> m_profile;
    // The readings as last published.
    QJsonObject m_readings;
    QJsonObject m_statusItems;
};

#endif // LENSSERVICE_H
