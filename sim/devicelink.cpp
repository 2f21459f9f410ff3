#include "devicelink.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

DeviceLink::DeviceLink(const QString &path)
    : m_path(path)
{
}

DeviceLink::~DeviceLink()
{
    // Only our own link goes; a newer simulator may have taken the name over.
    const QFileInfo info(m_path);
    if (!m_target.isEmpty() && info.isSymLink() && info.symLinkTarget() == QFileInfo(m_target).absoluteFilePath())
        ::unlink(QFile::encodeName(m_path).constData());
}

bool DeviceLink::pointTo(const QString &target)
{
    const QFileInfo info(m_path);
    if (info.exists() && !info.isSymLink())
        return false;
    // Made beside the link and renamed over it, so the name never goes missing.
    const QByteArray path = QFile::encodeName(m_path);
    const QByteArray fresh = path + ".new-" + QByteArray::number(qint64(::getpid()));
    ::unlink(fresh.constData());
    if (::symlink(QFile::encodeName(target).constData(), fresh.constData()) != 0)
        return false;
    if (std::rename(fresh.constData(), path.constData()) != 0) {
        ::unlink(fresh.constData());
        return false;
    }
    m_target = target;
    return true;
}
