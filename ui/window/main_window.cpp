#include "ui/window/main_window.h"

#include "ui/entry_commands.h"
#include "ui/window/colours.h"
#include "ui/window/schedule_table_model.h"
#include "ui/window/twips.h"

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

MainWindow::~MainWindow() = default;

void MainWindow::attach(Program& program) {
    program_ = &program;
    listModel_ = new ScheduleTableModel(program.list, this);
    Quorel_->setModel(listModel_);
    Quorel_->setColumnWidth(0, px(500));
    Quorel_->setColumnWidth(1, px(1100));
    Quorel_->setColumnWidth(2, px(700));
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
    Quorel_->setModel(nullptr);
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
    connect(portGroup_, &QButtonGroup::idClicked, this,
            [&p](int index) { p.portChoice.select(static_cast<int16_t>(index)); });
    for (int i = 0; i < 4; ++i) {
        connect(CheckS_[i], &QCheckBox::clicked, this, [this, &p, i] {
            p.manual.setCheckS(static_cast<int16_t>(i),
                               CheckS_[i]->checkState() == Qt::Checked ? 1 : 0);
            p.manual.CheckS_Click(static_cast<int16_t>(i));
        });
    }
    for (int i = 0; i < 2; ++i) {
        connect(CmdRelais_[i], &QPushButton::clicked, this,
                [&p, i] { p.manual.CmdRelais_Click(static_cast<int16_t>(i)); });
    }

    for (int i = 0; i < 3; ++i) {
        connect(ChEdit_[i], &QLineEdit::textEdited, this,
                [&p, i](const QString& text) { p.fields.ChEdit[i] = text.toStdString(); });
    }
    for (int i = 0; i < 2; ++i) {
        connect(ChDecoupe_[i], &QLineEdit::textEdited, this,
                [&p, i](const QString& text) { p.fields.ChDecoupe[i] = text.toStdString(); });
    }
    connect(ChDure_, &QLineEdit::textEdited, this,
            [&p](const QString& text) { p.fields.ChDure = text.toStdString(); });
    connect(ComboS_, &QComboBox::currentTextChanged, this,
            [&p](const QString& text) { p.fields.ComboS = text.toStdString(); });

    connect(BtnAjouter_, &QPushButton::clicked, this, [&p] { p.entries.BtnAjouter_Click(); });
    connect(BtnReplacer_, &QPushButton::clicked, this, [&p] { p.entries.BtnReplacer_Click(); });
    connect(BtnSupp_, &QPushButton::clicked, this, [&p] { p.entries.BtnSupp_Click(); });
    connect(BtnDelete_, &QPushButton::clicked, this, [&p] { p.entries.BtnDelete_Click(); });
    connect(BtnInti_, &QPushButton::clicked, this, [&p] { p.entries.BtnInti_Click(); });
    connect(BtnSave_, &QPushButton::clicked, this, [&p] { p.days.BtnSave_Click(); });
    connect(BtnCopy_, &QPushButton::clicked, this, [this] { showCopyMenu(); });
    for (int i = 1; i <= 7; ++i) {
        connect(Jour_[i - 1], &QAction::triggered, this,
                [&p, i] { p.days.Jour_Click(static_cast<int16_t>(i)); });
    }

    connect(Quorel_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, &p] {
        const QModelIndexList rows = Quorel_->selectionModel()->selectedRows();
        p.list.select(rows.isEmpty() ? std::nullopt : std::optional<int>(rows.front().row() + 1));
    });
    connect(Quorel_, &QTreeView::clicked, this, [&p] { p.entries.Quorel_Click(); });
    connect(Quorel_->header(), &QHeaderView::sectionClicked, this,
            [&p](int section) { p.entries.Quorel_ColumnClick(section + 1); });
    Quorel_->installEventFilter(this);

    connect(JourSemaine_, &QListWidget::currentRowChanged, this, [&p](int row) {
        if (row >= 0) {
            p.days.selectDay(row);
        }
    });

    connect(mnuautorun_, &QAction::triggered, this, [this, &p] {
        p.autoRun.mnuautorun_Click();
        showAutoRun();
    });
    connect(MnuQuit_, &QAction::triggered, this, [this] { closeFor(ShutdownCause::Quit); });
}

