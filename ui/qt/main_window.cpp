#include "ui/qt/main_window.h"

#include "relay/status_text.h"
#include "ui/days_without_bells.h"
#include "ui/journal_viewer.h"
#include "ui/main_window_events.h"
#include "ui/qt/bell_icon.h"
#include "ui/qt/colours.h"
#include "ui/qt/days_without_bells_dialog.h"
#include "ui/qt/journal_dialog.h"
#include "ui/qt/ports_dialog.h"
#include "ui/qt/schedule_table_model.h"
#include "ui/qt/special_timetables_dialog.h"
#include "ui/qt/twips.h"

#include <QAbstractButton>
#include <QAction>
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

KeyRelease keyReleaseOf(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    return KeyRelease{event->key() == Qt::Key_Delete ? ListKey::Delete : ListKey::Other,
                      {.shift = (modifiers & Qt::ShiftModifier) != 0,
                       .control = (modifiers & Qt::ControlModifier) != 0,
                       .alt = (modifiers & Qt::AltModifier) != 0}};
}

Qt::CheckState qtCheckState(CheckState state) {
    switch (state) {
    case CheckState::Checked:
        return Qt::Checked;
    case CheckState::Greyed:
        return Qt::PartiallyChecked;
    case CheckState::Unchecked:
        break;
    }
    return Qt::Unchecked;
}

// The dialogs, shown modally over the window.
class SpecialTimetablesOnScreen final : public SpecialTimetablesScreen {
  public:
    explicit SpecialTimetablesOnScreen(QWidget* parent) : parent_(parent) {}
    void show(SpecialTimetablesForm& form) override {
        SpecialTimetablesDialog dialog(form, parent_);
        dialog.exec();
    }

  private:
    QWidget* parent_;
};

class PortsOnScreen final : public PortsScreen {
  public:
    explicit PortsOnScreen(QWidget* parent) : parent_(parent) {}
    void show(PortsForm& form) override {
        PortsDialog dialog(form, parent_);
        dialog.exec();
    }

  private:
    QWidget* parent_;
};

class DaysWithoutBellsOnScreen final : public DaysWithoutBellsScreen {
  public:
    explicit DaysWithoutBellsOnScreen(QWidget* parent) : parent_(parent) {}
    void show(DaysWithoutBellsForm& form) override {
        DaysWithoutBellsDialog dialog(form, parent_);
        dialog.exec();
    }

  private:
    QWidget* parent_;
};

class JournalOnScreen final : public JournalScreen {
  public:
    explicit JournalOnScreen(QWidget* parent) : parent_(parent) {}
    void show(JournalViewer& viewer) override {
        JournalDialog dialog(viewer, parent_);
        dialog.exec();
    }

  private:
    QWidget* parent_;
};

} // namespace

MainWindow::MainWindow() : controls_(*this) {
    setObjectName(QString::fromUtf8(mainWindowDescription().name));
    setWindowTitle(QString::fromUtf8(mainWindowDescription().title));
    setWindowIcon(bellIcon());
    adjustSize();
}

MainWindow::~MainWindow() = default;

void MainWindow::attach(Program& program) {
    program_ = &program;
    const std::vector<ListColumn>& columns = mainWindowDescription().control("Quorel")->columns;
    listModel_ = new ScheduleTableModel(program.list, columns, this);
    controls_.Quorel->setModel(listModel_);
    for (size_t column = 0; column < columns.size(); ++column) {
        controls_.Quorel->setColumnWidth(static_cast<int>(column), px(columns[column].width));
    }
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
    for (const auto& [control, widget] : controls_.built) {
        for (WindowEvent event : control->events) {
            connectEvent(event, control->index, widget);
        }
    }
    for (const auto& [item, action] : controls_.items) {
        for (WindowEvent event : item->events) {
            connectEvent(event, item->index, action);
        }
        // A checkable item puts its own check mark when triggered; the logic's is shown again.
        if (item->checkable && item->content) {
            connect(action, &QAction::triggered, this,
                    [this, part = *item->content] { redraw(part); });
        }
    }
}

