#include "CustomComboBox.h"

#include "serialportlist.h"

#include <QDebug>
#include <QRegularExpression>
#include <QSettings>
#include <QStringListModel>

CustomComboBox::CustomComboBox(QWidget *parent)
    : QComboBox(parent)
{
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

    // The saved value is taken as a pattern that must cover the whole port
    // name, so COM3 does not pick COM13. A pattern that does not compile
    // matches nothing and leaves the placeholder current.
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(lastSelected));
    if (!pattern.isValid())
        return;
    for (int row = 0; row < count(); ++row) {
        if (pattern.match(itemText(row)).hasMatch()) {
            setCurrentIndex(row);
            return;
        }
    }
}

void CustomComboBox::showPopup()
{
    rebuildPortList();
    QComboBox::showPopup();
}

void CustomComboBox::rebuildPortList()
{
    clear();
    QStringList items{tr("Please select a valid port")};
    items << availableSerialPortNames();
    // setModel deletes the previous model, which is also our child, and makes
    // the placeholder current.
    auto *model = new QStringListModel(this);
    model->setStringList(items);
    setModel(model);
}
