#include "ui/qt/days_without_bells_dialog.h"

#include "schedule/calendar_date.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quorel {

namespace {

QDate qDate(const LocalDate& date) {
    return QDate(date.year, date.month, date.day);
}

LocalDate localDate(const QDate& date) {
    return LocalDate{date.year(), date.month(), date.day()};
}

QDateEdit* dateField(const char* name, const LocalDate& today, QWidget* parent) {
    auto* field = new QDateEdit(qDate(today), parent);
    field->setObjectName(name);
    field->setCalendarPopup(true);
    field->setDisplayFormat("dd/MM/yyyy");
    return field;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent) {
    auto* pushButton = new QPushButton(caption, parent);
    pushButton->setObjectName(name);
    pushButton->setAutoDefault(false);
    return pushButton;
}

} // namespace

DaysWithoutBellsDialog::DaysWithoutBellsDialog(ClosedPeriodsEditor& editor, LocalDate today,
                                               std::string path, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), editor_(editor), today_(today), path_(std::move(path)), dialogs_(dialogs),
      periods_(new QTreeWidget(this)), from_(dateField("ChDu", today, this)),
      to_(dateField("ChAu", today, this)), label_(new QLineEdit(this)) {
    setObjectName("FJoursSansSonnerie");
    setWindowTitle("Jours sans sonnerie");
    setModal(true);
    periods_->setObjectName("JoursSansSonnerie");
    periods_->setHeaderLabels({"Du", "Au", "Motif"});
    periods_->setRootIsDecorated(false);
    periods_->header()->setStretchLastSection(true);
    label_->setObjectName("ChMotif");

    auto* fields = new QFormLayout;
    fields->addRow("Du", from_);
    fields->addRow("Au", to_);
    fields->addRow("Motif", label_);
    auto* add = button("BtnAjouterPeriode", "Ajouter", this);
    auto* remove = button("BtnSupprimerPeriode", "Supprimer", this);
    auto* holidays = button("BtnJoursFeries", "Ajouter les jours fériés", this);
    auto* commands = new QHBoxLayout;
    commands->addWidget(add);
    commands->addWidget(remove);
    commands->addWidget(holidays);
    auto* closing = new QDialogButtonBox(this);
    auto* saveButton = button("BtnEnregistrer", "Enregistrer", this);
    closing->addButton(saveButton, QDialogButtonBox::AcceptRole);
    closing->addButton(button("BtnAnnuler", "Annuler", this), QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(periods_);
    layout->addLayout(fields);
    layout->addLayout(commands);
    layout->addWidget(closing);

    connect(add, &QPushButton::clicked, this, &DaysWithoutBellsDialog::addPeriod);
    connect(remove, &QPushButton::clicked, this, &DaysWithoutBellsDialog::removePeriod);
    connect(holidays, &QPushButton::clicked, this, &DaysWithoutBellsDialog::addPublicHolidays);
    // The box's accept would close the dialog before the save could fail.
    disconnect(closing, &QDialogButtonBox::accepted, nullptr, nullptr);
    connect(saveButton, &QPushButton::clicked, this, &DaysWithoutBellsDialog::save);
    connect(closing, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(560, 420);
    showPeriods();
}

void DaysWithoutBellsDialog::showPeriods() {
    periods_->clear();
    for (const ClosedPeriod& period : editor_.periods()) {
        auto* row =
            new QTreeWidgetItem(periods_, {QString::fromStdString(frenchDateText(period.from)),
                                           QString::fromStdString(frenchDateText(period.to)),
                                           QString::fromStdString(period.label)});
        if (isOver(period, today_)) {
            for (int column = 0; column < 3; ++column) {
                row->setForeground(column, palette().brush(QPalette::Disabled, QPalette::Text));
            }
        }
    }
    for (int column = 0; column < 2; ++column) {
        periods_->resizeColumnToContents(column);
    }
}

void DaysWithoutBellsDialog::addPeriod() {
    const std::string refused =
        editor_.add(localDate(from_->date()), localDate(to_->date()), label_->text().toStdString());
    if (!refused.empty()) {
        dialogs_.message(refused, MessageIcon::Critical);
        return;
    }
    label_->clear();
    showPeriods();
}

void DaysWithoutBellsDialog::removePeriod() {
    const int row = periods_->indexOfTopLevelItem(periods_->currentItem());
    if (row >= 0) {
        editor_.remove(static_cast<size_t>(row));
        showPeriods();
    }
}

void DaysWithoutBellsDialog::addPublicHolidays() {
    editor_.addPublicHolidays(today_.year);
    showPeriods();
}

void DaysWithoutBellsDialog::save() {
    const std::string failure = editor_.save(path_);
    if (!failure.empty()) {
        dialogs_.message(failure, MessageIcon::Critical);
        return; // the edits stay in the dialog
    }
    accept();
}

} // namespace quorel
