#include "CustomComboBox.h"
#include "serialportlist.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QSettings>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const char placeholder[] = "Please select a valid port";

QStringList items(const QComboBox &combo)
{
    QStringList texts;
    for (int row = 0; row < combo.count(); ++row)
        texts << combo.itemText(row);
    return texts;
}

} // namespace

// The selector reads config.ini from the working directory, so every case runs
// in a fresh directory of its own with the ports it needs appended through
// TAVRO_EXTRA_PORTS after whatever the machine reports.
class TestCustomComboBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void preselectsSavedPort_data();
    void preselectsSavedPort();
    void listsPlaceholderThenPorts();
    void popupRebuildsListAndResetsChoice();

private:
    void saveLastSelected(const QString &value);
    void expectLogLine(const QString &value);

    QString m_originalDirectory;
    std::unique_ptr<QTemporaryDir> m_directory;
};

void TestCustomComboBox::initTestCase()
{
    m_originalDirectory = QDir::currentPath();
    // The cases name ports COM1, COM3, ...; a machine whose own ports carry
    // such names would be listed first and change which item is expected.
    qunsetenv("TAVRO_EXTRA_PORTS");
    const QStringList systemPorts = availableSerialPortNames();
    for (const QString &port : systemPorts) {
        if (port.startsWith(QLatin1String("COM")))
            QSKIP("This machine has COM ports of its own");
    }
}

void TestCustomComboBox::init()
{
    m_directory = std::make_unique<QTemporaryDir>();
    QVERIFY(m_directory->isValid());
    QVERIFY(QDir::setCurrent(m_directory->path()));
}

void TestCustomComboBox::cleanup()
{
    QDir::setCurrent(m_originalDirectory);
    m_directory.reset();
    qunsetenv("TAVRO_EXTRA_PORTS");
}

void TestCustomComboBox::saveLastSelected(const QString &value)
{
    QSettings settings(QStringLiteral("config.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("serialPort/lastSelected"), value);
    settings.sync();
    QCOMPARE(settings.status(), QSettings::NoError);
}

void TestCustomComboBox::expectLogLine(const QString &value)
{
    const QByteArray line = "Last selected serial port:  \"" + value.toUtf8() + '"';
    QTest::ignoreMessage(QtDebugMsg, line.constData());
}

void TestCustomComboBox::preselectsSavedPort_data()
{
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("lastSelected");
    QTest::addColumn<QByteArray>("ports");
    QTest::addColumn<QString>("expected");

    QTest::newRow("COM3 among COM1, COM3") << true << "COM3" << QByteArray("COM1:COM3") << "COM3";
    QTest::newRow("COM3 not taken for COM13")
        << true << "COM3" << QByteArray("COM1:COM13") << placeholder;
    QTest::newRow("COM1 before COM10") << true << "COM1" << QByteArray("COM1:COM10") << "COM1";
    QTest::newRow("COM1 after COM10") << true << "COM1" << QByteArray("COM10:COM1") << "COM1";
    QTest::newRow("pattern takes first fitting port")
        << true << "COM." << QByteArray("COM1:COM3") << "COM1";
    QTest::newRow("pattern skips ports it does not cover")
        << true << "COM." << QByteArray("COM10:COM3") << "COM3";
    QTest::newRow("invalid pattern") << true << "COM[" << QByteArray("COM1:COM3") << placeholder;
    QTest::newRow("saved port gone") << true << "COM7" << QByteArray("COM1:COM3") << placeholder;
    QTest::newRow("nothing saved") << false << QString() << QByteArray("COM1:COM3") << placeholder;
    QTest::newRow("saved port, no ports at all") << true << "COM3" << QByteArray() << placeholder;
}

void TestCustomComboBox::preselectsSavedPort()
{
    QFETCH(bool, saved);
    QFETCH(QString, lastSelected);
    QFETCH(QByteArray, ports);
    QFETCH(QString, expected);

    if (saved)
        saveLastSelected(lastSelected);
    qputenv("TAVRO_EXTRA_PORTS", ports);
    expectLogLine(lastSelected);
    // A pattern that does not compile must be turned away quietly, not run.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("QRegularExpression")));

    CustomComboBox combo;

    QCOMPARE(combo.currentText(), expected);
    if (expected == QLatin1String(placeholder))
        QCOMPARE(combo.currentIndex(), 0);
}

void TestCustomComboBox::listsPlaceholderThenPorts()
{
    qputenv("TAVRO_EXTRA_PORTS", "COM1:COM3");
    expectLogLine(QString());

    CustomComboBox combo;

    QCOMPARE(items(combo), QStringList{placeholder} + availableSerialPortNames());
    QCOMPARE(items(combo).mid(combo.count() - 2), QStringList({"COM1", "COM3"}));
    // Port names are the item texts themselves; nothing is kept as item data.
    QVERIFY(!combo.itemData(combo.count() - 1).isValid());
    auto *model = qobject_cast<QStringListModel *>(combo.model());
    QVERIFY(model);
    QCOMPARE(model->parent(), &combo);
}

void TestCustomComboBox::popupRebuildsListAndResetsChoice()
{
    saveLastSelected(QStringLiteral("COM3"));
    qputenv("TAVRO_EXTRA_PORTS", "COM1:COM3");
    expectLogLine(QStringLiteral("COM3"));
    CustomComboBox combo;
    QCOMPARE(combo.currentText(), QStringLiteral("COM3"));

    // A board plugged in after start-up.
    qputenv("TAVRO_EXTRA_PORTS", "COM1:COM3:COM7");
    QComboBox &asComboBox = combo;
    asComboBox.showPopup();
    asComboBox.hidePopup();

    QCOMPARE(items(combo), QStringList{placeholder} + availableSerialPortNames());
    QVERIFY(items(combo).contains(QStringLiteral("COM7")));
    QCOMPARE(combo.currentIndex(), 0);
    QCOMPARE(combo.currentText(), QLatin1String(placeholder));

    // Opening the list again and again must not pile up models.
    for (int i = 0; i < 5; ++i) {
        asComboBox.showPopup();
        asComboBox.hidePopup();
    }
    QCOMPARE(combo.findChildren<QAbstractItemModel *>(QString(), Qt::FindDirectChildrenOnly).size(),
             1);
}

QTEST_MAIN(TestCustomComboBox)
#include "tst_customcombobox.moc"
