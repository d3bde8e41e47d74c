// The baseline for the start-up benchmark: a bare Qt Widgets window with the same kinds of
// parts as the program (a menu bar with three menus, a Chinese label in "宋体", a status
// bar with two panels) and nothing else.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN")});
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    for (const char* title : {"设置", "关于", "退出"})
        window.menuBar()->addMenu(QString::fromUtf8(title))->addAction(QStringLiteral("----------"));
    auto* label = new QLabel(QStringLiteral("默认"));
    label->setFont(QFont(QStringLiteral("宋体"), 12));
    window.setCentralWidget(label);
    window.statusBar()->addPermanentWidget(new QLabel(QStringLiteral("当前时间：")));
    window.statusBar()->addPermanentWidget(new QLabel(QStringLiteral(" 本次使用时间：")));
    window.resize(477, 301);
    window.show();
    return app.exec();
}
