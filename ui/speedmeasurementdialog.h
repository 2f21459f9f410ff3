#ifndef SPEEDMEASUREMENTDIALOG_H
#define SPEEDMEASUREMENTDIALOG_H

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// Shown over the window while Lens ▸ Measure speeds… runs: what it does, a
// bar that fills a step for each speed measured, the speeds as they come
// and Cancel. Like the window's progress dialog it is not modal to Qt (the
// operation drops the window's input anyway, and a modal dialog would make
// Qt drop the close requests the window system sends the window, which call
// the measurement off). Cancel, Escape and closing the dialog call it off.
class SpeedMeasurementDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SpeedMeasurementDialog(QWidget *window);

    // A measurement of count speeds begins.
    void start(int count);
    void addLine(const QString &line);

    void reject() override;

signals:
    void cancelRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_step;
    QProgressBar *m_bar;
    QPlainTextEdit *m_lines;
    QPushButton *m_cancel;
};

#endif // SPEEDMEASUREMENTDIALOG_H
