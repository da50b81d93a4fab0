#include "platform/qt/qt_dialogs.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace quorel {

void QtDialogs::message(const std::string& text, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QStringLiteral("Gestion Quorel"), QString::fromStdString(text), QMessageBox::Ok,
                    parent_);
    box.exec();
}

Answer QtDialogs::ask(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Gestion Quorel"),
                    QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    // Qt's own captions would be English without a translation installed.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Oui"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Non"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Annuler"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    // No button clicked: the box was ended from outside, as a signal does when the program ends.
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked == box.button(QMessageBox::Yes)) {
        return Answer::Yes;
    }
    if (clicked == box.button(QMessageBox::No)) {
        return Answer::No;
    }
    return Answer::Cancel;
}

} // namespace quorel
