#include "languagemenu.h"

#include "languagetranslators.h"
#include "operatorreport.h"
#include "settingsfile.h"

#include <QActionGroup>
#include <QLocale>
#include <QMenu>
#include <QSettings>

LanguageMenu::LanguageMenu(QMenu *viewMenu, QSettings &settings)
    : QObject(viewMenu)
    , m_settings(settings)
{
    QMenu *menu = viewMenu->addMenu(tr("Language"));
    menu->setObjectName(QStringLiteral("menuLanguage"));
    auto *group = new QActionGroup(menu);
    const QString configured = LanguageTranslators::configured(m_settings);
    const auto add = [this, menu, group, &configured](const QString &text, const QString &language) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QStringLiteral("action_language_") + (language.isEmpty() ? QStringLiteral("system") : language));
        action->setCheckable(true);
        action->setChecked(language == configured);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, language] { choose(language); });
    };
    add(tr("System language"), QString());
    // Each language in its own words, so that an operator who cannot read the
    // window's present language still finds their own.
    add(QStringLiteral("English"), QStringLiteral("en"));
    const QStringList languages = LanguageTranslators::available();
    for (const QString &language : languages) {
        const QString name = QLocale(language).nativeLanguageName();
        add(name.left(1).toUpper() + name.mid(1), language);
    }
}

void LanguageMenu::choose(const QString &language)
{
    if (LanguageTranslators::configured(m_settings) == language)
        return;
    m_settings.setValue(QStringLiteral("view/language"), language);
    if (SettingsFile::writeBack(m_settings))
        OperatorReport::show(OperatorReport::Severity::Information,
                             tr("The new language takes effect at the next start."));
}
