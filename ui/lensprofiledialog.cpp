#include "lensprofiledialog.h"

#include "lensunits.h"
#include "operatorreport.h"

#include <QComboBox>
#include <QDebug>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr LensAxis kAxes[] = {LensAxis::Zoom, LensAxis::Focus, LensAxis::Iris};

// What the operator typed for a point: the motor's own unit ("35 mm",
// "2.5m", "inf", "f/4") or a bare number in it.
std::optional<double> pointValue(LensAxis axis, const QString &text, const QLocale &locale)
{
    constexpr LensValue::Unit units[] = {LensValue::Unit::Millimetres, LensValue::Unit::Metres,
                                         LensValue::Unit::FNumber};
    if (const std::optional<LensValue> value = LensValue::parse(text, locale); value && value->unit == units[int(axis)])
        return value->value;
    bool ok = false;
    const double number = locale.toDouble(text.trimmed(), &ok);
    return ok && number > 0 ? std::optional<double>(number) : std::nullopt;
}

} // namespace

LensProfileDialog::LensProfileDialog(const LensUnits &units, QWidget *parent)
    : QDialog(parent)
    , m_units(units)
    , m_name(new QLineEdit)
    , m_sensor(new QLineEdit)
    , m_motor(new QComboBox)
    , m_curve(new QComboBox)
    , m_curveLabel(new QLabel(tr("Curve:")))
    , m_table(new QTableWidget(0, 2))
    , m_value(new QLineEdit)
    , m_add(new QPushButton(tr("Add point")))
    , m_delete(new QPushButton(tr("Delete point")))
    , m_preview(new QLabel)
    , m_problem(new QLabel)
    , m_fileLabel(new QLabel)
    , m_use(new QPushButton(tr("Use in the window")))
{
    setObjectName(QStringLiteral("lensProfileDialog"));
    setWindowTitle(tr("Lens profile"));
    m_name->setObjectName(QStringLiteral("le_profileName"));
    m_sensor->setObjectName(QStringLiteral("le_sensorWidth"));
    m_motor->setObjectName(QStringLiteral("cb_profileMotor"));
    m_curve->setObjectName(QStringLiteral("cb_focusCurve"));
    m_table->setObjectName(QStringLiteral("tw_profilePoints"));
    m_value->setObjectName(QStringLiteral("le_pointValue"));
    m_add->setObjectName(QStringLiteral("pb_addPoint"));
    m_delete->setObjectName(QStringLiteral("pb_deletePoint"));
    m_preview->setObjectName(QStringLiteral("lbl_profilePreview"));
    m_problem->setObjectName(QStringLiteral("lbl_profileProblem"));
    m_fileLabel->setObjectName(QStringLiteral("lbl_profileFile"));
    m_use->setObjectName(QStringLiteral("pb_useProfile"));

    m_motor->addItems({tr("Zoom: focal length"), tr("Focus: distance"), tr("Iris: f-number")});
    m_motor->setAccessibleName(tr("Table"));
    m_curve->setAccessibleName(tr("Focus curve"));
    m_table->setHorizontalHeaderLabels({tr("Position"), tr("Value")});
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setAccessibleName(tr("Calibration points"));
    m_value->setPlaceholderText(tr("e.g. 35 mm, 2.5 m, inf, f/4"));
    m_value->setAccessibleName(tr("Value at the position shown"));
    m_sensor->setPlaceholderText(tr("for the angle of view"));
    m_problem->setWordWrap(true);
    m_fileLabel->setWordWrap(true);

    auto *form = new QFormLayout;
    form->addRow(tr("Name:"), m_name);
    form->addRow(tr("Sensor width (mm):"), m_sensor);
    form->addRow(tr("Table:"), m_motor);
    form->addRow(m_curveLabel, m_curve);

    auto *point = new QHBoxLayout;
    point->addWidget(m_value, 1);
    point->addWidget(m_add);
    point->addWidget(m_delete);

    auto *open = new QPushButton(tr("Open…"));
    auto *save = new QPushButton(tr("Save"));
    auto *saveAs = new QPushButton(tr("Save as…"));
    open->setObjectName(QStringLiteral("pb_openProfile"));
    save->setObjectName(QStringLiteral("pb_saveProfile"));
    saveAs->setObjectName(QStringLiteral("pb_saveProfileAs"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->addButton(open, QDialogButtonBox::ActionRole);
    buttons->addButton(save, QDialogButtonBox::ActionRole);
    buttons->addButton(saveAs, QDialogButtonBox::ActionRole);
    buttons->addButton(m_use, QDialogButtonBox::ApplyRole);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_table, 1);
    layout->addLayout(point);
    layout->addWidget(m_preview);
    layout->addWidget(m_problem);
    layout->addWidget(m_fileLabel);
    layout->addWidget(buttons);
    resize(460, 520);
    // Return in a field is that field's: in the value field it adds the
    // point, and no button of the dialog takes it as well.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);

    connect(m_motor, &QComboBox::currentIndexChanged, this, [this] { showCurves(0); });
    connect(m_curve, &QComboBox::currentIndexChanged, this, &LensProfileDialog::showTable);
    connect(m_name, &QLineEdit::textChanged, this, &LensProfileDialog::changed);
    connect(m_sensor, &QLineEdit::textChanged, this, &LensProfileDialog::changed);
    connect(m_value, &QLineEdit::returnPressed, this, &LensProfileDialog::addPoint);
    connect(m_add, &QPushButton::clicked, this, &LensProfileDialog::addPoint);
    connect(m_delete, &QPushButton::clicked, this, &LensProfileDialog::deletePoint);
    connect(open, &QPushButton::clicked, this, [this] { chooseFile(false, [this](const QString &file) { openFile(file); }); });
    connect(save, &QPushButton::clicked, this, [this] {
        if (m_file.isEmpty())
            chooseFile(true, [this](const QString &file) { saveTo(file); });
        else
            saveTo(m_file);
    });
    connect(saveAs, &QPushButton::clicked, this, [this] { chooseFile(true, [this](const QString &file) { saveTo(file); }); });
    connect(m_use, &QPushButton::clicked, this, [this] { emit useRequested(m_file); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(&m_units, &LensUnits::changed, this, &LensProfileDialog::showPreview);
}

void LensProfileDialog::takeSpeeds(const QString &file)
{
    if (file != m_file)
        return;
    const LensProfile::Read read = LensProfile::readFile(file);
    if (read.profile)
        m_data.speeds = read.profile->data().speeds;
}

void LensProfileDialog::edit(const QString &file, const QString &board)
{
    m_data = LensProfileData{};
    m_data.board = board;
    m_file.clear();
    QString problem;
    if (!file.isEmpty()) {
        const LensProfile::Read read = LensProfile::readFile(file);
        if (read.profile) {
            m_data = read.profile->data();
            m_file = file;
        } else {
            problem = read.error;
        }
    }
    {
        // Both texts first: either one taken back into the profile before
        // the other is shown would lose the other's value.
        const QSignalBlocker name(m_name);
        const QSignalBlocker sensor(m_sensor);
        m_name->setText(m_data.name);
        m_sensor->setText(m_data.sensorWidthMm ? locale().toString(*m_data.sensorWidthMm) : QString());
    }
    m_modified = false;
    // A board without zoom and iris has its focus table to show.
    const QSignalBlocker motor(m_motor);
    m_motor->setCurrentIndex(m_data.board == QLatin1String("pellan") ? int(LensAxis::Focus) : int(LensAxis::Zoom));
    showCurves(0);
    showFile();
    if (!problem.isEmpty())
        m_problem->setText(problem);
}

LensAxis LensProfileDialog::axis() const
{
    return kAxes[qBound(0, m_motor->currentIndex(), 2)];
}

std::vector<LensPoint> *LensProfileDialog::table()
{
    switch (axis()) {
    case LensAxis::Zoom:
        return &m_data.zoom;
    case LensAxis::Focus: {
        const int curve = m_curve->currentIndex();
        return curve >= 0 && size_t(curve) < m_data.focus.size() ? &m_data.focus[size_t(curve)].points : nullptr;
    }
    case LensAxis::Iris:
        break;
    }
    return &m_data.iris;
}

void LensProfileDialog::addPoint()
{
    const LensAxis motor = axis();
    const std::optional<int> position = m_units.position(motor);
    const std::optional<double> value = pointValue(motor, m_value->text(), locale());
    if (!position) {
        m_problem->setText(tr("The window shows no position of this motor yet."));
        return;
    }
    if (!value) {
        m_problem->setText(tr("“%1” is no value for this table.").arg(m_value->text()));
        return;
    }
    int curve = 0;
    if (motor == LensAxis::Focus) {
        // A focus point belongs to the curve of the zoom position it was
        // taken at; a board without zoom has a single curve.
        const std::optional<int> zoomShown = m_units.position(LensAxis::Zoom);
        const std::optional<double> zoom =
            m_data.board == QLatin1String("pellan") || !zoomShown ? std::nullopt : std::optional<double>(*zoomShown);
        const auto at = std::find_if(m_data.focus.begin(), m_data.focus.end(),
                                     [&zoom](const FocusCurveData &c) { return c.zoom == zoom; });
        auto it = at != m_data.focus.end()
            ? at
            : m_data.focus.insert(std::find_if(m_data.focus.begin(), m_data.focus.end(),
                                               [&zoom](const FocusCurveData &c) { return zoom && c.zoom > zoom; }),
                                  FocusCurveData{zoom, {}});
        curve = int(it - m_data.focus.begin());
        showCurves(curve);
    }
    std::vector<LensPoint> &points = *table();
    // In the order of the positions; a second value at a position replaces
    // the first.
    const auto at = std::lower_bound(points.begin(), points.end(), double(*position),
                                     [](const LensPoint &p, double x) { return p.position < x; });
    const int row = int(at - points.begin());
    if (at != points.end() && at->position == *position)
        at->value = *value;
    else
        points.insert(at, LensPoint{double(*position), *value});
    m_value->clear();
    changed();
    m_table->selectRow(row);
}

void LensProfileDialog::deletePoint()
{
    std::vector<LensPoint> *points = table();
    const int row = m_table->currentRow();
    if (!points || row < 0 || size_t(row) >= points->size())
        return;
    points->erase(points->begin() + row);
    // A focus curve without points is no curve.
    if (axis() == LensAxis::Focus && points->empty()) {
        m_data.focus.erase(m_data.focus.begin() + m_curve->currentIndex());
        showCurves(0);
    }
    changed();
}

void LensProfileDialog::chooseFile(bool saving, const std::function<void(const QString &)> &then)
{
    auto *dialog = new QFileDialog(this, saving ? tr("Save lens profile") : tr("Open lens profile"),
                                   m_file.isEmpty() ? QString() : QFileInfo(m_file).absolutePath(),
                                   tr("Lens profiles (*.json)"));
    dialog->setObjectName(QStringLiteral("profileFileDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The same dialog on every desktop, opened rather than run: the window
    // goes on meanwhile. Its own question before overwriting would run an
    // event loop of its own; the one below is opened too.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (saving)
        dialog->setDefaultSuffix(QStringLiteral("json"));
    connect(dialog, &QFileDialog::fileSelected, this, [this, saving, then](const QString &file) {
        if (!saving || file == m_file || !QFileInfo::exists(file)) {
            then(file);
            return;
        }
        auto *ask = new QMessageBox(QMessageBox::Question, windowTitle(),
                                    tr("%1 exists already. Replace it?").arg(QFileInfo(file).fileName()),
                                    QMessageBox::Yes | QMessageBox::No, this);
        ask->setAttribute(Qt::WA_DeleteOnClose);
        connect(ask, &QMessageBox::finished, this, [ask, file, then](int) {
            if (ask->clickedButton() == ask->button(QMessageBox::Yes))
                then(file);
        });
        ask->open();
    });
    dialog->open();
}

void LensProfileDialog::openFile(const QString &file)
{
    const LensProfile::Read read = LensProfile::readFile(file);
    if (!read.profile) {
        OperatorReport::show(OperatorReport::Severity::Warning, read.error);
        return;
    }
    edit(file, read.profile->data().board);
}

void LensProfileDialog::saveTo(const QString &file)
{
    if (!takeFields()) {
        OperatorReport::show(OperatorReport::Severity::Warning,
                             tr("The sensor width “%1” is no number of millimetres.").arg(m_sensor->text()));
        return;
    }
    // What the window, the tool and the server would refuse is not written.
    const LensProfile::Read read = LensProfile::check(m_data, file);
    if (!read.profile) {
        qWarning() << "Lens profile not saved:" << read.error;
        OperatorReport::show(OperatorReport::Severity::Warning, read.error);
        return;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(m_data.toJson()) < 0 || !out.commit()) {
        qCritical() << "Could not write the lens profile" << file << out.errorString();
        OperatorReport::show(OperatorReport::Severity::Critical, tr("Could not write %1.").arg(file), out.errorString());
        return;
    }
    qInfo() << "Lens profile saved:" << file;
    m_file = file;
    m_modified = false;
    showFile();
    emit saved(file);
}

bool LensProfileDialog::takeFields()
{
    m_data.name = m_name->text().trimmed();
    const QString width = m_sensor->text().trimmed();
    bool ok = width.isEmpty();
    const double mm = ok ? 0 : locale().toDouble(width, &ok);
    m_data.sensorWidthMm = ok && mm > 0 ? std::optional<double>(mm) : std::nullopt;
    return ok && mm >= 0;
}

void LensProfileDialog::changed()
{
    m_modified = true;
    showTable();
    showFile();
}

void LensProfileDialog::showCurves(int curve)
{
    const bool focus = axis() == LensAxis::Focus;
    m_curve->blockSignals(true);
    m_curve->clear();
    for (const FocusCurveData &c : m_data.focus)
        m_curve->addItem(c.zoom ? tr("At zoom %1").arg(*c.zoom) : tr("Without zoom"));
    m_curve->setCurrentIndex(qMin(curve, m_curve->count() - 1));
    m_curve->blockSignals(false);
    m_curve->setVisible(focus);
    m_curveLabel->setVisible(focus);
    showTable();
}

void LensProfileDialog::showTable()
{
    const std::vector<LensPoint> *points = table();
    const int rows = points ? int(points->size()) : 0;
    m_table->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const LensPoint &p = (*points)[size_t(row)];
        m_table->setItem(row, 0, new QTableWidgetItem(QString::number(p.position)));
        m_table->setItem(row, 1, new QTableWidgetItem(LensUnits::text(axis(), p.value, locale())));
    }
    m_delete->setEnabled(rows > 0);
    showPreview();
}

void LensProfileDialog::showPreview()
{
    const LensAxis motor = axis();
    const std::optional<int> position = m_units.position(motor);
    m_add->setEnabled(position.has_value());
    m_problem->clear();
    if (!position) {
        m_preview->clear();
        return;
    }
    takeFields();
    const LensProfile::Read read = LensProfile::check(m_data, m_file);
    std::optional<double> value;
    if (read.profile) {
        const double zoom = m_units.position(LensAxis::Zoom).value_or(0);
        value = motor == LensAxis::Zoom ? read.profile->focalLengthMm(*position)
            : motor == LensAxis::Focus  ? read.profile->focusDistanceM(*position, zoom)
                                        : read.profile->fNumber(*position);
    } else {
        m_problem->setText(read.error);
    }
    m_preview->setText(QStringLiteral("%1 → %2").arg(*position).arg(value ? LensUnits::text(motor, *value, locale()) : tr("unknown")));
}

void LensProfileDialog::showFile()
{
    m_fileLabel->setText(m_file.isEmpty() ? tr("Not saved yet.")
                                          : m_modified ? tr("%1 (changed)").arg(QDir::toNativeSeparators(m_file))
                                                       : QDir::toNativeSeparators(m_file));
    m_use->setEnabled(!m_file.isEmpty() && !m_modified);
}
