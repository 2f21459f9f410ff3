#ifndef LANGUAGETRANSLATORS_H
#define LANGUAGETRANSLATORS_H

#include <QString>
#include <QTranslator>

class QSettings;

// The window's texts in the operator's language: the program's own
// translation and Qt's for its standard buttons and dialogs, installed into
// the application for as long as this object lives. English is the source
// language and needs neither.
class LanguageTranslators
{
public:
    // "de", "en", or empty for the system's language.
    explicit LanguageTranslators(const QString &language);
    ~LanguageTranslators();
    LanguageTranslators(const LanguageTranslators &) = delete;
    LanguageTranslators &operator=(const LanguageTranslators &) = delete;

    // The language config.ini asks for: view/language, empty for the system's.
    static QString configured(const QSettings &settings);

private:
    QTranslator m_program;
    QTranslator m_qt;
};

#endif // LANGUAGETRANSLATORS_H
