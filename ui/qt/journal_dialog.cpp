#include "ui/qt/journal_dialog.h"

#include "ui/qt/twips.h"

#include <QDateEdit>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace quorel {

namespace {

QString captionOf(const char* name) {
    return QString::fromUtf8(journalDescription().control(name)->caption);
}

} // namespace

// The controls are laid out by Qt's layouts from the dialog's opening size, so that they follow
// when the operator resizes it.
JournalDialog::JournalDialog(JournalViewer& viewer, QWidget* parent)
    : QDialog(parent), viewer_(viewer),
      date_(new QDateEdit(QDate(viewer.day().year, viewer.day().month, viewer.day().day), this)),
      lines_(new QPlainTextEdit(this)) {
    const JournalDescription& described = journalDescription();
    setObjectName(described.name);
    setWindowTitle(QString::fromUtf8(described.title));
    date_->setObjectName("ChDateJournal");
    date_->setCalendarPopup(true);
    date_->setDisplayFormat("dd/MM/yyyy");
    lines_->setObjectName("TexteJournal");
    lines_->setReadOnly(true);
    lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Fixed width, so that the times of the lines stand in a column.
    lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* openFolder = new QPushButton(captionOf("BtnOuvrirDossier"), this);
    openFolder->setObjectName("BtnOuvrirDossier");
    openFolder->setAutoDefault(false);
    auto* closing = new QDialogButtonBox(this);
    closing->addButton(captionOf("BtnFermer"), QDialogButtonBox::RejectRole)
        ->setObjectName("BtnFermer");
    auto* top = new QHBoxLayout;
    auto* day = new QLabel(captionOf("LblJour"), this);
    day->setObjectName("LblJour");
    top->addWidget(day);
    top->addWidget(date_);
    top->addStretch();
    top->addWidget(openFolder);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lines_);
    layout->addWidget(closing);

    for (const auto& control : described.controls) {
        for (JournalEvent event : control.events) {
            connectEvent(event, findChild<QWidget*>(control.name));
        }
    }
    resize(px(described.clientWidth), px(described.clientHeight));
    showLines();
}

void JournalDialog::connectEvent(JournalEvent event, QWidget* source) {
    switch (event) {
    case JournalEvent::DayChosen:
        connect(date_, &QDateEdit::dateChanged, this, [this](const QDate& day) {
            viewer_.chooseDay(LocalDate{day.year(), day.month(), day.day()});
            showLines();
        });
        break;
    case JournalEvent::OpenFolderClicked:
        connect(qobject_cast<QPushButton*>(source), &QPushButton::clicked, this, [this] {
            QDesktopServices::openUrl(
                QUrl::fromLocalFile(QString::fromStdString(viewer_.folder())));
        });
        break;
    case JournalEvent::CloseClicked:
        connect(qobject_cast<QPushButton*>(source), &QPushButton::clicked, this, &QDialog::reject);
        break;
    }
}

void JournalDialog::showLines() {
    lines_->setPlainText(QString::fromStdString(viewer_.lines()));
    lines_->moveCursor(QTextCursor::End);
    lines_->ensureCursorVisible();
}

} // namespace quorel
