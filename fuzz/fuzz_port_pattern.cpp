// The port selector's stored pattern (serialPort/lastSelected in config.ini),
// matched against every listed port when the selector is made: no pattern may
// hang the window's start-up. The input is the pattern itself.

#include "CustomComboBox.h"
#include "fuzzqt.h"

#include <QDir>
#include <QSettings>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzQt::startWidgets();
    qputenv("TAVRO_EXTRA_PORTS", "/tmp/run/ttyTAVRO:/tmp/run/ttyPELLAN:ttyUSB0:ttyACM1:COM13:"
                                 "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The selector reads config.ini in the working folder; the fuzzer's own
    // paths are relative to the one it was started in.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(FuzzQt::scratchFolder());
    {
        QSettings settings(QStringLiteral("config.ini"), QSettings::IniFormat);
        settings.setValue(QStringLiteral("serialPort/lastSelected"),
                          QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    }
    delete new CustomComboBox;
    QDir::setCurrent(previous);
    return 0;
}
