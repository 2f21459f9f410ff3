// The pad's layout as config.ini keeps it under gamepad/.

#include "padlayout.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

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
    const int edges[] = {layout.deadZone, layout.mediumFrom, layout.highFrom};
    const int defaultEdges[] = {defaults.deadZone, defaults.mediumFrom, defaults.highFrom};
    const char *names[] = {"deadZone", "mediumSpeedFrom", "highSpeedFrom"};
    for (int edge = 0; edge < 3; ++edge) {
        if (edges[edge] != defaultEdges[edge])
            list << QString("%1=%2").arg(names[edge]).arg(edges[edge]);
    }
    return list.join(' ');
}

} // namespace

class TestPadLayout : public QObject
{
    Q_OBJECT

private slots:
    // Keys as an operator might write them; each value that cannot be used is reported once, by its key.
    void read_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("reported");
        QTest::newRow("none kept: the default layout") << "" << "" << "";
        QTest::newRow("zoom on the right stick, inverted") << "zoom=righty zoomInverted=true focus=lefty"
                                                           << "zoom=righty zoomInverted focus=lefty" << "";
        QTest::newRow("preset on a trigger, refresh unbound") << "preset5=righttrigger refresh=none"
                                                              << "preset5=righttrigger refresh=none" << "";
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
    }

    // A layout written is read back as it was, in the words of SDL.
    void writeAndReadBack()
    {
        PadLayout layout = PadLayout::defaults();
        layout.controls[int(PadAction::Zoom)] = padControlFromName("righty");
        layout.inverted[int(PadAction::Zoom)] = true;
        layout.controls[int(PadAction::Preset1)] = noPadControl;
        layout.deadZone = 30;
        layout.highFrom = 90;
        QTemporaryDir dir;
        {
            QSettings settings(dir.filePath("config.ini"), QSettings::IniFormat);
            layout.write(settings);
        }
        QSettings settings(dir.filePath("config.ini"), QSettings::IniFormat);
        QCOMPARE(differences(PadLayout::read(settings)), "zoom=righty zoomInverted preset1=none deadZone=30 highSpeedFrom=90");
        QCOMPARE(settings.value("gamepad/zoomInverted").toString(), "true");
        QCOMPARE(settings.value("gamepad/irisOpen").toString(), "rightshoulder");
    }
};

QTEST_MAIN(TestPadLayout)
#include "tst_padlayout.moc"
