#include "ui/window/quorel_app.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    quorel::QuorelApp quorel;
    return quorel.run();
}
