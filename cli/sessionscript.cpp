#include "sessionscript.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <cstdio>

std::optional<QString> SessionScript::read(const QString &file, QString *error)
{
    QFile input(file);
    const bool opened = file.isEmpty() ? input.open(stdin, QIODevice::ReadOnly) : input.open(QIODevice::ReadOnly);
    if (!opened) {
        *error = QStringLiteral("cannot read %1: %2").arg(file, input.errorString());
        return std::nullopt;
    }
    return QString::fromUtf8(input.readAll());
}

std::optional<QList<LensRequest>> SessionScript::parse(BoardType board, const QString &text,
                                                       const LensProfile *profile, QString *error)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    QList<LensRequest> requests;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList words = lines.at(i).split(space, Qt::SkipEmptyParts);
        if (words.isEmpty() || words.first().startsWith(QLatin1Char('#')))
            continue;
        QString problem;
        std::optional<LensRequest> request = LensRequest::parse(board, words, profile, &problem);
        if (!request) {
            *error = QStringLiteral("line %1: %2").arg(i + 1).arg(problem);
            return std::nullopt;
        }
        requests.append(std::move(*request));
    }
    return requests;
}
