#include "ui/qt/days_without_bells_dialog.h"

#include "ui/qt/twips.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quorel {

namespace {

const DaysWithoutBellsDescription& described() {
    return daysWithoutBellsDescription();
}

QString captionOf(const char* name) {
    return QString::fromUtf8(described().control(name)->caption);
}

QDate qDate(const LocalDate& date) {
    return QDate(date.year, date.month, date.day);
}

LocalDate localDate(const QDate& date) {
    return LocalDate{date.year(), date.month(), date.day()};
}

QDateEdit* dateField(const char* name, QWidget* parent) {
    auto* field = new QDateEdit(parent);
    field->setObjectName(name);
    field->setCalendarPopup(true);
    field->setDisplayFormat("dd/MM/yyyy");
    return field;
}

QPushButton* button(const char* name, QWidget* parent) {
    auto* pushButton = new QPushButton(captionOf(name), parent);
    pushButton->setObjectName(name);
    pushButton->setAutoDefault(false);
    return pushButton;
}

QLabel* label(const char* name, QWidget* parent) {
    auto* shown = new QLabel(captionOf(name), parent);
    shown->setObjectName(name);
    return shown;
}

} // namespace

// The controls are laid out by Qt's layouts from the dialog's opening size, so that they follow
// when the operator resizes it.
DaysWithoutBellsDialog::DaysWithoutBellsDialog(DaysWithoutBellsForm& form, QWidget* parent)
    : QDialog(parent), form_(form), periods_(new QTreeWidget(this)), from_(dateField("ChDu", this)),
      to_(dateField("ChAu", this)), label_(new QLineEdit(this)) {
    setObjectName(described().name);
    setWindowTitle(QString::fromUtf8(described().title));
    setModal(true);
    periods_->setObjectName("JoursSansSonnerie");
    QStringList headers;
    for (const ListColumn& column : described().control("JoursSansSonnerie")->columns) {
        headers << QString::fromUtf8(column.caption);
    }
    periods_->setHeaderLabels(headers);
    periods_->setRootIsDecorated(false);
    periods_->header()->setStretchLastSection(true);
    label_->setObjectName("ChMotif");

    auto* fields = new QFormLayout;
    fields->addRow(label("LblDu", this), from_);
    fields->addRow(label("LblAu", this), to_);
    fields->addRow(label("LblMotif", this), label_);
    auto* commands = new QHBoxLayout;
    for (const char* name : {"BtnAjouterPeriode", "BtnSupprimerPeriode", "BtnJoursFeries"}) {
        commands->addWidget(button(name, this));
    }
    auto* closing = new QDialogButtonBox(this);
    closing->addButton(button("BtnEnregistrer", this), QDialogButtonBox::AcceptRole);
    closing->addButton(button("BtnAnnuler", this), QDialogButtonBox::RejectRole);
    // The box's own accept and reject would close the dialog before the form has its say.
    disconnect(closing, &QDialogButtonBox::accepted, nullptr, nullptr);
    disconnect(closing, &QDialogButtonBox::rejected, nullptr, nullptr);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(periods_);
    layout->addLayout(fields);
    layout->addLayout(commands);
    layout->addWidget(closing);

    for (const auto& control : described().controls) {
        for (DaysWithoutBellsEvent event : control.events) {
            connectEvent(event, findChild<QWidget*>(control.name));
        }
    }
    resize(px(described().clientWidth), px(described().clientHeight));
    showForm();
}

void DaysWithoutBellsDialog::connectEvent(DaysWithoutBellsEvent event, QWidget* source) {
    switch (event) {
    case DaysWithoutBellsEvent::PeriodChosen:
        connect(periods_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
            const int row = periods_->indexOfTopLevelItem(item);
            form_.choosePeriod(row >= 0 ? std::optional<size_t>(row) : std::nullopt);
        });
        break;
    case DaysWithoutBellsEvent::FromEdited:
        connect(from_, &QDateEdit::dateChanged, this,
                [this](const QDate& date) { form_.setFrom(localDate(date)); });
        break;
    case DaysWithoutBellsEvent::ToEdited:
        connect(to_, &QDateEdit::dateChanged, this,
                [this](const QDate& date) { form_.setTo(localDate(date)); });
        break;
    case DaysWithoutBellsEvent::LabelEdited:
        connect(label_, &QLineEdit::textChanged, this,
                [this](const QString& text) { form_.setLabel(text.toStdString()); });
        break;
    case DaysWithoutBellsEvent::AddClicked:
    case DaysWithoutBellsEvent::RemoveClicked:
    case DaysWithoutBellsEvent::HolidaysClicked:
    case DaysWithoutBellsEvent::SaveClicked:
    case DaysWithoutBellsEvent::CancelClicked:
        connect(qobject_cast<QPushButton*>(source), &QPushButton::clicked, this,
                [this, event] { clicked(event); });
        break;
    }
}

void DaysWithoutBellsDialog::clicked(DaysWithoutBellsEvent event) {
    form_.click(event);
    if (form_.ended()) {
        done(form_.saved() ? QDialog::Accepted : QDialog::Rejected);
        return;
    }
    showForm();
}

void DaysWithoutBellsDialog::showForm() {
    periods_->clear();
    for (const PeriodRow& period : form_.rows()) {
        auto* row = new QTreeWidgetItem(periods_, {QString::fromStdString(period.from),
                                                   QString::fromStdString(period.to),
                                                   QString::fromStdString(period.label)});
        if (period.over) {
            for (int column = 0; column < 3; ++column) {
                row->setForeground(column, palette().brush(QPalette::Disabled, QPalette::Text));
            }
        }
    }
    for (int column = 0; column < 2; ++column) {
        periods_->resizeColumnToContents(column);
    }
    from_->setDate(qDate(form_.from()));
    to_->setDate(qDate(form_.to()));
    if (label_->text().toStdString() != form_.label()) {
        label_->setText(QString::fromStdString(form_.label()));
    }
}

} // namespace quorel
