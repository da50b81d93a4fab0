#include "ui/qt/ports_dialog.h"

#include "ui/qt/twips.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorel {

namespace {

const PortsDescription& described() {
    return portsDescription();
}

QString captionOf(const char* name, int index = -1) {
    return QString::fromUtf8(described().control(name, index)->caption);
}

QPushButton* button(const char* name, QWidget* parent) {
    auto* pushButton = new QPushButton(captionOf(name), parent);
    pushButton->setObjectName(name);
    pushButton->setAutoDefault(false);
    return pushButton;
}

QString indexedName(const char* name, int index) {
    return QString("%1_%2").arg(name).arg(index);
}

} // namespace

// Laid out by Qt's layouts from the dialog's opening size, so that the fields follow when the
// operator widens it for a long device name.
PortsDialog::PortsDialog(PortsForm& form, QWidget* parent)
    : QDialog(parent), form_(form), detection_(new QLabel(this)) {
    setObjectName(described().name);
    setWindowTitle(QString::fromUtf8(described().title));
    setModal(true);
    auto* fields = new QGridLayout;
    for (int option = 0; option < kPortOptions; ++option) {
        auto* caption = new QLabel(captionOf("LblPort", option), this);
        caption->setObjectName(indexedName("LblPort", option));
        auto* field = new QComboBox(this);
        field->setObjectName(indexedName("CbPort", option));
        field->setEditable(true);
        field->setInsertPolicy(QComboBox::NoInsert);
        devices_.at(option) = field;
        fields->addWidget(caption, option, 0);
        fields->addWidget(field, option, 1);
        connect(field, &QComboBox::editTextChanged, this, [this, option](const QString& text) {
            if (!showing_) {
                form_.setDevice(option, text.toStdString());
            }
        });
        connect(field, &QComboBox::activated, this, [this, option](int choice) {
            if (choice >= 0) {
                form_.chooseDevice(option, static_cast<size_t>(choice));
                showForm();
            }
        });
    }
    fields->setColumnStretch(1, 1);
    detection_->setObjectName("LblDetection");
    detection_->setWordWrap(true);
    QPushButton* detect = button("BtnDetecter", this);
    connect(detect, &QPushButton::clicked, this, [this] { clicked(PortsEvent::DetectClicked); });
    auto* closing = new QDialogButtonBox(this);
    for (const auto& [name, role, event] :
         {std::tuple{"BtnEnregistrer", QDialogButtonBox::AcceptRole, PortsEvent::SaveClicked},
          std::tuple{"BtnAnnuler", QDialogButtonBox::RejectRole, PortsEvent::CancelClicked}}) {
        QPushButton* each = button(name, this);
        closing->addButton(each, role);
        connect(each, &QPushButton::clicked, this, [this, event] { clicked(event); });
    }
    // The box's own accept and reject would close the dialog before the form has its say.
    disconnect(closing, &QDialogButtonBox::accepted, nullptr, nullptr);
    disconnect(closing, &QDialogButtonBox::rejected, nullptr, nullptr);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(detect, 0, Qt::AlignLeft);
    layout->addWidget(detection_);
    layout->addStretch();
    layout->addWidget(closing);
    resize(px(described().clientWidth), px(described().clientHeight));
    showForm();
}

void PortsDialog::clicked(PortsEvent event) {
    if (event == PortsEvent::DetectClicked) {
        // Nothing found yet while the module is looked for.
        detection_->setText(QString());
    }
    form_.click(event);
    if (form_.ended()) {
        done(form_.saved() ? QDialog::Accepted : QDialog::Rejected);
        return;
    }
    showForm();
}

void PortsDialog::showForm() {
    showing_ = true;
    QStringList lines;
    for (const std::string& line : form_.choices()) {
        lines << QString::fromStdString(line);
    }
    for (int option = 0; option < kPortOptions; ++option) {
        QComboBox* field = devices_.at(option);
        QStringList shown;
        for (int i = 0; i < field->count(); ++i) {
            shown << field->itemText(i);
        }
        if (shown != lines) {
            field->clear();
            field->addItems(lines);
        }
        const QString device = QString::fromStdString(form_.device(option));
        if (field->currentText() != device) {
            field->setEditText(device);
        }
    }
    detection_->setText(QString::fromStdString(form_.detection()));
    showing_ = false;
}

} // namespace quorel
