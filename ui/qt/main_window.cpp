#include "ui/qt/main_window.h"

#include "relay/status_text.h"
#include "ui/entry_commands.h"
#include "ui/qt/bell_icon.h"
#include "ui/qt/colours.h"
#include "ui/qt/days_without_bells_dialog.h"
#include "ui/qt/journal_dialog.h"
#include "ui/qt/schedule_table_model.h"
#include "ui/qt/twips.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeView>

#include <cmath>

namespace quorel {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// Sets a field's text only when it differs, so the cursor of a field being typed in stays put.
void setFieldText(QLineEdit* field, const std::string& text) {
    const QString value = qs(text);
    if (field->text() != value) {
        field->setText(value);
    }
}

// Style sheets are parsed anew on every set: the indicators are redrawn each second while an
// output is on, so an unchanged colour is left alone.
void setStyleSheetIfChanged(QWidget* widget, const QString& styleSheet) {
    if (widget->styleSheet() != styleSheet) {
        widget->setStyleSheet(styleSheet);
    }
}

// The key code the list's key handler expects: 46 for Delete, the key's own code otherwise.
int keyCodeOf(const QKeyEvent* event) {
    return event->key() == Qt::Key_Delete ? kDeleteKeyCode : event->key() & 0xFFFF;
}

int shiftStateOf(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

} // namespace

MainWindow::MainWindow() : controls_(*this) {
    setObjectName("F1");
    setWindowTitle(QString::fromUtf8("Gestion Quorel révision du 22/06/2020 - USB-RLY02"));
    setWindowIcon(bellIcon());
    adjustSize();
}

MainWindow::~MainWindow() = default;

void MainWindow::attach(Program& program) {
    program_ = &program;
    listModel_ = new ScheduleTableModel(program.list, this);
    controls_.Quorel->setModel(listModel_);
    controls_.Quorel->setColumnWidth(0, px(500));
    controls_.Quorel->setColumnWidth(1, px(1100));
    controls_.Quorel->setColumnWidth(2, px(700));
    connectControls();
    for (ViewPart part : {ViewPart::Clock, ViewPart::Outputs, ViewPart::Status,
                          ViewPart::PortChoice, ViewPart::RelayButtons, ViewPart::List,
                          ViewPart::EditFields, ViewPart::Days, ViewPart::AutoRun}) {
        redraw(part);
    }
}

void MainWindow::detach() {
    if (program_ == nullptr) {
        return;
    }
    controls_.Quorel->setModel(nullptr);
    delete listModel_;
    listModel_ = nullptr;
    for (QObject* control : findChildren<QObject*>()) {
        if (control != this) {
            control->disconnect(this);
        }
    }
    program_ = nullptr;
}

void MainWindow::connectControls() {
    Program& p = *program_;
    connect(controls_.portGroup, &QButtonGroup::idClicked, this,
            [&p](int index) { p.portChoice.select(static_cast<int16_t>(index)); });
    for (int i = 0; i < 4; ++i) {
        connect(controls_.CheckS[i], &QCheckBox::clicked, this, [this, &p, i] {
            p.manual.setCheckS(static_cast<int16_t>(i),
                               controls_.CheckS[i]->checkState() == Qt::Checked ? 1 : 0);
            p.manual.CheckS_Click(static_cast<int16_t>(i));
        });
    }
    for (int i = 0; i < 2; ++i) {
        connect(controls_.CmdRelais[i], &QPushButton::clicked, this,
                [&p, i] { p.manual.CmdRelais_Click(static_cast<int16_t>(i)); });
    }

    for (int i = 0; i < 3; ++i) {
        connect(controls_.ChEdit[i], &QLineEdit::textEdited, this,
                [&p, i](const QString& text) { p.fields.ChEdit[i] = text.toStdString(); });
    }
    for (int i = 0; i < 2; ++i) {
        connect(controls_.ChDecoupe[i], &QLineEdit::textEdited, this,
                [&p, i](const QString& text) { p.fields.ChDecoupe[i] = text.toStdString(); });
    }
    connect(controls_.ChDure, &QLineEdit::textEdited, this,
            [&p](const QString& text) { p.fields.ChDure = text.toStdString(); });
    connect(controls_.ComboS, &QComboBox::currentTextChanged, this,
            [&p](const QString& text) { p.fields.ComboS = text.toStdString(); });

    connect(controls_.BtnAjouter, &QPushButton::clicked, this,
            [&p] { p.entries.BtnAjouter_Click(); });
    connect(controls_.BtnReplacer, &QPushButton::clicked, this,
            [&p] { p.entries.BtnReplacer_Click(); });
    connect(controls_.BtnSupp, &QPushButton::clicked, this, [&p] { p.entries.BtnSupp_Click(); });
    connect(controls_.BtnDelete, &QPushButton::clicked, this,
            [&p] { p.entries.BtnDelete_Click(); });
    connect(controls_.BtnInti, &QPushButton::clicked, this, [&p] { p.entries.BtnInti_Click(); });
    connect(controls_.BtnSave, &QPushButton::clicked, this, [&p] { p.days.BtnSave_Click(); });
    connect(controls_.BtnCopy, &QPushButton::clicked, this, [this] { showCopyMenu(); });
    for (int i = 1; i <= 7; ++i) {
        connect(controls_.Jour[i - 1], &QAction::triggered, this,
                [&p, i] { p.days.Jour_Click(static_cast<int16_t>(i)); });
    }

    connect(controls_.Quorel->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, &p] {
                const QModelIndexList rows = controls_.Quorel->selectionModel()->selectedRows();
                p.list.select(rows.isEmpty() ? std::nullopt
                                             : std::optional<int>(rows.front().row() + 1));
            });
    connect(controls_.Quorel, &QTreeView::clicked, this, [&p] { p.entries.Quorel_Click(); });
    connect(controls_.Quorel->header(), &QHeaderView::sectionClicked, this,
            [&p](int section) { p.entries.Quorel_ColumnClick(section + 1); });
    controls_.Quorel->installEventFilter(this);

