#include "platform/qt/qt_dialogs.h"

#include <QMessageBox>

namespace quorel {

void QtDialogs::message(const std::string& text, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QStringLiteral("Gestion Quorel"), QString::fromStdString(text), QMessageBox::Ok,
                    parent_);
    box.exec();
}

} // namespace quorel
