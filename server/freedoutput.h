#ifndef FREEDOUTPUT_H
#define FREEDOUTPUT_H

#include "freedreader.h"
#include "freedsender.h"
#include "freedsettings.h"
#include "lensservice.h"

#include <QObject>

// The lens's zoom, focus and iris as FreeD packets over UDP, for a virtual
// studio's tracking and rendering: while on, the reader reads the board as
// fast as the line allows and the sender sends at the rate set. Its
// settings are at /v1/freed, and /v1/status says whether it is on.
class FreedOutput : public QObject
{
    Q_OBJECT

public:
    // Runs at once when settings are on.
    FreedOutput(LensService &service, const FreedSettings &settings, QObject *parent = nullptr);
    ~FreedOutput() override;

    const FreedSettings &settings() const { return m_settings; }
    // Takes changes as FreedSettings::apply() does; false, with *error, for
    // a value it does not take, which changes nothing.
    bool configure(const QJsonObject &changes, QString *error);
    // GET and POST /v1/freed.
    LensService::Reply handle(const QByteArray &method, const QByteArray &body);
    const FreedReader &reader() const { return m_reader; }

private:
    void restart();

    LensService &m_service;
    FreedSettings m_settings;
    FreedSender m_sender;
    FreedReader m_reader;
};

#endif // FREEDOUTPUT_H
