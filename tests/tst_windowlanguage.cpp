#include "languagetranslators.h"
#include "lenswindow.h"
#include "operatorreport.h"
#include "startconfig.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

class TestWindowLanguage : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<LanguageTranslators> m_translators;
    std::unique_ptr<LensWindow> m_window;

    // The window as the program starts it, under a session's locale and view/language.
    void start(const QString &configured, const QString &system)
    {
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
            qunsetenv(name);
        for (const QString &variable : system.split(QLatin1Char(' ')))
            qputenv(qPrintable(variable.section(QLatin1Char('='), 0, 0)), variable.section(QLatin1Char('='), 1).toLatin1());
        QSettings config(QStringLiteral("config.ini"), QSettings::IniFormat);
        if (!configured.isNull())
            config.setValue(QStringLiteral("view/language"), configured);
        m_translators = std::make_unique<LanguageTranslators>(LanguageTranslators::configured(config));
        m_window = std::make_unique<LensWindow>();
    }
    template<typename T> T *w(const char *name) { return m_window->findChild<T *>(QLatin1String(name)); }

private slots:
    void init() { QVERIFY(m_folder = enterFreshFolder()); }
    void cleanup() { m_window.reset(); OperatorReport::setReporter(OperatorReport::Reporter()); }

    // Save is the program's translation; the Help list's key names and Close are Qt's.
    void windowFollowsConfigThenSystem_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("system");
        QTest::addColumn<bool>("german");

        QTest::newRow("de in config under C.UTF-8") << "de" << "LANG=C.UTF-8" << true;
        QTest::newRow("en in config under de_DE") << "en" << "LANG=de_DE.UTF-8" << false;
        QTest::newRow("empty under de_DE") << "" << "LANG=de_DE.UTF-8" << true;
        QTest::newRow("no key under de_AT") << QString() << "LANG=de_AT.UTF-8" << true;
        QTest::newRow("LANGUAGE de:en over en_US") << "" << "LANGUAGE=de:en LANG=en_US.UTF-8" << true;
        QTest::newRow("LANGUAGE fr:de, no French") << "" << "LANGUAGE=fr:de LANG=fr_FR.UTF-8" << true;
        QTest::newRow("LANGUAGE en:de over de_DE") << "" << "LANGUAGE=en:de LANG=de_DE.UTF-8" << false;
        QTest::newRow("LC_MESSAGES de_DE over en_US") << "" << "LC_MESSAGES=de_DE.UTF-8 LANG=en_US.UTF-8" << true;
        QTest::newRow("LC_ALL C.UTF-8 over de_DE") << "" << "LC_ALL=C.UTF-8 LANG=de_DE.UTF-8" << false;
        QTest::newRow("C.UTF-8 ignores LANGUAGE de") << "" << "LANGUAGE=de LANG=C.UTF-8" << false;
        QTest::newRow("POSIX") << "" << "LANG=POSIX" << false;
        QTest::newRow("fr_FR, no French") << "" << "LANG=fr_FR.UTF-8" << false;
        QTest::newRow("unknown in config under de_DE") << "xx" << "LANG=de_DE.UTF-8" << false;
    }
    void windowFollowsConfigThenSystem()
    {
        QFETCH(QString, configured);
        QFETCH(QString, system);
        QFETCH(bool, german);
        if (configured == QLatin1String("xx"))
            QTest::ignoreMessage(QtWarningMsg, "Unknown language in config.ini view/language, English instead: \"xx\"");
        start(configured, system);

        QCOMPARE(m_translators->language(), german ? QStringLiteral("de") : QString());
        QCOMPARE(w<QPushButton>("pb_settingsMultiButton")->text(), german ? "Speichern" : "Save");
        // Typed and shown lens values take the language's decimal separator.
        QCOMPARE(m_window->locale().decimalPoint(), german ? "," : ".");
        w<QAction>("action_keyboardControls")->trigger();
        const QString keys = w<QDialog>("keyboardControls")->findChild<QLabel *>()->text();
        QVERIFY2(keys.contains(german ? QStringLiteral("Strg+R") : QStringLiteral("Ctrl+R")), qPrintable(keys));
        QCOMPARE(w<QDialog>("keyboardControls")->findChild<QPushButton *>()->text(), german ? "Schließen" : "Close");
        const QString entry = configured.isEmpty() ? QStringLiteral("system") : configured;
        for (const QAction *action : w<QMenu>("menuLanguage")->actions())
            QCOMPARE(action->isChecked(), action->objectName() == QLatin1String("action_language_") + entry);
    }

    // Written at once, in effect from the next start on.
    void languageMenuWritesConfig_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QByteArray>("written");

        QTest::newRow("Deutsch") << "action_language_de" << QByteArray("\nlanguage=de\n");
        QTest::newRow("English") << "action_language_en" << QByteArray("\nlanguage=en\n");
        QTest::newRow("system language, already chosen") << "action_language_system" << QByteArray();
    }
    void languageMenuWritesConfig()
    {
        QFETCH(QString, entry);
        QFETCH(QByteArray, written);
        QStringList told;
        OperatorReport::setReporter([&told](OperatorReport::Severity, const QString &text) { told << text; });
        start(QString(), QStringLiteral("LANG=C.UTF-8"));

        QCOMPARE(w<QAction>("action_language_de")->text(), QStringLiteral("Deutsch"));
        w<QAction>(qPrintable(entry))->trigger();

        QFile config(QStringLiteral("config.ini"));
        const QByteArray text = config.open(QIODevice::ReadOnly) ? config.readAll() : QByteArray("<no file>");
        QVERIFY2(written.isEmpty() ? !text.contains("language=") : text.contains(written), text.constData());
        QCOMPARE(told, written.isEmpty() ? QStringList() : QStringList{"The new language takes effect at the next start."});
        // The menu ticks the choice alone.
        for (const QAction *action : w<QMenu>("menuLanguage")->actions())
            QCOMPARE(action->isChecked(), action->objectName() == entry);
    }
};

QTEST_MAIN(TestWindowLanguage)
#include "tst_windowlanguage.moc"
