#ifndef CUSTOMCOMBOBOX_H
#define CUSTOMCOMBOBOX_H

#include <QComboBox>

// The serial port picker of the settings panel: a placeholder followed by the
// ports available right now. The list is rebuilt every time it is opened, so a
// board plugged in after start-up can be chosen, and on construction the port
// used last time is preselected.
class CustomComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit CustomComboBox(QWidget *parent = nullptr);

protected:
    // Rebuilds the list before opening it; this puts the placeholder back as
    // the current item, so the operator picks from the fresh list.
    void showPopup() override;

private:
    void rebuildPortList();
};

#endif // CUSTOMCOMBOBOX_H
