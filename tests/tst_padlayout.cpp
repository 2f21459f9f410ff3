// The pad's layout as config.ini keeps it under gamepad/.

#include "padlayout.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

namespace {

QStringList g_reported;

// What differs from the default layout, as "key=control", "keyInverted" and "edge=N".
QString differences(const PadLayout &layout)
{
    const PadLayout defaults = PadLayout::defaults();
    QStringList list;
    for (int action = 0; action < padActionCount; ++action) {
        if (layout.controls[action] != defaults.controls[action])
            list << padActionKey(PadAction(action)) + '=' + padControlName(layout.controls[action]);
        if (layout.inverted[action])
            list << padActionKey(PadAction(action)) + "Inverted";
    }
    for (const auto &[name, edge, byDefault] : {std::tuple{"deadZone", layout.deadZone, defaults.deadZone},
                                                {"mediumSpeedFrom", layout.mediumFrom, defaults.mediumFrom},
                                                {"highSpeedFrom", layout.highFrom, defaults.highFrom}}) {
        if (edge != byDefault)
            list << QString("%1=%2").arg(name).arg(edge);
    }
    return list.join(' ');
}

} // namespace

class TestPadLayout : public QObject
{
    Q_OBJECT

private slots:
    // Keys as an operator might write them; each value that cannot be used is reported once, by its key.
    // What is read is written back as it was.
    void read_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("reported");
        QTest::newRow("none kept: the default layout") << "" << "" << "";
        // A control named for one action leaves the one held by default, as the dialog does: the other action
        // takes the control given up when it fits, none when it does not.
        QTest::newRow("zoom on the right stick, inverted") << "zoom=righty zoomInverted=true"
                                                           << "zoom=righty zoomInverted focus=lefty" << "";
        QTest::newRow("preset on a trigger, on A, refresh unbound")
            << "preset5=righttrigger preset6=a refresh=none" << "preset1=none preset5=righttrigger preset6=a refresh=none"
            << "";
        QTest::newRow("one stick named for three runs: the last") << "zoom=rightx iris=rightx focus=rightx"
                                                                  << "zoom=none focus=none iris=rightx"
                                                                  << "gamepad/zoom gamepad/focus";
        QTest::newRow("written in capitals") << "iris=LeftX irisInverted=TRUE" << "iris=leftx irisInverted" << "";
        QTest::newRow("unknown word") << "preset3=triangle" << "" << "gamepad/preset3";
        QTest::newRow("a button for a run") << "zoom=a" << "" << "gamepad/zoom";
        QTest::newRow("a stick for a press") << "irisOpen=lefty" << "" << "gamepad/irisOpen";
        QTest::newRow("inverted neither true nor false") << "focusInverted=maybe" << "" << "gamepad/focusInverted";
        QTest::newRow("dead zone below 10 %") << "deadZone=5" << "deadZone=10" << "gamepad/deadZone";
        QTest::newRow("dead zone above 50 %") << "deadZone=70" << "deadZone=50" << "gamepad/deadZone";
        QTest::newRow("dead zone no number") << "deadZone=wide" << "" << "gamepad/deadZone";
        QTest::newRow("edges out of order") << "deadZone=40 mediumSpeedFrom=30 highSpeedFrom=20"
                                            << "deadZone=40 mediumSpeedFrom=40 highSpeedFrom=40"
                                            << "gamepad/mediumSpeedFrom gamepad/highSpeedFrom";
    }
    void read()
    {
        QFETCH(QString, keys);
        QTemporaryDir dir;
        QSettings settings(dir.filePath("config.ini"), QSettings::IniFormat);
        for (const QString &key : keys.split(' ', Qt::SkipEmptyParts))
            settings.setValue("gamepad/" + key.section('=', 0, 0), key.section('=', 1));
        g_reported.clear();
        const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtWarningMsg)
                g_reported << text.section(' ', 2, 2);
        });
        const PadLayout layout = PadLayout::read(settings);
        qInstallMessageHandler(previous);
        QTEST(differences(layout), "layout");
        QTEST(g_reported.join(' '), "reported");
        // Written out, it reads back as it was.
        QSettings written(dir.filePath("written.ini"), QSettings::IniFormat);
        layout.write(written);
        QTEST(differences(PadLayout::read(written)), "layout");
    }
};

QTEST_MAIN(TestPadLayout)
#include "tst_padlayout.moc"
