#include "../ui/ui_mainwindow.h"

#include "mainwindow.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#define RECORD(slot) void slot() { calls << #slot "()"; }
class RecordingWindow : public QMainWindow
{
    Q_OBJECT
public:
    QStringList calls;
public slots:
    RECORD(zoomWideClicked) RECORD(zoomTeleClicked) RECORD(zoomStopClicked) RECORD(focusNearClicked)
    RECORD(focusFarClicked) RECORD(focusStopClicked) RECORD(calibrateAllClicked) RECORD(irisCloseClicked)
    RECORD(irisOpenClicked) RECORD(irisStopClicked) RECORD(zoomPlusClicked) RECORD(zoomMinusClicked)
    RECORD(focusPlusClicked) RECORD(focusMinusClicked) RECORD(irisPlusClicked) RECORD(irisMinusClicked)
    RECORD(initSettings)
};

class TestMainWindowForm : public QObject
{
    Q_OBJECT
private slots:
    void formConnectionsReachTheirSlots()
{
    QTemporaryDir dir;
    const QString previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^QObject::connect")));
    RecordingWindow window;
    Ui::MainWindow ui;
    ui.setupUi(&window);
    QDir::setCurrent(previousDir);
    QCOMPARE(ui.cb_serialPortSelect->metaObject()->className(), "CustomComboBox");

    const QMap<QString, QString> wired{
        {"pb_zoomWide", "zoomWideClicked()"}, {"pb_zoomTele", "zoomTeleClicked()"}, {"pb_zoomStop", "zoomStopClicked()"},
        {"pb_focusNear", "focusNearClicked()"}, {"pb_focusFar", "focusFarClicked()"}, {"pb_focusStop", "focusStopClicked()"},
        {"pb_irisClose", "irisCloseClicked()"}, {"pb_irisOpen", "irisOpenClicked()"}, {"pb_irisStop", "irisStopClicked()"},
        {"pb_zoomPlus", "zoomPlusClicked()"}, {"pb_zoomMinus", "zoomMinusClicked()"}, {"pb_focusPlus", "focusPlusClicked()"},
        {"pb_focusMinus", "focusMinusClicked()"}, {"pb_irisPlus", "irisPlusClicked()"}, {"pb_irisMinus", "irisMinusClicked()"},
        {"pb_calibrateAll", "calibrateAllClicked()"}};
    int reached = 0;
    for (QPushButton *button : window.findChildren<QPushButton *>()) {
        window.calls.clear();
        button->click();
        const QString slot = wired.value(button->objectName());
        QCOMPARE(window.calls, slot.isEmpty() ? QStringList() : QStringList{slot});
        reached += !slot.isEmpty();
    }
    QCOMPARE(reached, 16);
    ui.cb_controller->addItems({"first", "second"});
    window.calls.clear();
    ui.cb_controller->setCurrentIndex(1);
    QCOMPARE(window.calls, QStringList{"initSettings()"});
    const QStringList windowSlots = wired.values() << "initSettings()";
    for (const QString &slot : windowSlots)
        QVERIFY2(MainWindow::staticMetaObject.indexOfSlot(qPrintable(slot)) >= 0, qPrintable(slot));
}
};

QTEST_MAIN(TestMainWindowForm)
#include "tst_mainwindowform.moc"
