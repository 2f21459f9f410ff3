#ifndef LANGUAGETRANSLATORS_H
#define LANGUAGETRANSLATORS_H

#include <QString>
#include <QStringList>
#include <QTranslator>

class QSettings;

// The window's texts in the operator's language: the program's own
// translation and Qt's for its standard buttons and dialogs, installed into
// the application for as long as this object lives. English is the source
// language and needs neither. Numbers follow the language (a decimal comma in
// German): every widget made from then on has the language's locale.
class LanguageTranslators
{
public:
    // "de", "en", or empty for the system's language.
    explicit LanguageTranslators(const QString &language);
    ~LanguageTranslators();
    LanguageTranslators(const LanguageTranslators &) = delete;
    LanguageTranslators &operator=(const LanguageTranslators &) = delete;

    // The language the window is shown in: one of available(), or empty for
    // English.
    QString language() const { return m_language; }

    // The language config.ini asks for: view/language, empty for the system's.
    static QString configured(const QSettings &settings);
    // The languages the program has a translation for, such as "de"; English,
    // the source, is not among them.
    static QStringList available();
    // The system's languages, most wanted first, as the desktop asks for them;
    // "C" for a C or POSIX locale, which means English whatever LANGUAGE says.
    static QStringList systemLanguages();
    // Which of available() a configured value and the system's languages ask
    // for, or empty for English: a configured "en" or one of available(), else
    // the first of the system's languages, or its base language, that is
    // English or translated. An unknown configured value is English.
    static QString choose(const QString &configured, const QStringList &systemLanguages,
                          const QStringList &available);

private:
    QString m_language;
    QTranslator m_program;
    QTranslator m_qt;
};

#endif // LANGUAGETRANSLATORS_H
