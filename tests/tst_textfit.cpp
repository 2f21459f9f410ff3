// Every text of the window, its dialogs and menus fits the room its widget gives it, in each language
// the program carries, measured with the widget's own font and style: the form keeps its English geometry.

#include "fakecontroller.h"
#include "gamepaddialog.h"
#include "languagetranslators.h"
#include "lenswindow.h"
#include "messageboxreport.h"
#include "operationprogressdialog.h"
#include "settingsfile.h"
#include "startconfig.h"

#include <QTest>
#include <QtWidgets>

class TestTextFit : public QObject
{
    Q_OBJECT

    // One line per text that does not fit.
    QStringList m_clipped;

    void check(const QWidget *widget, const QString &text, int needed, int room)
    {
        if (needed > room)
            m_clipped << QStringLiteral("%1 %2 \"%3\": needs %4, has %5")
                             .arg(widget->window()->objectName(), widget->objectName(), text).arg(needed).arg(room);
    }
    static int textWidth(const QWidget *widget, const QString &text)
    {
        return widget->fontMetrics().size(Qt::TextShowMnemonic, text).width();
    }

    // Every shown text-bearing widget of top's window, and the entries of its menus.
    void measure(QWidget *top)
    {
        QList<QWidget *> widgets = top->findChildren<QWidget *>();
        widgets.prepend(top);
        for (QWidget *widget : std::as_const(widgets)) {
            if (auto *menu = qobject_cast<QMenu *>(widget))
                measureEntries(menu, menu->actions());
            if (auto *bar = qobject_cast<QMenuBar *>(widget))
                measureEntries(bar, bar->actions());
            if (widget->window() == top && widget->isVisibleTo(top))
                measureWidget(widget);
        }
    }
    template<typename Menu> void measureEntries(Menu *menu, const QList<QAction *> &actions)
    {
        for (QAction *action : actions) {
            const QString shortcut = action->shortcut().toString(QKeySequence::NativeText);
            if (action->isVisible() && !action->isSeparator())
                check(menu, action->text(), textWidth(menu, action->text() + shortcut), menu->actionGeometry(action).width());
        }
    }
    void measureWidget(QWidget *widget)
    {
        QStyle *style = widget->style();
        if (auto *label = qobject_cast<QLabel *>(widget); label && !label->text().isEmpty()) {
            if (label->wordWrap())
                check(label, label->text(), label->heightForWidth(label->width()), label->height());
            else
                check(label, label->text(), label->minimumSizeHint().width(), label->width());
        } else if (auto *push = qobject_cast<QPushButton *>(widget); push && !push->text().isEmpty()) {
            // What the style adds around a button's text, without its least width.
            const int frame = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push)
                + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, push)
                + (push->icon().isNull() ? 0 : push->iconSize().width() + 4);
            check(push, push->text(), textWidth(push, push->text()) + frame, push->width());
        } else if (qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget)) {
            auto *button = static_cast<QAbstractButton *>(widget);
            check(button, button->text(), button->sizeHint().width(), button->width());
        } else if (auto *group = qobject_cast<QGroupBox *>(widget); group && !group->title().isEmpty()) {
            QStyleOptionGroupBox option;
            option.initFrom(group);
            option.text = group->title();
            option.subControls = QStyle::SC_GroupBoxLabel;
            const QRect title = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
            check(group, group->title(), title.right() + 1, group->width());
        } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const int room = style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
            for (int item = 0; item < combo->count(); ++item)
                check(combo, combo->itemText(item), textWidth(combo, combo->itemText(item)), room);
        } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            // Inside its frame the line edit keeps two pixels either side of its text.
            const int room = edit->width() - 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit)
                - edit->textMargins().left() - edit->textMargins().right() - 4;
            for (const QString &text : {edit->text(), edit->placeholderText()})
                check(edit, text, textWidth(edit, text), room);
        } else if (auto *header = qobject_cast<QHeaderView *>(widget); header && header->orientation() == Qt::Horizontal) {
            const int margins = 2 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
            for (int section = 0; section < header->count(); ++section) {
                const QString text = header->model()->headerData(section, Qt::Horizontal).toString();
                check(header, text, textWidth(header, text) + margins, header->sectionSize(section));
            }
        }
    }
    // Measures the modal box that doing opens, then closes it.
    void measureModal(const std::function<void()> &doing)
    {
        doing();
        QTRY_VERIFY(QApplication::activeModalWidget());
        QWidget *box = QApplication::activeModalWidget();
        measure(box);
        box->close();
    }

private slots:
    void fits_data()
    {
        QTest::addColumn<QString>("language");
        // English, and every translation the window carries.
        QTest::newRow("en") << "en";
        for (const QString &file : QDir(":/i18n").entryList({"*.qm"})) {
            const QString language = file.section('_', -1).section('.', 0, 0);
            QTest::newRow(qPrintable(language)) << language;
        }
    }
    void fits()
    {
        QFETCH(QString, language);
        const LanguageTranslators translators(language);
        MessageBoxReport::install();
        for (const BoardType type : {BoardType::Tavro, BoardType::Pellan}) {
            const auto folder = enterFreshFolder();
            prepareStart(type, "FAKE1");
            // Units beside the fields once Save has read the board.
            QSettings(QStringLiteral("config.ini"), QSettings::IniFormat)
                .setValue(QStringLiteral("lens/profile/tavro"), TAVRO_PROFILES "/tavro-18x.json");
            LensWindow window;
            window.setControllerFactory([board = std::make_shared<FakeBoard>()](BoardType, const QString &port) {
                return std::make_unique<FakeController>(port, board);
            }, LensSession::Threading::CallersThread);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            measure(&window);
            QTest::mouseClick(window.findChild<QPushButton *>("pb_settingsMultiButton"), Qt::LeftButton);
            emit window.findChild<QPushButton *>("pb_callPreset10")->customContextMenuRequested({});
            measure(&window);
            for (const char *name : {"action_keyboardControls", "action_traffic", "action_lensProfile"})
                window.findChild<QAction *>(name)->trigger();
            for (QWidget *dialog : window.findChildren<QWidget *>(QRegularExpression("^(keyboardControls|trafficWindow|lensProfileDialog)$")))
                measure(dialog);
            GamepadDialog gamepad(PadLayout::defaults(), nullptr, &window);
            gamepad.show();
            measure(&gamepad);
            OperationProgressDialog progress(&window);
            progress.start(QCoreApplication::translate("LensActions", "Storing preset %1…").arg(10));
            progress.showWait(KeepAlive::Reason::Board, 0);
            progress.show();
            measure(&progress);
            measureModal([&] { window.findChild<QAction *>("action_about")->trigger(); });
            QSettings unwritable(QDir::current().filePath("missing/config.ini"), QSettings::IniFormat);
            measureModal([&] { SettingsFile::writeBack(unwritable); });
        }
        m_clipped.removeDuplicates();
        QVERIFY2(m_clipped.isEmpty(), qPrintable(m_clipped.join('\n')));
    }
};

QTEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