    connect(controls_.JourSemaine, &QListWidget::currentRowChanged, this, [this, &p](int row) {
        if (row < 0) {
            return;
        }
        if (!p.days.modified()) {
            p.days.selectDay(row);
            return;
        }
        // The question waits until the click or key that moved the selection is over: a box
        // inside it would leave the list with the new row selected after "Annuler" put the
        // current row back.
        QTimer::singleShot(0, this, [this, row] {
            if (program_ != nullptr && !program_->ended()) {
                program_->days.selectDay(row);
            }
        });
    });

    connect(controls_.mnuautorun, &QAction::triggered, this, [this, &p] {
        p.autoRun.mnuautorun_Click();
        showAutoRun();
    });
    connect(controls_.MnuJoursSansSonnerie, &QAction::triggered, this,
            [this] { editDaysWithoutBells(); });
    connect(controls_.MnuJournal, &QAction::triggered, this, [this] { showJournal(); });
    connect(controls_.MnuQuit, &QAction::triggered, this,
            [this] { closeFor(ShutdownCause::Quit); });
}

void MainWindow::showCopyMenu() {
    // The menu is modal, as a pop-up menu is: the picked day loads before the click returns.
    controls_.mnuJour->exec(QCursor::pos());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls_.Quorel && program_ != nullptr && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            program_->entries.Quorel_KeyUp(keyCodeOf(key), shiftStateOf(key));
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::redraw(ViewPart part) {
    if (program_ == nullptr) {
        return;
    }
    switch (part) {
    case ViewPart::Clock:
        showClock();
        break;
    case ViewPart::Outputs:
        showOutputs();
        break;
    case ViewPart::Status:
        showStatus();
        break;
    case ViewPart::PortChoice:
        showPortChoice();
        break;
    case ViewPart::RelayButtons:
        showRelayButtons();
        break;
    case ViewPart::List:
        showList();
        break;
    case ViewPart::EditFields:
        showEditFields();
        break;
    case ViewPart::Days:
        showDays();
        break;
    case ViewPart::AutoRun:
        showAutoRun();
        break;
    case ViewPart::NextBell:
        showNextBell();
        break;
    }
}

void MainWindow::showClock() {
    controls_.LblHeure->setText(qs(program_->captions.LblHeure));
}

void MainWindow::showOutputs() {
    for (int i = 0; i < 4; ++i) {
        setStyleSheetIfChanged(controls_.LedOut[i], boxStyleSheet(program_->panel.LedOut[i]));
        controls_.LblTemp[i]->setText(qs(program_->captions.LblTemp[i]));
        controls_.LblMaxi[i]->setText(qs(program_->captions.LblMaxi[i]));
        const int value = program_->panel.CheckS[i];
        const QSignalBlocker blocker(controls_.CheckS[i]);
        controls_.CheckS[i]->setCheckState(value == 1   ? Qt::Checked
                                           : value == 2 ? Qt::PartiallyChecked
                                                        : Qt::Unchecked);
    }
}

void MainWindow::showStatus() {
    controls_.InfoERR->setText(qs(program_->panel.InfoERR));
    controls_.InfoERR->setToolTip(qs(statusToolTip(program_->panel.InfoERRNumber)));
}

void MainWindow::showPortChoice() {
    const int index = program_->panel.PortCom;
    if (index >= 0 && index < 5 && !controls_.PortCom[index]->isChecked()) {
        const QSignalBlocker blocker(controls_.portGroup);
        controls_.PortCom[index]->setChecked(true);
    }
}

void MainWindow::showRelayButtons() {
    for (int i = 0; i < 2; ++i) {
        setStyleSheetIfChanged(controls_.CmdRelais[i],
                               buttonStyleSheet(program_->panel.CmdRelais[i]));
    }
}

void MainWindow::showList() {
    const QSignalBlocker blocker(controls_.Quorel->selectionModel());
    listModel_->refresh();
    const auto selected = program_->list.selected();
    if (selected) {
        const QModelIndex index = listModel_->index(*selected - 1, 0);
        controls_.Quorel->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        controls_.Quorel->selectionModel()->clearSelection();
    }
}

void MainWindow::showEditFields() {
    const EditFields& fields = program_->fields;
    for (int i = 0; i < 3; ++i) {
        setFieldText(controls_.ChEdit[i], fields.ChEdit[i]);
    }
    for (int i = 0; i < 2; ++i) {
        setFieldText(controls_.ChDecoupe[i], fields.ChDecoupe[i]);
    }
    setFieldText(controls_.ChDure, fields.ChDure);
    const QSignalBlocker blocker(controls_.ComboS);
    if (controls_.ComboS->count() != static_cast<int>(fields.ComboSItems.size())) {
        controls_.ComboS->clear();
        for (const std::string& item : fields.ComboSItems) {
            controls_.ComboS->addItem(qs(item));
        }
    }
    controls_.ComboS->setCurrentIndex(controls_.ComboS->findText(qs(fields.ComboS)));
}

void MainWindow::showDays() {
    const QSignalBlocker blocker(controls_.JourSemaine);
    const auto& days = program_->days.JourSemaine();
    if (controls_.JourSemaine->count() != static_cast<int>(days.size())) {
        controls_.JourSemaine->clear();
        for (const std::string& day : days) {
            controls_.JourSemaine->addItem(qs(day));
        }
    }
    const auto selected = program_->days.selectedDay();
    controls_.JourSemaine->setCurrentRow(selected ? *selected : -1);
}

void MainWindow::showAutoRun() {
    controls_.mnuautorun->setChecked(program_->autoRun.checked());
}

void MainWindow::showNextBell() {
    const NextBellSign sign = program_->shownNextBell();
    controls_.LblProchaine->setText(qs(sign.text));
    controls_.LblProchaine->setToolTip(qs(sign.text));
    setStyleSheetIfChanged(controls_.LblProchaine, sign.warning ? warningStyleSheet() : QString());
}

void MainWindow::editDaysWithoutBells() {
    Dialogs& dialogs = program_->dialogs();
    const std::string& path = program_->paths.ClosedPeriodsPath;
    std::vector<ClosedPeriod> periods;
    if (const std::string failure = readForEditing(path, periods); !failure.empty()) {
        dialogs.message(failure, MessageIcon::Critical);
        return;
    }
    ClosedPeriodsEditor editor(std::move(periods));
    DaysWithoutBellsDialog dialog(editor, program_->today(), path, dialogs, this);
    if (dialog.exec() == QDialog::Accepted) {
        program_->reloadClosedPeriods();
    }
}

void MainWindow::showJournal() {
    JournalDialog dialog(program_->paths.JournalFolder, program_->today(), this);
    dialog.exec();
}

// The window's size with its menu bar. The title bar and borders belong to the window manager,
// which may add them only once the window is shown, so they are left out of the rule.
TwipsSize MainWindow::outerSize() {
    return TwipsSize{width() * kTwipsPerPixel, height() * kTwipsPerPixel};
}

TwipsSize MainWindow::screenSize() {
    const QScreen* current = screen() != nullptr ? screen() : QApplication::primaryScreen();
    const QRect area = current != nullptr ? current->geometry() : QRect(0, 0, 1024, 768);
    return TwipsSize{area.width() * kTwipsPerPixel, area.height() * kTwipsPerPixel};
}

void MainWindow::moveTo(TwipsPoint position) {
    move(static_cast<int>(position.left / kTwipsPerPixel),
         static_cast<int>(position.top / kTwipsPerPixel));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (program_ == nullptr || applyingResizeRule_) {
        return;
    }
    const bool normal =
        !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    const auto wanted = program_->Form_Resize(normal, outerSize());
    if (wanted) {
        applyingResizeRule_ = true;
        resize(static_cast<int>(std::lround(wanted->width / kTwipsPerPixel)),
               static_cast<int>(std::lround(wanted->height / kTwipsPerPixel)));
        applyingResizeRule_ = false;
    }
}

void MainWindow::closeFor(ShutdownCause cause) {
    if (program_ != nullptr && program_->requestClose(cause) == CloseOutcome::End) {
        close(); // the program has ended: the close event lets the window go
        end();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (program_ != nullptr && !program_->ended()) {
        if (program_->requestClose(ShutdownCause::WindowClosed) == CloseOutcome::StayOpen) {
            event->ignore(); // the operator keeps the window, to go on editing
            return;
        }
        end();
    }
    event->accept();
}

void MainWindow::end() {
    if (!endAnnounced_ && onEnded) {
        endAnnounced_ = true;
        onEnded();
    }
}

} // namespace quorel
