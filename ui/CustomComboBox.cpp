#include "CustomComboBox.h"

#include "serialportlist.h"

#include <QAbstractItemView>
#include <QDebug>
#include <QRegularExpression>
#include <QSettings>
#include <QStyle>

namespace {

// Item data beside the port's name: the device a stable name points to.
constexpr int deviceRole = Qt::UserRole + 1;

} // namespace

CustomComboBox::CustomComboBox(QWidget *parent)
    : QComboBox(parent)
{
    // The box shows the start of a long caption only; the whole caption and
    // the name of the chosen port are a hover away.
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        const QString port = currentPort();
        setToolTip(port.isEmpty() || port == currentText() ? port : currentText() + QLatin1Char('\n') + port);
    });
    QString lastSelected;
    {
        // Read once and let go: the window keeps its own settings object on
        // the same file and writes this key when the operator saves.
        const QSettings settings(QStringLiteral("config.ini"), QSettings::IniFormat);
        rebuildPortList();
        lastSelected = settings.value(QStringLiteral("serialPort/lastSelected")).toString();
    }
    qDebug() << "Last selected serial port: " << lastSelected;

    if (lastSelected.isEmpty())
        return;
    int row = rowOfSavedPort(lastSelected);
    if (row < 0) {
        // Not listed under its name, its device or as a pattern: missing.
        m_missingPort = lastSelected;
        addMissingPort();
        row = count() - 1;
    }
    setCurrentIndex(row);
}

QString CustomComboBox::currentPort() const
{
    return currentData().toString();
}

void CustomComboBox::showPopup()
{
    rebuildPortList();
    // A stable name is longer than the box: the list is as wide as its
    // longest caption.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 2 * view()->frameWidth());
    QComboBox::showPopup();
}

void CustomComboBox::rebuildPortList()
{
    // Clearing makes the placeholder, the first item added, current.
    clear();
    addItem(tr("Please select a valid port"));
    const QList<SerialPortEntry> ports = availableSerialPorts();
    for (const SerialPortEntry &port : ports) {
        addItem(serialPortLabel(port), port.name);
        setItemData(count() - 1, port.device, deviceRole);
    }
    if (!m_missingPort.isEmpty() && !isSerialPortListed(ports, m_missingPort))
        addMissingPort();
}

void CustomComboBox::addMissingPort()
{
    // The mark stays in sight however much of the caption the box cuts off.
    //: The port config.ini names, not there now: its name and, where known, its device.
    addItem(style()->standardIcon(QStyle::SP_MessageBoxWarning),
            tr("%1 (missing)").arg(serialPortLabel({m_missingPort, QString()})), m_missingPort);
}

int CustomComboBox::rowOfSavedPort(const QString &saved) const
{
    const int byName = findData(saved);
    if (byName >= 0)
        return byName;
    // Saved before the port had a stable name: the stable name is taken, and
    // kept from the next Save on.
    const QString device = serialPortDevice(saved);
    const int byDevice = device.isEmpty() ? -1 : findData(device, deviceRole);
    if (byDevice >= 0)
        return byDevice;
    // Otherwise the saved value is a pattern that must cover the whole port
    // name, so COM1 does not pick COM13. A pattern that does not compile
    // matches nothing.
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(saved));
    if (!pattern.isValid())
        return -1;
    for (int row = 1; row < count(); ++row) {
        if (pattern.match(itemData(row).toString()).hasMatch())
            return row;
    }
    return -1;
}
