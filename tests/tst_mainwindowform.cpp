#include "../ui/ui_mainwindow.h"

#include "mainwindow.h"

#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The slots the form connects by signature, in the order the form connects
// them, with the sender of each.
const QList<QPair<const char *, const char *>> formConnections = {
    {"pb_zoomWide", "zoomWideClicked()"},
    {"pb_zoomTele", "zoomTeleClicked()"},
    {"pb_zoomStop", "zoomStopClicked()"},
    {"pb_focusNear", "focusNearClicked()"},
    {"pb_focusFar", "focusFarClicked()"},
    {"pb_focusStop", "focusStopClicked()"},
    {"pb_calibrateAll", "calibrateAllClicked()"},
    {"pb_irisClose", "irisCloseClicked()"},
    {"pb_irisOpen", "irisOpenClicked()"},
    {"pb_irisStop", "irisStopClicked()"},
    {"pb_zoomPlus", "zoomPlusClicked()"},
    {"pb_zoomMinus", "zoomMinusClicked()"},
    {"pb_focusPlus", "focusPlusClicked()"},
    {"cb_controller", "initSettings()"},
    {"pb_focusMinus", "focusMinusClicked()"},
    {"pb_irisPlus", "irisPlusClicked()"},
    {"pb_irisMinus", "irisMinusClicked()"},
};

} // namespace

// Stands in for the real window so the form's wiring is seen on its own:
// every slot the form may reach records its name.
class RecordingWindow : public QMainWindow
{
    Q_OBJECT

public:
    QStringList calls;

public slots:
    void zoomWideClicked() { calls << "zoomWideClicked()"; }
    void zoomTeleClicked() { calls << "zoomTeleClicked()"; }
    void zoomStopClicked() { calls << "zoomStopClicked()"; }
    void focusNearClicked() { calls << "focusNearClicked()"; }
    void focusFarClicked() { calls << "focusFarClicked()"; }
    void focusStopClicked() { calls << "focusStopClicked()"; }
    void calibrateAllClicked() { calls << "calibrateAllClicked()"; }
    void irisCloseClicked() { calls << "irisCloseClicked()"; }
    void irisOpenClicked() { calls << "irisOpenClicked()"; }
    void irisStopClicked() { calls << "irisStopClicked()"; }
    void zoomPlusClicked() { calls << "zoomPlusClicked()"; }
    void zoomMinusClicked() { calls << "zoomMinusClicked()"; }
    void focusPlusClicked() { calls << "focusPlusClicked()"; }
    void focusMinusClicked() { calls << "focusMinusClicked()"; }
    void irisPlusClicked() { calls << "irisPlusClicked()"; }
    void irisMinusClicked() { calls << "irisMinusClicked()"; }
    void initSettings() { calls << "initSettings()"; }
};

class TestMainWindowForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void formSignalsReachTheirSlots_data();
    void formSignalsReachTheirSlots();
    void otherButtonsAreLeftToTheWindow();
    void windowDeclaresEveryFormSlot();
    void regionsStayPutWhenResized();
    void storeButtonStyle();
    void sliderRangesBeforeAnyBoard();

private:
    QString m_originalDirectory;
    std::unique_ptr<QTemporaryDir> m_directory;
    std::unique_ptr<RecordingWindow> m_window;
    std::unique_ptr<Ui::MainWindow> m_ui;
};

void TestMainWindowForm::init()
{
    // The port selector in the form reads config.ini from the working
    // directory; give it an empty one of its own.
    m_originalDirectory = QDir::currentPath();
    m_directory = std::make_unique<QTemporaryDir>();
    QVERIFY(m_directory->isValid());
    QVERIFY(QDir::setCurrent(m_directory->path()));
    // A connection the form cannot make is only a warning at run time.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^QObject::connect")));
    QTest::ignoreMessage(QtDebugMsg, "Last selected serial port:  \"\"");

    m_window = std::make_unique<RecordingWindow>();
    m_ui = std::make_unique<Ui::MainWindow>();
    m_ui->setupUi(m_window.get());
}

void TestMainWindowForm::cleanup()
{
    m_ui.reset();
    m_window.reset();
    QDir::setCurrent(m_originalDirectory);
    m_directory.reset();
}