void MainWindow::connectEvent(WindowEvent event, int index, QObject* source) {
    const auto onClick = [this, event, index, source] {
        connect(qobject_cast<QAbstractButton*>(source), &QAbstractButton::clicked, this,
                [this, event, index] { forward({.event = event, .index = index}); });
    };
    const auto onEdit = [this, event, index, source] {
        connect(qobject_cast<QLineEdit*>(source), &QLineEdit::textEdited, this,
                [this, event, index](const QString& text) {
                    forward({.event = event, .index = index, .text = text.toStdString()});
                });
    };
    const auto onMenu = [this, event, index, source] {
        connect(qobject_cast<QAction*>(source), &QAction::triggered, this,
                [this, event, index] { forward({.event = event, .index = index}); });
    };
    switch (event) {
    case WindowEvent::PortChosen:
    case WindowEvent::RelayTestClicked:
    case WindowEvent::SeriesClicked:
    case WindowEvent::AddClicked:
    case WindowEvent::ReplaceClicked:
    case WindowEvent::RemoveClicked:
    case WindowEvent::ClearClicked:
    case WindowEvent::SaveClicked:
    case WindowEvent::CopyDayClicked:
        onClick();
        break;
    case WindowEvent::OutputSwitchClicked: {
        auto* box = qobject_cast<QCheckBox*>(source);
        connect(box, &QCheckBox::clicked, this, [this, event, index, box] {
            forward({.event = event,
                     .index = index,
                     .check = box->checkState() == Qt::Checked ? CheckState::Checked
                                                               : CheckState::Unchecked});
        });
        break;
    }
    case WindowEvent::EntryFieldEdited:
    case WindowEvent::SeriesOffsetEdited:
    case WindowEvent::SeriesDurationEdited:
        onEdit();
        break;
    case WindowEvent::SeriesOutputChosen:
        connect(qobject_cast<QComboBox*>(source), &QComboBox::currentTextChanged, this,
                [this, event](const QString& text) {
                    forward({.event = event, .text = text.toStdString()});
                });
        break;
    case WindowEvent::RowChosen: {
        QItemSelectionModel* selection = qobject_cast<QTreeView*>(source)->selectionModel();
        connect(selection, &QItemSelectionModel::selectionChanged, this, [this, event, selection] {
            const QModelIndexList rows = selection->selectedRows();
            forward({.event = event, .position = rows.isEmpty() ? 0 : rows.front().row() + 1});
        });
        break;
    }
    case WindowEvent::ListClicked:
        connect(qobject_cast<QTreeView*>(source), &QTreeView::clicked, this,
                [this, event] { forward({.event = event}); });
        break;
    case WindowEvent::ColumnClicked:
        connect(qobject_cast<QTreeView*>(source)->header(), &QHeaderView::sectionClicked, this,
                [this, event](int section) { forward({.event = event, .position = section + 1}); });
        break;
    case WindowEvent::ListKeyReleased:
        source->installEventFilter(this); // see eventFilter
        break;
    case WindowEvent::DayChosen:
        connect(qobject_cast<QListWidget*>(source), &QListWidget::currentRowChanged, this,
                [this, event](int row) {
                    if (row < 0) {
                        return;
                    }
                    if (!program_->days.modified()) {
                        forward({.event = event, .position = row});
                        return;
                    }
                    // The question waits until the click or key that moved the selection is
                    // over: a box inside it would leave the list with the new row selected
                    // after "Annuler" put the current row back.
                    QTimer::singleShot(0, this, [this, event, row] {
                        if (program_ != nullptr && !program_->ended()) {
                            forward({.event = event, .position = row});
                        }
                    });
                });
        break;
    case WindowEvent::DayCopied:
    case WindowEvent::AutoRunClicked:
    case WindowEvent::DaysWithoutBellsClicked:
    case WindowEvent::PortsClicked:
    case WindowEvent::SpecialTimetablesClicked:
    case WindowEvent::JournalClicked:
    case WindowEvent::QuitClicked:
        onMenu();
        break;
    }
}

void MainWindow::showCopyMenu() {
    // The menu is modal, as a pop-up menu is: the picked day loads before the click returns.
    controls_.mnuJour->exec(QCursor::pos());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls_.Quorel && program_ != nullptr && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            forward({.event = WindowEvent::ListKeyReleased, .key = keyReleaseOf(key)});
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showClock() {
    controls_.LblHeure->setText(qs(program_->captions.LblHeure));
    controls_.LblHeure->setToolTip(qs(program_->captions.LblHeureToolTip));
    setStyleSheetIfChanged(controls_.LblHeure,
                           program_->captions.clockWarning ? warningStyleSheet() : QString());
}

void MainWindow::showOutputs() {
    for (int i = 0; i < 4; ++i) {
        setStyleSheetIfChanged(controls_.LedOut[i], boxStyleSheet(program_->panel.LedOut[i]));
        controls_.LblTemp[i]->setText(qs(program_->captions.LblTemp[i]));
        controls_.LblMaxi[i]->setText(qs(program_->captions.LblMaxi[i]));
        const QSignalBlocker blocker(controls_.CheckS[i]);
        controls_.CheckS[i]->setCheckState(qtCheckState(program_->panel.CheckS[i]));
    }
}

void MainWindow::showStatus() {
    controls_.InfoERR->setText(qs(program_->panel.InfoERR));
    controls_.InfoERR->setToolTip(qs(program_->statusToolTip()));
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
    QStringList names;
    for (const std::string& day : days) {
        names << qs(day);
    }
    QStringList shown;
    for (int row = 0; row < controls_.JourSemaine->count(); ++row) {
        shown << controls_.JourSemaine->item(row)->text();
    }
    if (shown != names) {
        controls_.JourSemaine->clear();
        controls_.JourSemaine->addItems(names);
    }
    // The pop-up "Jour" lists the same timetables.
    const QList<QAction*> copies = controls_.mnuJour->actions();
    for (int i = 0; i < copies.size(); ++i) {
        copies[i]->setVisible(i < names.size());
        copies[i]->setText(i < names.size() ? names[i] : QString());
    }
    const auto selected = program_->days.selectedDay();
    controls_.JourSemaine->setCurrentRow(selected ? *selected : -1);
}

void MainWindow::showAutoRun() {
    controls_.mnuautorun->setChecked(program_->autoRun.checked());
    controls_.mnuautorun->setEnabled(program_->autoRunAvailable());
}

void MainWindow::showNextBell() {
    const NextBellSign sign = program_->shownNextBell();
    controls_.LblProchaine->setText(qs(sign.text));
    controls_.LblProchaine->setToolTip(qs(sign.toolTip.empty() ? sign.text : sign.toolTip));
    setStyleSheetIfChanged(controls_.LblProchaine, sign.warning ? warningStyleSheet() : QString());
}

void MainWindow::editDaysWithoutBells() {
    DaysWithoutBellsOnScreen screen(this);
    quorel::editDaysWithoutBells(*program_, screen);
}

void MainWindow::editSpecialTimetables() {
    SpecialTimetablesOnScreen screen(this);
    quorel::editSpecialTimetables(*program_, screen);
}

void MainWindow::editPorts() {
    PortsOnScreen screen(this);
    quorel::editPorts(*program_, screen);
}

void MainWindow::showJournal() {
    JournalOnScreen screen(this);
    quorel::showJournal(*program_, screen);
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
