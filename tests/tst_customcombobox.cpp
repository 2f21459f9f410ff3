#include "CustomComboBox.h"
#include "serialportlist.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString placeholder = QStringLiteral("Please select a valid port");

void saveLastSelected(const QString &value)
{
    QSettings(QStringLiteral("config.ini"), QSettings::IniFormat).setValue("serialPort/lastSelected", value);
}

} // namespace

// The selector reads config.ini from the working directory, so every case runs
// in a fresh one; TAVRO_EXTRA_PORTS appends ports to those of the machine.
class TestCustomComboBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void preselectsSavedPort_data();
    void preselectsSavedPort();
    void popupListsNewPortsAndResetsChoice();

private:
    const QString m_originalDirectory = QDir::currentPath();
    std::unique_ptr<QTemporaryDir> m_directory;
};

void TestCustomComboBox::initTestCase()
{
    qunsetenv("TAVRO_EXTRA_PORTS");
    for (const SerialPortEntry &port : availableSerialPorts()) {
        if (port.name.startsWith(QLatin1String("COM")))
            QSKIP("This machine has COM ports of its own");
    }
}

void TestCustomComboBox::init()
{
    m_directory = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_directory->path()));
    // Stable names: one of a device that is there, one of an adapter pulled out.
    QVERIFY(QDir().mkdir("by-id") && QFile::link("/dev/null", "by-id/usb-A") && QFile::link("/dev/gone", "by-id/usb-B"));
    qputenv("TAVRO_SERIAL_BY_ID", QFile::encodeName(QDir::current().absoluteFilePath("by-id")));
}

void TestCustomComboBox::cleanup()
{
    QDir::setCurrent(m_originalDirectory);
    m_directory.reset();
}

void TestCustomComboBox::preselectsSavedPort_data()
{
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QByteArray>("ports");
    QTest::addColumn<QString>("expected");
    QTest::newRow("COM3 among COM1, COM3") << "COM3" << QByteArray("COM1:COM3") << "COM3";
    QTest::newRow("COM1 not taken for COM13") << "COM1" << QByteArray("COM3:COM13") << "COM1 (missing)";
    QTest::newRow("COM1 before COM10") << "COM1" << QByteArray("COM1:COM10") << "COM1";
    QTest::newRow("COM1 after COM10") << "COM1" << QByteArray("COM10:COM1") << "COM1";
    QTest::newRow("pattern takes first fitting port") << "COM." << QByteArray("COM1:COM3") << "COM1";
    QTest::newRow("com3 does not match COM3") << "com3" << QByteArray("COM1:COM3") << "com3 (missing)";
    QTest::newRow("invalid pattern") << "COM[" << QByteArray("COM1:COM3") << "COM[ (missing)";
    QTest::newRow("stable name") << "%1/usb-A" << QByteArray("COM1") << "usb-A (null)";
    QTest::newRow("device saved, listed by its stable name") << "/dev/null" << QByteArray("/dev/null") << "usb-A (null)";
    QTest::newRow("stable name of an adapter pulled out") << "%1/usb-B" << QByteArray("COM1") << "usb-B (missing)";
    QTest::newRow("nothing saved") << QString() << QByteArray("COM1:COM3") << placeholder;
}

void TestCustomComboBox::preselectsSavedPort()
{
    QFETCH(QString, saved);
    QFETCH(QByteArray, ports);
    QFETCH(QString, expected);
    if (!saved.isNull())
        saveLastSelected(saved.replace("%1", qEnvironmentVariable("TAVRO_SERIAL_BY_ID")));
    qputenv("TAVRO_EXTRA_PORTS", ports);
    // A pattern that does not compile must be turned away quietly, not run.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("QRegularExpression")));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^Last selected serial port: ")));
    CustomComboBox combo;
    QCOMPARE(combo.currentText(), expected);
}

void TestCustomComboBox::popupListsNewPortsAndResetsChoice()
{
    saveLastSelected(QStringLiteral("COM3"));
    qputenv("TAVRO_EXTRA_PORTS", "COM1:COM3");
    QTest::ignoreMessage(QtDebugMsg, "Last selected serial port:  \"COM3\"");
    CustomComboBox combo;
    QCOMPARE(combo.currentText(), QStringLiteral("COM3"));

    qputenv("TAVRO_EXTRA_PORTS", "COM1:COM3:COM7"); // plugged in after start-up
    static_cast<QComboBox &>(combo).showPopup();
    QCOMPARE(combo.count(), availableSerialPorts().size() + 1);
    QCOMPARE(combo.itemText(combo.count() - 1), QStringLiteral("COM7"));
    QCOMPARE(combo.currentIndex(), 0);
    QCOMPARE(combo.currentText(), placeholder);
}

QTEST_MAIN(TestCustomComboBox)
#include "tst_customcombobox.moc"