void TestMainWindowForm::formSignalsReachTheirSlots_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("slot");
    for (const auto &[sender, slot] : formConnections)
        QTest::newRow(sender) << QString::fromLatin1(sender) << QString::fromLatin1(slot);
}

void TestMainWindowForm::formSignalsReachTheirSlots()
{
    QFETCH(QString, sender);
    QFETCH(QString, slot);

    if (auto *button = m_window->findChild<QPushButton *>(sender)) {
        button->click();
    } else {
        auto *combo = m_window->findChild<QComboBox *>(sender);
        QVERIFY(combo);
        combo->addItems({"first", "second"});
        m_window->calls.clear();
        combo->setCurrentIndex(1);
    }

    QCOMPARE(m_window->calls, QStringList{slot});
}

void TestMainWindowForm::otherButtonsAreLeftToTheWindow()
{
    // Presets, Refresh, Store, Save, Cancel and Test are connected by the
    // window itself; a second connection from the form would run them twice.
    const auto buttons = m_window->findChildren<QPushButton *>();
    // Lens control 17, presets 20, Store in device, Test, Save and Cancel.
    QCOMPARE(buttons.size(), 17 + 20 + 4);
    for (QPushButton *button : buttons) {
        const bool formConnected =
            std::any_of(formConnections.begin(), formConnections.end(), [&](const auto &c) {
                return button->objectName() == QLatin1String(c.first);
            });
        if (formConnected)
            continue;
        button->click();
        QVERIFY2(m_window->calls.isEmpty(), qPrintable(button->objectName()));
    }
}

void TestMainWindowForm::windowDeclaresEveryFormSlot()
{
    for (const auto &[sender, slot] : formConnections) {
        QVERIFY2(MainWindow::staticMetaObject.indexOfSlot(slot) >= 0, slot);
    }
}

void TestMainWindowForm::regionsStayPutWhenResized()
{
    const QList<QWidget *> regions = {m_ui->groupBox_lensControl, m_ui->groupBox_presets,
                                      m_ui->groupBox_12,          m_ui->pb_storeInDevice,
                                      m_ui->lbl_pixmap,           m_ui->lbl_corvaneLink};
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QList<QRect> before;
    for (QWidget *region : regions)
        before << region->geometry();
    QCOMPARE(before.first(), QRect(10, 10, 691, 351));

    for (const QSize size : {QSize(1400, 1000), QSize(500, 400)}) {
        m_window->resize(size);
        QCoreApplication::processEvents();
        for (int i = 0; i < regions.size(); ++i)
            QCOMPARE(regions.at(i)->geometry(), before.at(i));
    }
}

void TestMainWindowForm::storeButtonStyle()
{
    // Tabs, line feeds and the spaces before the closing braces are part of
    // the text; a form editor that normalises whitespace would lose them.
    QCOMPARE(m_ui->pb_storeInDevice->styleSheet(),
             QStringLiteral("QPushButton#pb_storeInDevice {\n\tbackground-color: #FF9031;\n"
                            "\tborder-radius: 5px;\n\tborder: 1px solid #d2d2d2;\n"
                            "\tcolor: white;\n }\nQPushButton#pb_storeInDevice:disabled {\n"
                            "     background-color: #eeeeee;\n\tcolor: black\n }\n\n"
                            "QPushButton#pb_storeInDevice:pressed {\n"
                            "     background-color: #EF8021;\n }\n"
                            "QPushButton#pb_storeInDevice:hover {\n }\n"));
    QVERIFY(!m_ui->pb_storeInDevice->autoFillBackground());
}

void TestMainWindowForm::sliderRangesBeforeAnyBoard()
{
    QCOMPARE(m_ui->hs_motor1->maximum(), 7350);
    QCOMPARE(m_ui->hs_motor2->maximum(), 100);
    QCOMPARE(m_ui->hs_motor3->maximum(), 100);
    for (QSlider *slider : {m_ui->hs_motor1, m_ui->hs_motor2, m_ui->hs_motor3}) {
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->orientation(), Qt::Horizontal);
    }
}

QTEST_MAIN(TestMainWindowForm)
#include "tst_mainwindowform.moc"
