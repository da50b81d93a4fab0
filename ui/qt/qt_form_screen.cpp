#include "ui/qt/qt_form_screen.h"

#include "ui/qt/form_renderer.h"
#include "ui/qt/twips.h"

#include <QDesktopServices>
#include <QDialog>
#include <QMenuBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace quorel {

namespace {

// A form's dialog: a client area of the described size (its minimum when resizable) under the
// menu bar, if the form has menus on one.
class FormDialog final : public QDialog {
  public:
    FormDialog(Form& form, QWidget* parent) : QDialog(parent) {
        const FormDescription& description = form.description();
        setObjectName(QString::fromUtf8(description.name));
        setWindowTitle(QString::fromUtf8(description.title));
        setModal(true);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        QMenuBar* menuBar = nullptr;
        if (std::any_of(description.menus.begin(), description.menus.end(),
                        [](const auto& menu) { return menu.onMenuBar; })) {
            menuBar = new QMenuBar(this);
            layout->setMenuBar(menuBar);
        }
        auto* client = new QWidget(this);
        const QSize size(px(description.clientWidth), px(description.clientHeight));
        if (description.resizable) {
            client->setMinimumSize(size);
        } else {
            client->setFixedSize(size);
        }
        layout->addWidget(client);
        renderer_ = new FormRenderer(description, *client, menuBar);
        renderer_->bind(&form);
        renderer_->onEnded = [this] { accept(); };
        cancelButton_ = description.cancelButton;
        renderer_->draw();
        resize(minimumSizeHint());
    }

    // Escape and the close box.
    void reject() override {
        if (cancelButton_ == nullptr) {
            QDialog::reject();
            return;
        }
        renderer_->click(cancelButton_);
    }

  private:
    FormRenderer* renderer_;
    const char* cancelButton_ = nullptr;
};

} // namespace

void QtFormScreen::show(Form& form) {
    if (form.ended()) {
        return;
    }
    FormDialog dialog(form, parent_);
    dialog.exec();
}

void QtFormScreen::openFolder(const std::string& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
}

} // namespace quorel