void MainWindow::showCopyMenu() {
    // The menu is modal, as a pop-up menu is: the picked day loads before the click returns.
    mnuJour_->exec(QCursor::pos());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Quorel_ && program_ != nullptr && event->type() == QEvent::KeyRelease) {
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
    }
}

void MainWindow::showClock() {
    LblHeure_->setText(qs(program_->captions.LblHeure));
}

void MainWindow::showOutputs() {
    for (int i = 0; i < 4; ++i) {
        setStyleSheetIfChanged(LedOut_[i], boxStyleSheet(program_->panel.LedOut[i]));
        LblTemp_[i]->setText(qs(program_->captions.LblTemp[i]));
        LblMaxi_[i]->setText(qs(program_->captions.LblMaxi[i]));
        const int value = program_->panel.CheckS[i];
        const QSignalBlocker blocker(CheckS_[i]);
        CheckS_[i]->setCheckState(value == 1   ? Qt::Checked
                                  : value == 2 ? Qt::PartiallyChecked
                                               : Qt::Unchecked);
    }
}

void MainWindow::showStatus() {
    InfoERR_->setText(qs(program_->panel.InfoERR));
}

void MainWindow::showPortChoice() {
    const int index = program_->panel.PortCom;
    if (index >= 0 && index < 5 && !PortCom_[index]->isChecked()) {
        const QSignalBlocker blocker(portGroup_);
        PortCom_[index]->setChecked(true);
    }
}

void MainWindow::showRelayButtons() {
    for (int i = 0; i < 2; ++i) {
        setStyleSheetIfChanged(CmdRelais_[i], buttonStyleSheet(program_->panel.CmdRelais[i]));
    }
}

void MainWindow::showList() {
    const QSignalBlocker blocker(Quorel_->selectionModel());
    listModel_->refresh();
    const auto selected = program_->list.selected();
    if (selected) {
        const QModelIndex index = listModel_->index(*selected - 1, 0);
        Quorel_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
    } else {
        Quorel_->selectionModel()->clearSelection();
    }
}

void MainWindow::showEditFields() {
    const EditFields& fields = program_->fields;
    for (int i = 0; i < 3; ++i) {
        setFieldText(ChEdit_[i], fields.ChEdit[i]);
    }
    for (int i = 0; i < 2; ++i) {
        setFieldText(ChDecoupe_[i], fields.ChDecoupe[i]);
    }
    setFieldText(ChDure_, fields.ChDure);
    const QSignalBlocker blocker(ComboS_);
    if (ComboS_->count() != static_cast<int>(fields.ComboSItems.size())) {
        ComboS_->clear();
        for (const std::string& item : fields.ComboSItems) {
            ComboS_->addItem(qs(item));
        }
    }
    ComboS_->setCurrentIndex(ComboS_->findText(qs(fields.ComboS)));
}

void MainWindow::showDays() {
    const QSignalBlocker blocker(JourSemaine_);
    const auto& days = program_->days.JourSemaine();
    if (JourSemaine_->count() != static_cast<int>(days.size())) {
        JourSemaine_->clear();
        for (const std::string& day : days) {
            JourSemaine_->addItem(qs(day));
        }
    }
    const auto selected = program_->days.selectedDay();
    JourSemaine_->setCurrentRow(selected ? *selected : -1);
}

void MainWindow::showAutoRun() {
    mnuautorun_->setChecked(program_->autoRun.checked());
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
    closeCause_ = cause;
    close();
    closeCause_ = ShutdownCause::WindowClosed;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing cannot be refused: the shut-down runs and the program ends.
    event->accept();
    if (program_ != nullptr && !program_->ended()) {
        program_->Form_Unload(closeCause_);
        if (onEnded) {
            onEnded();
        }
    }
}

} // namespace quorel
