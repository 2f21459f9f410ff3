#ifndef LANGUAGEMENU_H
#define LANGUAGEMENU_H

#include <QObject>

class QActionGroup;
class QMenu;
class QSettings;

// View ▸ Language: the system's language, English or one of the program's
// translations, each named in its own language. The choice is kept in
// config.ini as view/language and takes effect at the next start, since
// every text of the window is made in one language when it starts.
class LanguageMenu : public QObject
{
    Q_OBJECT

public:
    LanguageMenu(QMenu *viewMenu, QSettings &settings);

private:
    void choose(const QString &language);

    QSettings &m_settings;
};

#endif // LANGUAGEMENU_H
