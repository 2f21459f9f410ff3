#ifndef GAMEPADDIALOG_H
#define GAMEPADDIALOG_H

#include "padlayout.h"

#include <QDialog>

#include <array>

class PadCapture;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// View ▸ Gamepad…: which pad control does what. Each action shows its control
// in a list to choose from; its Bind button takes the next control moved or
// pressed on the pad instead. A control taken from another action leaves that
// one the control this action had, where it fits. Runs can be inverted; the
// dead zone and the speed edges are set in per cent of the stick's travel.
class GamepadDialog : public QDialog
{
    Q_OBJECT

public:
    // capture is the pad to ask, none where the program has no gamepads.
    GamepadDialog(const PadLayout &layout, PadCapture *capture, QWidget *parent = nullptr);
    ~GamepadDialog() override;

    PadLayout layout() const { return m_layout; }
    void done(int result) override;

private:
    void bind(PadAction action, int control);
    void listen(PadAction action);
    void stopListening();
    // The widgets show m_layout.
    void showLayout();

    PadLayout m_layout;
    PadCapture *m_capture;
    // The action waiting for a pad control, if any.
    int m_listening = -1;
    std::array<QComboBox *, padActionCount> m_controls{};
    std::array<QPushButton *, padActionCount> m_bindButtons{};
    std::array<QCheckBox *, padActionCount> m_inverted{};
    QSpinBox *m_deadZone;
    QSpinBox *m_mediumFrom;
    QSpinBox *m_highFrom;
    QLabel *m_message;
};

#endif // GAMEPADDIALOG_H
