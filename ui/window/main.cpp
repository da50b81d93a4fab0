#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QString::fromUtf8("Gestion Quorel révision du 22/06/2020 - USB-RLY02"));
    window.show();
    return app.exec();
}
