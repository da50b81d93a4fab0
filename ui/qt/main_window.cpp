#include "ui/qt/main_window.h"

#include "ui/qt/bell_icon.h"
#include "ui/qt/form_renderer.h"
#include "ui/qt/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>

#include <cmath>

namespace quorel {

MainWindow::MainWindow() {
    const MainWindowDescription& window = mainWindowDescription();
    setObjectName(QString::fromUtf8(window.name));
    setWindowTitle(QString::fromUtf8(window.title));
    setWindowIcon(bellIcon());
    QMenuBar* bar = menuBar();
    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(px(window.clientWidth), px(window.clientHeight));
    setCentralWidget(client);
    renderer_ = new FormRenderer(described(window), *client, bar);
    adjustSize();
}

MainWindow::~MainWindow() {
    detach();
}

void MainWindow::attach(Program& program) {
    program_ = &program;
    form_ = std::make_unique<MainWindowForm>(program, *this, screen_);
    renderer_->bind(form_.get());
    renderer_->draw();
}

void MainWindow::detach() {
    renderer_->bind(nullptr);
    form_.reset();
    program_ = nullptr;
}

void MainWindow::showPart(int part) {
    renderer_->draw(part);
}

void MainWindow::showCopyMenu() {
    // The menu is modal, as a pop-up menu is: the picked day loads before the click returns.
    renderer_->popUp("mnuJour");
}

// The window's size with its menu bar. The title bar and borders belong to the window manager,
// which may add them only once the window is shown, so they are left out of the rule.
TwipsSize MainWindow::outerSize() {
    return TwipsSize{width() * kTwipsPerPixel, height() * kTwipsPerPixel};
}

TwipsSize MainWindow::screenSize() {
    const QScreen* current = screen() != nullptr ? screen() : QApplication::primaryScreen();
    const QRect area = current != nullptr ? current->geometry() : QRect(0, 0, 1024, 768);
    return TwipsSize{area.width() * kTwipsPerPixel, area.height() * kTwipsPerPixel};
}

void MainWindow::moveTo(TwipsPoint position) {
    move(static_cast<int>(position.left / kTwipsPerPixel),
         static_cast<int>(position.top / kTwipsPerPixel));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (program_ == nullptr || applyingResizeRule_) {
        return;
    }
    const bool normal =
        !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    const auto wanted = program_->Form_Resize(normal, outerSize());
    if (wanted) {
        applyingResizeRule_ = true;
        resize(static_cast<int>(std::lround(wanted->width / kTwipsPerPixel)),
               static_cast<int>(std::lround(wanted->height / kTwipsPerPixel)));
        applyingResizeRule_ = false;
    }
}

void MainWindow::closeFor(ShutdownCause cause) {
    if (program_ != nullptr && program_->requestClose(cause) == CloseOutcome::End) {
        close(); // the program has ended: the close event lets the window go
        end();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (program_ != nullptr && !program_->ended()) {
        if (program_->requestClose(ShutdownCause::WindowClosed) == CloseOutcome::StayOpen) {
            event->ignore(); // the operator keeps the window, to go on editing
            return;
        }
        end();
    }
    event->accept();
}

} // namespace quorel
