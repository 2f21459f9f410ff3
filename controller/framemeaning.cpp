#include "framemeaning.h"

QString FrameMeaning::hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString FrameMeaning::extraBytes(qsizetype count)
{
    return count == 1 ? QStringLiteral(" (+1 byte)") : QStringLiteral(" (+%1 bytes)").arg(count);
}
