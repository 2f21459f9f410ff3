#ifndef TRAFFICWINDOW_H
#define TRAFFICWINDOW_H

#include "exchangerecord.h"

#include <QList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QTableView;
class TrafficModel;

namespace ExchangeLog {
class Subscription;
}

// What went over the wire, decoded: a window of its own, beside the main one,
// listing every exchange with the board while it is open. An exchange costs no
// more than a copy of its record; the list takes the records in batches. While
// paused it keeps them without showing them. Closed, it keeps nothing and
// listens to nothing.
class TrafficWindow : public QWidget
{
    Q_OBJECT

public:
    // Asks where Save… writes and calls chosen with the file, unless the
    // operator cancels. Must not wait for the answer in an event loop of its
    // own: the drivers may be waiting for the board meanwhile.
    using FileChooser = std::function<void(QWidget *parent, std::function<void(const QString &path)> chosen)>;

    // How long a record waits, at most, before the list shows it.
    static constexpr int batchMs = 100;

    explicit TrafficWindow(QWidget *parent = nullptr);
    ~TrafficWindow() override;

    // Replaces the file dialog of Save… (tests choose without one); an empty
    // chooser restores the dialog.
    void setFileChooser(FileChooser chooser);

    // Shows the window, the first time beside its parent's window, and raises it.
    void open();

    TrafficModel *model() const { return m_model; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void heard(const ExchangeRecord &record);
    void showPending();
    void setPaused(bool paused);
    void clear();
    void copySelection();
    void save();
    void saveTo(const QString &path);
    void placeBesideParent();

    TrafficModel *m_model;
    QTableView *m_view;
    QPushButton *m_pause;
    QLabel *m_status;
    QTimer m_batch;
    QList<ExchangeRecord> m_pending;
    std::unique_ptr<ExchangeLog::Subscription> m_subscription;
    FileChooser m_fileChooser;
    bool m_placed = false;
    bool m_following = true;
};

#endif // TRAFFICWINDOW_H
