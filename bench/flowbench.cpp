#include "flowbench.h"

#include "boardsimulator.h"
#include "lenswindow.h"
#include "operatorreport.h"
#include "pause.h"
#include "pellanboard.h"
#include "tavroboard.h"
#include "trafficmodel.h"
#include "trafficwindow.h"
#include "wiretally.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <thread>

namespace {

// What one click cost and what its floor is.
struct Sample
{
    double ms;
    double floorMs;
    int frames;
};

class FlowRig
{
public:
    FlowRig(BenchBoard board, double pauseScale, std::chrono::microseconds reaction)
        : m_pauseScale(pauseScale)
    {
        std::unique_ptr<BoardModel> model;
        if (board == BenchBoard::Tavro)
            model = std::make_unique<TavroBoard>();
        else
            model = std::make_unique<PellanBoard>();
        m_tally = new WireTally(std::move(model), reaction);
        m_sim = std::make_unique<BoardSimulator>(std::unique_ptr<BoardModel>(m_tally));
        m_sim->setTimeScale(pauseScale);
        LineDelivery delivery;
        delivery.reaction = reaction;
        m_sim->setLineDelivery(delivery);

        QDir::setCurrent(m_folder.path());
        qputenv("TAVRO_EXTRA_PORTS", m_sim->portName().toLocal8Bit());
        {
            QSettings config(QStringLiteral("config.ini"), QSettings::IniFormat);
            config.setValue(QStringLiteral("controller/lastSelected"),
                            int(board == BenchBoard::Tavro ? BoardType::Tavro : BoardType::Pellan));
            config.setValue(QStringLiteral("motor/lastSelected"), 1);
            config.setValue(QStringLiteral("serialPort/lastSelected"), m_sim->portName());
        }
        m_previousReporter = OperatorReport::setReporter(
            [this](OperatorReport::Severity, const QString &text) { m_reports << text; });
        m_previousPause = Pause::setFunction([this](unsigned long ms) {
            m_pausedMs += double(ms);
            std::this_thread::sleep_for(std::chrono::microseconds(qint64(double(ms) * 1000 / m_pauseScale)));
        });
        m_window = std::make_unique<LensWindow>();
        m_window->show();
        QApplication::processEvents();
    }

    ~FlowRig()
    {
        m_window.reset();
        OperatorReport::setReporter(m_previousReporter);
        Pause::setFunction(m_previousPause);
        qunsetenv("TAVRO_EXTRA_PORTS");
        QDir::setCurrent(QDir::tempPath());
    }

    Sample click(const char *button)
    {
        QPushButton *pushButton = m_window->findChild<QPushButton *>(QLatin1String(button));
        const int framesBefore = m_tally->frames();
        const auto wireBefore = m_tally->wireTime();
        m_pausedMs = 0;
        QElapsedTimer timer;
        timer.start();
        pushButton->click();
        // The board works on the session's thread: the click is over once
        // the window has heard the last answer.
        while (!m_window->isIdle())
            QApplication::processEvents(QEventLoop::AllEvents, 1);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        // What the window left to do after the click, such as repainting.
        QApplication::processEvents();
        const double wireMs = double((m_tally->wireTime() - wireBefore).count()) / 1000.0;
        return {ms, wireMs + m_pausedMs / m_pauseScale, m_tally->frames() - framesBefore};
    }

    // Opens the traffic window from the menu, or closes it; how many rows it
    // lists, once the batch that is due has been shown.
    void setTrafficWindowOpen(bool open)
    {
        if (open) {
            m_window->findChild<QAction *>(QStringLiteral("action_traffic"))->trigger();
        } else if (TrafficWindow *traffic = m_window->findChild<TrafficWindow *>()) {
            traffic->close();
        }
        QApplication::processEvents();
    }

    int trafficRows()
    {
        TrafficWindow *traffic = m_window->findChild<TrafficWindow *>();
        if (!traffic || !traffic->isVisible())
            return 0;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 2 * TrafficWindow::batchMs)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        return traffic->model()->rowCount();
    }

    bool operating() const
    {
        return m_reports.isEmpty()
               && m_window->findChild<QPushButton *>(QStringLiteral("pb_settingsMultiButton"))->text()
                      == QStringLiteral("Edit Settings");
    }

private:
    double m_pauseScale;
    QTemporaryDir m_folder;
    WireTally *m_tally = nullptr;
    std::unique_ptr<BoardSimulator> m_sim;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_reports;
    double m_pausedMs = 0;
    OperatorReport::Reporter m_previousReporter;
    Pause::Function m_previousPause;
};

Figure summarise(const QString &name, const QList<Sample> &samples, bool valid)
{
    Figure figure{name, QStringLiteral("ms")};
    QList<double> times;
    for (const Sample &sample : samples) {
        times << sample.ms;
        // Every run sends the same frames; one that did not is no run of the flow.
        if (sample.frames != samples.first().frames || sample.floorMs != samples.first().floorMs)
            valid = false;
    }
    figure.runs = int(samples.size());
    figure.median = median(times);
    figure.floor = samples.isEmpty() ? 0 : samples.first().floorMs;
    figure.valid = valid && !samples.isEmpty();
    figure.name += QStringLiteral(" (%1 frames)").arg(samples.isEmpty() ? 0 : samples.first().frames);
    return figure;
}

} // namespace

QList<Figure> benchFlows(BenchBoard board, int runs, double pauseScale, std::chrono::microseconds reaction)
{
    const QString boardName = board == BenchBoard::Tavro ? QStringLiteral("Tavro") : QStringLiteral("Pellan");
    FlowRig rig(board, pauseScale, reaction);

    QList<Sample> saves;
    bool savesValid = true;
    for (int run = 0; run < runs; ++run) {
        saves << rig.click("pb_settingsMultiButton");
        savesValid = savesValid && rig.operating();
        // Edit Settings: back to the panel, nothing sent.
        if (run + 1 < runs)
            rig.click("pb_settingsMultiButton");
    }

    QList<Sample> calibrations;
    for (int run = 0; run < runs; ++run)
        calibrations << rig.click("pb_calibrateAll");
    const bool calibrationsValid = rig.operating();

    return {summarise(boardName + QStringLiteral(" Save"), saves, savesValid),
            summarise(boardName + QStringLiteral(" Calibrate All"), calibrations, calibrationsValid)};
}

QList<Figure> benchTrafficWindow(int runs, double pauseScale, std::chrono::microseconds reaction)
{
    FlowRig rig(BenchBoard::Tavro, pauseScale, reaction);
    QList<Sample> closed;
    QList<Sample> open;
    bool valid = true;
    for (int run = 0; run < runs; ++run) {
        for (bool trafficOpen : {false, true}) {
            rig.setTrafficWindowOpen(trafficOpen);
            const Sample sample = rig.click("pb_settingsMultiButton");
            (trafficOpen ? open : closed) << sample;
            // The window lists every exchange of the Save.
            valid = valid && rig.operating() && rig.trafficRows() == (trafficOpen ? sample.frames : 0);
            rig.click("pb_settingsMultiButton");
        }
    }
    rig.setTrafficWindowOpen(false);
    return {summarise(QStringLiteral("Tavro Save, traffic window closed"), closed, valid),
            summarise(QStringLiteral("Tavro Save, traffic window open"), open, valid)};
}
