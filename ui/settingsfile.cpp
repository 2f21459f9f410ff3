#include "settingsfile.h"

#include "operatorreport.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QSettings>
#include <QTemporaryFile>

namespace {

// Why the file cannot be written the way QSettings writes it: the file itself
// opened for writing, and a new file made beside it (the new contents go to a
// new file renamed over the old one). Empty when both can be done.
QString whyUnwritable(const QString &path)
{
    QFile file(path);
    if (file.exists() && !file.open(QIODevice::ReadWrite))
        return file.errorString();
    QTemporaryFile beside(path);
    if (!beside.open())
        return beside.errorString();
    return QString();
}

} // namespace

bool SettingsFile::writeBack(QSettings &settings)
{
    // Once failed, QSettings reports the failure for good, even after the file
    // has been written; only a failure of this very write is news.
    const bool failedBefore = settings.status() != QSettings::NoError;
    settings.sync();
    const char *const refused = QT_TRANSLATE_NOOP("SettingsFile", "the system refused the write");
    QString reason = whyUnwritable(settings.fileName());
    const bool writeRefused = reason.isEmpty() && !failedBefore && settings.status() != QSettings::NoError;
    if (writeRefused)
        reason = QCoreApplication::translate("SettingsFile", refused);
    if (reason.isEmpty())
        return true;
    // The trace in English, the operator's box in the window's language.
    qCritical() << "Could not write the settings file: " << settings.fileName()
                << (writeRefused ? QString::fromLatin1(refused) : reason);
    //: %1 is the file, %2 the system's reason.
    OperatorReport::show(OperatorReport::Severity::Warning,
                         QCoreApplication::translate("SettingsFile",
                                                     "The settings file %1 cannot be written: %2.\n\n"
                                                     "The choices made in this window will not be kept. "
                                                     "Start the program from a folder you may write to.")
                             .arg(settings.fileName(), reason));
    return false;
}
