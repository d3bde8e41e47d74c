#include <QApplication>

#include "window/Form1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Form1 form;
    if (!form.Form_Load()) return 0;
    form.show();
    return app.exec();
}
