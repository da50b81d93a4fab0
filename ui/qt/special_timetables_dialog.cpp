#include "ui/qt/special_timetables_dialog.h"

#include "ui/qt/colours.h"
#include "ui/qt/twips.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

namespace quorel {

namespace {

using Event = SpecialTimetablesEvent;

const SpecialTimetablesDescription& described() {
    return specialTimetablesDescription();
}

QString captionOf(const char* name) {
    return QString::fromUtf8(described().control(name)->caption);
}

QLabel* label(const char* name, QWidget* parent) {
    auto* shown = new QLabel(captionOf(name), parent);
    shown->setObjectName(name);
    return shown;
}

QDateEdit* dateField(const char* name, QWidget* parent) {
    auto* field = new QDateEdit(parent);
    field->setObjectName(name);
    field->setCalendarPopup(true);
    field->setDisplayFormat("dd/MM/yyyy");
    return field;
}

LocalDate localDate(const QDate& date) {
    return LocalDate{date.year(), date.month(), date.day()};
}

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

} // namespace

// Laid out by Qt's layouts from the dialog's opening size, so that the lists follow when the
// operator resizes it.
SpecialTimetablesDialog::SpecialTimetablesDialog(SpecialTimetablesForm& form, QWidget* parent)
    : QDialog(parent), form_(form), timetables_(named(new QListWidget(this), "ListeHoraires")),
      name_(named(new QLineEdit(this), "ChNom")),
      periods_(named(new QTreeWidget(this), "Periodes")), from_(dateField("ChDu", this)),
      to_(dateField("ChAu", this)), timetable_(named(new QComboBox(this), "ComboHoraire")) {
    setObjectName(described().name);
    setWindowTitle(QString::fromUtf8(described().title));
    setModal(true);
    QStringList headers;
    for (const ListColumn& column : described().control("Periodes")->columns) {
        headers << QString::fromUtf8(column.caption);
    }
    periods_->setHeaderLabels(headers);
    periods_->setRootIsDecorated(false);
    periods_->header()->setStretchLastSection(true);

    const auto button = [this](const char* name, Event event) {
        auto* pushButton = new QPushButton(captionOf(name), this);
        pushButton->setObjectName(name);
        pushButton->setAutoDefault(false);
        connect(pushButton, &QPushButton::clicked, this, [this, event] { clicked(event); });
        return pushButton;
    };
    auto* naming = new QGridLayout;
    naming->addWidget(label("LblNom", this), 0, 0);
    naming->addWidget(name_, 0, 1, 1, 3);
    naming->addWidget(button("BtnAjouterHoraire", Event::AddTimetable), 1, 1);
    naming->addWidget(button("BtnRenommerHoraire", Event::RenameTimetable), 1, 2);
    naming->addWidget(button("BtnSupprimerHoraire", Event::RemoveTimetable), 1, 3);
    naming->setRowStretch(2, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(timetables_, 1);
    top->addLayout(naming, 1);

    auto* fields = new QFormLayout;
    fields->addRow(label("LblDu", this), from_);
    fields->addRow(label("LblAu", this), to_);
    fields->addRow(label("LblHoraire", this), timetable_);
    auto* commands = new QHBoxLayout;
    commands->addWidget(button("BtnAjouterPeriode", Event::AddPeriod));
    commands->addWidget(button("BtnSupprimerPeriode", Event::RemovePeriod));
    commands->addStretch();
    auto* closing = new QDialogButtonBox(this);
    closing->addButton(button("BtnEnregistrer", Event::SaveClicked), QDialogButtonBox::AcceptRole);
    closing->addButton(button("BtnAnnuler", Event::CancelClicked), QDialogButtonBox::RejectRole);
    // The box's own accept and reject would close the dialog before the form has its say.
    disconnect(closing, &QDialogButtonBox::accepted, nullptr, nullptr);
    disconnect(closing, &QDialogButtonBox::rejected, nullptr, nullptr);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label("LblHoraires", this));
    layout->addLayout(top);
    layout->addWidget(label("LblPeriodes", this));
    layout->addWidget(periods_, 1);
    layout->addLayout(fields);
    layout->addLayout(commands);
    layout->addWidget(closing);

    connect(timetables_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_) {
            form_.chooseTimetable(row >= 0 ? std::optional<size_t>(row) : std::nullopt);
            // Only the name follows: the list is not made anew inside its own signal.
            const bool wasShowing = std::exchange(showing_, true);
            name_->setText(QString::fromStdString(form_.name()));
            showing_ = wasShowing;
        }
    });
    connect(name_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!showing_) {
            form_.setName(text.toStdString());
        }
    });
    connect(periods_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!showing_) {
            const int row = periods_->indexOfTopLevelItem(item);
            form_.choosePeriod(row >= 0 ? std::optional<size_t>(row) : std::nullopt);
        }
    });
    connect(from_, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        if (!showing_) {
            form_.setFrom(localDate(date));
        }
    });
    connect(to_, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        if (!showing_) {
            form_.setTo(localDate(date));
        }
    });
    connect(timetable_, &QComboBox::activated, this, [this](int choice) {
        if (choice >= 0) {
            form_.pickTimetable(static_cast<size_t>(choice));
        }
    });
    resize(px(described().clientWidth), px(described().clientHeight));
    showForm();
}

void SpecialTimetablesDialog::clicked(Event event) {
    form_.click(event);
    if (form_.ended()) {
        done(form_.saved() ? QDialog::Accepted : QDialog::Rejected);
        return;
    }
    showForm();
}

void SpecialTimetablesDialog::showForm() {
    showing_ = true;
    timetables_->clear();
    for (const std::string& name : form_.timetables()) {
        timetables_->addItem(QString::fromStdString(name));
    }
    const std::optional<size_t> chosen = form_.chosenTimetable();
    timetables_->setCurrentRow(chosen ? static_cast<int>(*chosen) : -1);
    if (name_->text().toStdString() != form_.name()) {
        name_->setText(QString::fromStdString(form_.name()));
    }
    periods_->clear();
    for (const DatedPeriodRow& period : form_.rows()) {
        auto* row = new QTreeWidgetItem(periods_, {QString::fromStdString(period.from),
                                                   QString::fromStdString(period.to),
                                                   QString::fromStdString(period.timetable)});
        for (int column = 0; column < 3; ++column) {
            if (!period.fault.empty()) {
                row->setBackground(column, warningBackgroundColour());
                row->setForeground(column, warningTextColour());
                row->setToolTip(column, QString::fromStdString(period.fault));
            } else if (period.over) {
                row->setForeground(column, palette().brush(QPalette::Disabled, QPalette::Text));
            }
        }
    }
    for (int column = 0; column < 2; ++column) {
        periods_->resizeColumnToContents(column);
    }
    form_.choosePeriod(std::nullopt); // the rows were made anew: none is current
    from_->setDate(QDate(form_.from().year, form_.from().month, form_.from().day));
    to_->setDate(QDate(form_.to().year, form_.to().month, form_.to().day));
    timetable_->clear();
    for (const std::string& choice : form_.timetableChoices()) {
        timetable_->addItem(QString::fromStdString(choice));
    }
    timetable_->setCurrentIndex(static_cast<int>(form_.timetableChoice()));
    showing_ = false;
}

} // namespace quorel
