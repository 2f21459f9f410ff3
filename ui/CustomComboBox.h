#ifndef CUSTOMCOMBOBOX_H
#define CUSTOMCOMBOBOX_H

#include <QComboBox>

// The serial port picker of the settings panel: a placeholder followed by the
// ports available right now. The list is rebuilt every time it is opened, so a
// board plugged in after start-up can be chosen, and on construction the port
// used last time is preselected. A port used last time that is not there is
// kept, shown as missing, so that the board is found on it once it is back
// rather than on some other port.
class CustomComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit CustomComboBox(QWidget *parent = nullptr);

    // The name of the chosen port, as it is opened and saved; empty for the
    // placeholder.
    QString currentPort() const;

protected:
    // Rebuilds the list before opening it; this puts the placeholder back as
    // the current item, so the operator picks from the fresh list.
    void showPopup() override;

private:
    void rebuildPortList();
    void addMissingPort();
    int rowOfSavedPort(const QString &saved) const;

    // The port used last time, while it was missing at start.
    QString m_missingPort;
};

#endif // CUSTOMCOMBOBOX_H
