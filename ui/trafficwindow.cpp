#include "trafficwindow.h"

#include "exchangelog.h"
#include "trafficmodel.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSaveFile>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A field as a CSV reader takes it back: quoted when it holds a separator, a
// quote or a line break, with its quotes doubled.
QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString csvLine(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &field : fields)
        quoted << csvField(field);
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

// A window-modal dialog that reports its choice by signal: no event loop of its
// own.
void chooseWithDialog(QWidget *parent, std::function<void(const QString &)> chosen)
{
    auto *dialog = new QFileDialog(parent, TrafficWindow::tr("Save the traffic"), QString(),
                                   TrafficWindow::tr("CSV files (*.csv);;All files (*)"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->selectFile(QStringLiteral("traffic.csv"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QFileDialog::fileSelected, parent, std::move(chosen));
    dialog->open();
}

QString rowsText(qsizetype count)
{
    return count == 1 ? TrafficWindow::tr("1 row") : TrafficWindow::tr("%n rows", nullptr, int(count));
}

} // namespace

TrafficWindow::TrafficWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_model(new TrafficModel(this))
    , m_view(new QTableView(this))
    , m_pause(new QPushButton(tr("Pause"), this))
    , m_status(new QLabel(this))
    , m_fileChooser(chooseWithDialog)
{
    setWindowTitle(tr("Traffic"));
    setObjectName(QStringLiteral("trafficWindow"));

    m_view->setObjectName(QStringLiteral("tv_traffic"));
    m_view->setAccessibleName(tr("Exchanges with the board"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    // Rows of one height need no measuring, however many there are.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    QHeaderView *columns = m_view->horizontalHeader();
    const QList<int> widths{115, 55, 150, 185, 150, 170, 100, 45};
    for (int column = 0; column < widths.size(); ++column)
        columns->resizeSection(column, widths.at(column));
    columns->setStretchLastSection(true);

    m_pause->setObjectName(QStringLiteral("pb_pause"));
    m_pause->setCheckable(true);
    auto *clearButton = new QPushButton(tr("Clear"), this);
    clearButton->setObjectName(QStringLiteral("pb_clear"));
    auto *copyButton = new QPushButton(tr("Copy"), this);
    copyButton->setObjectName(QStringLiteral("pb_copy"));
    auto *saveButton = new QPushButton(tr("Save…"), this);
    saveButton->setObjectName(QStringLiteral("pb_save"));
    m_status->setObjectName(QStringLiteral("lbl_status"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_pause);
    buttons->addWidget(clearButton);
    buttons->addWidget(copyButton);
    buttons->addWidget(saveButton);
    buttons->addWidget(m_status, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);

    m_batch.setSingleShot(true);
    m_batch.setInterval(batchMs);
    connect(&m_batch, &QTimer::timeout, this, &TrafficWindow::showPending);
    connect(m_pause, &QPushButton::toggled, this, &TrafficWindow::setPaused);
    connect(clearButton, &QPushButton::clicked, this, &TrafficWindow::clear);
    connect(copyButton, &QPushButton::clicked, this, &TrafficWindow::copySelection);
    connect(saveButton, &QPushButton::clicked, this, &TrafficWindow::save);
    // The newest exchange stays in sight until the operator scrolls up, and
    // again from when they scroll back to the bottom. Following is kept apart
    // from where the scroll bar happens to be: the bottom moves on its own
    // whenever the list's size changes, as when the first screenful brings in
    // the scroll bars and the columns no longer fit beside them.
    QScrollBar *scrollBar = m_view->verticalScrollBar();
    connect(scrollBar, &QScrollBar::valueChanged, this,
            [this, scrollBar](int value) { m_following = value == scrollBar->maximum(); });
    connect(scrollBar, &QScrollBar::rangeChanged, this, [this, scrollBar](int, int maximum) {
        if (m_following)
            scrollBar->setValue(maximum);
    });
    resize(1000, 420);
}

TrafficWindow::~TrafficWindow() = default;

void TrafficWindow::setFileChooser(FileChooser chooser)
{
    m_fileChooser = chooser ? std::move(chooser) : FileChooser(chooseWithDialog);
}

void TrafficWindow::open()
{
    if (!m_placed) {
        placeBesideParent();
        m_placed = true;
    }
    show();
    raise();
    activateWindow();
}

// Shown again after being minimised, the window is still listening.
void TrafficWindow::showEvent(QShowEvent *event)
{
    if (!m_subscription)
        m_subscription = std::make_unique<ExchangeLog::Subscription>(
            [this](const ExchangeRecord &record) { heard(record); });
    QWidget::showEvent(event);
}

void TrafficWindow::closeEvent(QCloseEvent *event)
{
    m_subscription.reset();
    m_batch.stop();
    m_pending.clear();
    m_model->clear();
    m_pause->setChecked(false);
    m_status->clear();
    QWidget::closeEvent(event);
}

// Called in the middle of the drivers' work: keeps the record, nothing more.
void TrafficWindow::heard(const ExchangeRecord &record)
{
    m_pending.append(record);
    if (m_pending.size() > TrafficModel::capacity)
        m_pending.removeFirst();
    if (!m_pause->isChecked() && !m_batch.isActive())
        m_batch.start();
}

void TrafficWindow::showPending()
{
    if (m_pending.isEmpty())
        return;
    m_model->append(m_pending);
    m_pending.clear();
}

void TrafficWindow::setPaused(bool paused)
{
    if (paused) {
        m_batch.stop();
        m_status->setText(tr("Paused: new exchanges are kept but not shown."));
    } else {
        m_status->clear();
        showPending();
    }
}

void TrafficWindow::clear()
{
    m_pending.clear();
    m_model->clear();
}

// The selected rows, top to bottom, tab-separated, one line each.
void TrafficWindow::copySelection()
{
    QModelIndexList rows = m_view->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QString text;
    for (const QModelIndex &row : rows)
        text += m_model->rowTexts(row.row()).join(QLatin1Char('\t')) + QLatin1Char('\n');
    QApplication::clipboard()->setText(text);
    //: %1 is a count of rows, such as "3 rows".
    m_status->setText(tr("%1 copied.").arg(rowsText(rows.size())));
}

void TrafficWindow::save()
{
    m_fileChooser(this, [this](const QString &path) {
        if (!path.isEmpty())
            saveTo(path);
    });
}

// Written in full or not at all; what went wrong is said in the window, which
// never stops the drivers with a box of its own.
void TrafficWindow::saveTo(const QString &path)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        QString text = csvLine(TrafficModel::headers());
        for (int row = 0; row < m_model->rowCount(); ++row)
            text += csvLine(m_model->rowTexts(row));
        file.write(text.toUtf8());
        if (file.commit()) {
            //: %1 is a count of rows, %2 the file.
            m_status->setText(tr("%1 saved to %2.").arg(rowsText(m_model->rowCount()), path));
            return;
        }
    }
    m_status->setText(tr("Could not save to %1: %2").arg(path, file.errorString()));
}

void TrafficWindow::placeBesideParent()
{
    const QWidget *main = parentWidget() ? parentWidget()->window() : nullptr;
    if (!main)
        return;
    const QRect frame = main->frameGeometry();
    QPoint place(frame.right() + 1, frame.top());
    // Over the main window's right part rather than off the screen.
    if (const QScreen *screen = main->screen()) {
        const QRect available = screen->availableGeometry();
        place.setX(qMax(available.left(), qMin(place.x(), available.right() - width())));
        place.setY(qMax(available.top(), qMin(place.y(), available.bottom() - height())));
    }
    move(place);
}
