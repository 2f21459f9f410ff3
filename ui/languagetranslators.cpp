#include "languagetranslators.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>

namespace {

const QString kFolder = QStringLiteral(":/i18n");
const QString kProgram = QStringLiteral("tavro-lens-controller_");

bool isEnglish(const QString &language)
{
    return language == QLatin1String("C") || language == QLatin1String("en")
        || language.startsWith(QLatin1String("en_"));
}

} // namespace

LanguageTranslators::LanguageTranslators(const QString &language)
    : m_language(choose(language, systemLanguages(), available()))
{
    // A decimal separator as the window's words have it; no thousands
    // grouping, shown or read: "35,5 mm" typed in English is no 355 mm.
    QLocale locale = m_language.isEmpty() ? QLocale(QLocale::English, QLocale::UnitedStates) : QLocale(m_language);
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    QLocale::setDefault(locale);
    if (m_language.isEmpty()) {
        qInfo() << "Language: English";
        return;
    }
    qInfo() << "Language:" << m_language;
    if (m_program.load(kProgram + m_language, kFolder))
        QCoreApplication::installTranslator(&m_program);
    // Qt's own texts only with the program's, so that a window is not half in
    // one language; where the system lacks them, its buttons stay English.
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (m_qt.load(QStringLiteral("qtbase_") + m_language, qtFolder))
        QCoreApplication::installTranslator(&m_qt);
    else
        qWarning() << "Qt's own translation not found:" << QDir(qtFolder).filePath(QStringLiteral("qtbase_") + m_language);
}

LanguageTranslators::~LanguageTranslators()
{
    QCoreApplication::removeTranslator(&m_qt);
    QCoreApplication::removeTranslator(&m_program);
}

QString LanguageTranslators::configured(const QSettings &settings)
{
    return settings.value(QStringLiteral("view/language")).toString();
}

QStringList LanguageTranslators::available()
{
    // Told by name here, not by a wildcard filter: a filter compiles a regular
    // expression, and that alone costs the window half a megabyte at start.
    const QString suffix = QStringLiteral(".qm");
    QStringList languages;
    const QStringList files = QDir(kFolder).entryList(QDir::Files, QDir::Name);
    for (const QString &file : files) {
        if (file.startsWith(kProgram) && file.endsWith(suffix))
            languages << file.mid(kProgram.size()).chopped(suffix.size());
    }
    return languages;
}

QStringList LanguageTranslators::systemLanguages()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // As the C library picks the language of messages: LC_ALL, LC_MESSAGES or
    // LANG names the locale, and unless that is C or POSIX, the list in
    // LANGUAGE goes before it.
    QString locale;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(name);
        if (!locale.isEmpty())
            break;
    }
    const QString base = locale.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    if (base.isEmpty() || base == QLatin1String("C") || base == QLatin1String("POSIX"))
        return {QStringLiteral("C")};
    return qEnvironmentVariable("LANGUAGE").split(QLatin1Char(':'), Qt::SkipEmptyParts) << base;
#else
    return QLocale::system().uiLanguages();
#endif
}

QString LanguageTranslators::choose(const QString &configured, const QStringList &systemLanguages,
                                    const QStringList &available)
{
    if (!configured.isEmpty()) {
        if (available.contains(configured))
            return configured;
        if (configured != QLatin1String("en"))
            qWarning() << "Unknown language in config.ini view/language, English instead:" << configured;
        return QString();
    }
    for (const QString &wanted : systemLanguages) {
        // "de-Latn-DE" is tried as de_Latn_DE, de_Latn and de.
        QString language = QString(wanted).replace(QLatin1Char('-'), QLatin1Char('_'));
        for (;;) {
            if (isEnglish(language))
                return QString();
            if (available.contains(language))
                return language;
            const qsizetype cut = language.lastIndexOf(QLatin1Char('_'));
            if (cut <= 0)
                break;
            language.truncate(cut);
        }
    }
    return QString();
}
