#include "ui/qt/journal_dialog.h"

#include "schedule/daily_journal.h"

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

JournalDialog::JournalDialog(std::string folder, LocalDate today, QWidget* parent)
    : QDialog(parent), folder_(std::move(folder)),
      date_(new QDateEdit(QDate(today.year, today.month, today.day), this)),
      lines_(new QPlainTextEdit(this)) {
    setObjectName("FJournal");
    setWindowTitle("Journal");
    date_->setObjectName("ChDateJournal");
    date_->setCalendarPopup(true);
    date_->setDisplayFormat("dd/MM/yyyy");
    lines_->setObjectName("TexteJournal");
    lines_->setReadOnly(true);
    lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Fixed width, so that the times of the lines stand in a column.
    lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* openFolder = new QPushButton(QString::fromUtf8("Ouvrir le dossier"), this);
    openFolder->setObjectName("BtnOuvrirDossier");
    openFolder->setAutoDefault(false);
    auto* closing = new QDialogButtonBox(this);
    closing->addButton("Fermer", QDialogButtonBox::RejectRole)->setObjectName("BtnFermer");
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Jour", this));
    top->addWidget(date_);
    top->addStretch();
    top->addWidget(openFolder);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lines_);
    layout->addWidget(closing);

    connect(date_, &QDateEdit::dateChanged, this, [this] { showDay(); });
    connect(openFolder, &QPushButton::clicked, this, [this] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder_)));
    });
    connect(closing, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(640, 480);
    showDay();
}

void JournalDialog::showDay() {
    const QDate day = date_->date();
    lines_->setPlainText(QString::fromStdString(
        journalDayText(folder_, LocalDate{day.year(), day.month(), day.day()})));
    lines_->moveCursor(QTextCursor::End);
    lines_->ensureCursorVisible();
}

} // namespace quorel
