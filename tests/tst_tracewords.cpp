#include "tracereader.h"
#include "tracewords.h"

#include <QDebug>
#include <QTest>

using Outcome = ExchangeRecord::Outcome;
Q_DECLARE_METATYPE(Outcome)

namespace {

// A log line as the transactions write it: the items as the message logger
// puts them, in the trace file's form.
template <typename... Items>
QString logged(const Items &...items)
{
    QString message;
    (QDebug(&message) << ... << items);
    return QStringLiteral("2026-05-04T10:15:02.317+02:00 critical: ") + message.trimmed();
}

} // namespace

// Every kind of line the transactions write of an exchange, read back as the
// exchange it tells of.
class TestTraceWords : public QObject
{
    Q_OBJECT

private slots:
    void readBack_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QByteArray>("reply");
        const QByteArray stop = QByteArray::fromHex("ff000000000000");
        const QByteArray irisMaximum = QByteArray::fromHex("fe160000000000");
        const QStringList sent{logged(TraceWords::frameFollows), logged(stop.toHex())};
        const QStringList asked{logged(TraceWords::frameFollows), logged(irisMaximum.toHex())};
        QTest::newRow("ff000000000000 acknowledged")
            << sent + QStringList{logged(TraceWords::replyOk)} << Outcome::Ok << QByteArray(1, '\0');
        QTest::newRow("fe160000000000 answered")
            << asked + QStringList{logged(TraceWords::replyOk), logged(QByteArray("7c150000"))} << Outcome::Ok
            << QByteArray::fromHex("007c150000");
        // A trace that went through a Windows editor or mail.
        QStringList crlf = asked + QStringList{logged(TraceWords::replyOk), logged(QByteArray("7c150000"))};
        for (QString &line : crlf)
            line += QStringLiteral("\r\n");
        QTest::newRow("fe160000000000 answered, lines ending in CR LF") << crlf << Outcome::Ok << QByteArray::fromHex("007c150000");
        QTest::newRow("ff000000000000 rejected") << sent + QStringList{logged(TraceWords::unexpectedReply, QByteArray("\x01"))}
                                                 << Outcome::Rejected << QByteArray("\x01");
        QTest::newRow("ff000000000000 no reply") << sent + QStringList{logged(TraceWords::noReply)} << Outcome::NoReply << QByteArray();
        QTest::newRow("fe160000000000 no reply") << asked + QStringList{logged(TraceWords::noQueryReply)} << Outcome::NoReply << QByteArray();
        QTest::newRow("fe160000000000 incomplete")
            << asked + QStringList{logged(TraceWords::replyOk), logged(TraceWords::incompleteReply, 2, "Bytes")}
            << Outcome::IncompleteReply << QByteArray(1, '\0');
        QTest::newRow("ff000000000000 write timed out") << sent + QStringList{logged(TraceWords::writeTimeout)} << Outcome::NotWritten << QByteArray();
        QTest::newRow("ff000000000000 not written")
            << sent + QStringList{logged(TraceWords::notWritten, QStringLiteral("ttyUSB0")),
                                  logged(TraceWords::reason, QStringLiteral("Input/output error"))}
            << Outcome::NotWritten << QByteArray();
        QTest::newRow("port not opened")
            << QStringList{logged(TraceWords::notOpened, QStringLiteral("ttyUSB0")),
                           logged(TraceWords::reason, QStringLiteral("No such file or directory"))}
            << Outcome::PortNotOpened << QByteArray();
        QTest::newRow("port busy") << QStringList{logged(TraceWords::notOpened, QStringLiteral("ttyUSB0")),
                                                  logged(TraceWords::reason, QString::fromLatin1(TraceWords::portInUse))}
                                   << Outcome::PortBusy << QByteArray();
    }
    void readBack()
    {
        QFETCH(QStringList, lines);
        TraceReader reader(BoardType::Tavro);
        for (const QString &line : lines)
            reader.addLine(line);
        reader.finish();
        const QList<TraceReader::Exchange> exchanges = reader.takeExchanges();
        QVERIFY(exchanges.size() == 1 && exchanges.first().complete);
        QTEST(exchanges.first().record.outcome, "outcome");
        QTEST(exchanges.first().record.reply, "reply");
    }
};

QTEST_GUILESS_MAIN(TestTraceWords)
#include "tst_tracewords.moc"
