#ifndef LENSPROFILEDIALOG_H
#define LENSPROFILEDIALOG_H

#include "lensaxis.h"
#include "lensprofile.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <vector>

class LensUnits;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// Lens ▸ Profile…: a lens profile's tables, filled in at the lens. Add point
// takes the motor's position the window shows and what the lens's barrel or
// a test chart says there; a focus point goes into the curve of the zoom
// position shown. The profile is written only once it passes the check the
// window reads it with.
class LensProfileDialog : public QDialog
{
    Q_OBJECT

public:
    LensProfileDialog(const LensUnits &units, QWidget *parent);

    // Edits the profile in file, or a new one for board ("tavro", "pellan")
    // when there is none or it cannot be read.
    void edit(const QString &file, const QString &board);
    // The speeds in file were measured anew: a profile edited from that file
    // takes them, so that saving it keeps them, and keeps what else it had
    // changed.
    void takeSpeeds(const QString &file);

signals:
    // The profile is now in file.
    void saved(const QString &file);
    // The operator asks for file as the window's profile in use.
    void useRequested(const QString &file);

private:
    LensAxis axis() const;
    // The table shown: the zoom's, the iris's or the focus curve picked;
    // none for focus without a curve.
    std::vector<LensPoint> *table();
    void addPoint();
    void deletePoint();
    // Asks for a file to open or to save to, then hands it to then.
    void chooseFile(bool saving, const std::function<void(const QString &)> &then);
    void openFile(const QString &file);
    void saveTo(const QString &file);
    // The name and the sensor width into the profile; false for a width
    // that is no number.
    bool takeFields();
    void changed();
    void showCurves(int curve);
    void showTable();
    void showPreview();
    void showFile();

    const LensUnits &m_units;
    LensProfileData m_data;
    QString m_file;
    bool m_modified = false;
    QLineEdit *m_name;
    QLineEdit *m_sensor;
    QComboBox *m_motor;
    QComboBox *m_curve;
    QLabel *m_curveLabel;
    QTableWidget *m_table;
    QLineEdit *m_value;
    QPushButton *m_add;
    QPushButton *m_delete;
    QLabel *m_preview;
    QLabel *m_problem;
    QLabel *m_fileLabel;
    QPushButton *m_use;
};

#endif // LENSPROFILEDIALOG_H
