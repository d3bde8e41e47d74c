#include <QApplication>

#include <algorithm>
#include <cstring>
#include <vector>

#include "startup/single_instance.h"
#include "window/Form1.h"
#include "window/application.h"

int main(int argc, char** argv) {
#ifdef Q_OS_WIN
    // Qt's own FreeType rendering, unless another is asked for: it draws the Chinese face
    // whole at 9 points, as on Linux, where GDI without smoothing breaks its strokes apart.
    std::vector<char*> args(argv, argv + argc);
    char platform[] = "-platform", freetype[] = "windows:fontengine=freetype";
    if (std::find_if(args.begin(), args.end(), [](const char* a) { return std::strcmp(a, "-platform") == 0; }) ==
        args.end())
        args.insert(args.begin() + 1, {platform, freetype});
    argc = static_cast<int>(args.size());
    args.push_back(nullptr);
    argv = args.data();
#endif
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
