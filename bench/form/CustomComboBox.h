#ifndef CUSTOMCOMBOBOX_H
#define CUSTOMCOMBOBOX_H

#include <QComboBox>

// The form's port picker as the form baseline shows it: the box alone,
// without the window's port scan and the port read from config.ini.
class CustomComboBox : public QComboBox
{
public:
    using QComboBox::QComboBox;
};

#endif // CUSTOMCOMBOBOX_H
