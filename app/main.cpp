#include <QApplication>

#include "startup/single_instance.h"
#include "window/Form1.h"
#include "window/application.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Ties the window to its desktop entry, for the launcher and the taskbar.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quilvane.quilvane"));
    quilvane::SetUpApplication();
    // Held for the life of the process: it marks this copy as the running one.
    quilvane::SingleInstance instance;
    Form1 form;
    form.SetInstanceCheck([&instance](const std::string& name) {
        return instance.Claim(name.empty() ? quilvane::DefaultInstanceName() : name);
    });
    if (!form.Form_Load()) return 0;
    form.show();
    return app.exec();
}
