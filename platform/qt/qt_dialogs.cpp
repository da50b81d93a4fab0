#include "platform/qt/qt_dialogs.h"

#include "core/message_boxes.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace quorel {

namespace {

QMessageBox::StandardButton standardButton(BoxButton button) {
    switch (button) {
    case BoxButton::Ok:
        return QMessageBox::Ok;
    case BoxButton::Yes:
        return QMessageBox::Yes;
    case BoxButton::No:
        return QMessageBox::No;
    case BoxButton::Cancel:
        break;
    }
    return QMessageBox::Cancel;
}

// Adds the described buttons with their captions: Qt's own would be English without a
// translation installed.
void addButtons(QMessageBox& box, const MessageBoxDescription& description) {
    QMessageBox::StandardButtons buttons;
    for (const auto& control : description.box.controls) {
        if (control.kind == ControlKind::PushButton) {
            buttons |= standardButton(control.events.front());
        }
    }
    box.setStandardButtons(buttons);
    for (const auto& control : description.box.controls) {
        if (control.kind == ControlKind::PushButton) {
            QAbstractButton* button = box.button(standardButton(control.events.front()));
            button->setText(QString::fromUtf8(control.caption));
            button->setObjectName(QString::fromUtf8(control.name));
        }
    }
    box.setDefaultButton(standardButton(description.defaultButton));
    box.setEscapeButton(standardButton(description.escapeButton));
}

QMessageBox::Icon boxIcon(const MessageBoxDescription& description, MessageIcon icon) {
    if (description.questionIcon) {
        return QMessageBox::Question;
    }
    return icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon;
}

} // namespace

void QtDialogs::message(const std::string& text, MessageIcon icon) {
    const MessageBoxDescription& description = messageBoxDescription();
    QMessageBox box(boxIcon(description, icon), QString::fromUtf8(description.box.title),
                    QString::fromStdString(text), QMessageBox::NoButton, parent_);
    addButtons(box, description);
    box.exec();
}

Answer QtDialogs::ask(const std::string& text) {
    const MessageBoxDescription& description = questionBoxDescription();
    QMessageBox box(boxIcon(description, MessageIcon::None),
                    QString::fromUtf8(description.box.title), QString::fromStdString(text),
                    QMessageBox::NoButton, parent_);
    addButtons(box, description);
    box.exec();
    // No button clicked: the box was ended from outside, as a signal does when the program ends.
    std::optional<BoxButton> clicked;
    for (const auto& control : description.box.controls) {
        if (control.kind == ControlKind::PushButton && box.clickedButton() != nullptr &&
            box.clickedButton() == box.button(standardButton(control.events.front()))) {
            clicked = control.events.front();
        }
    }
    return answerOf(clicked);
}

} // namespace quorel
