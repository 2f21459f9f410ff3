#include "benchrun.h"

#include <QFile>
#include <QTemporaryDir>

std::optional<BenchOptions> parseBenchArguments(const QStringList &arguments, const QStringList &sections)
{
    BenchOptions options;
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        const QString &name = arguments.at(i);
        const QString &value = arguments.at(i + 1);
        bool ok = true;
        if (name == QLatin1String("--runs"))
            options.runs = value.toInt(&ok);
        else if (name == QLatin1String("--pause-scale"))
            options.pauseScale = value.toDouble(&ok);
        else if (name == QLatin1String("--only"))
            options.only = value;
        else
            return std::nullopt;
        if (!ok)
            return std::nullopt;
    }
    if (arguments.size() % 2 == 0 || options.runs < 1 || !(options.pauseScale >= 1)
        || !(options.only.isEmpty() || sections.contains(options.only)))
        return std::nullopt;
    return options;
}

bool allValid(const QList<Figure> &figures)
{
    for (const Figure &figure : figures) {
        if (!figure.valid)
            return false;
    }
    return true;
}

void useOwnUserFolders(const QTemporaryDir &folders)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folders.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(folders.filePath(QStringLiteral("data"))));
}
