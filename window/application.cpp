#include "window/application.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "window/accessibility.h"

namespace quilvane {

// "宋体" maps to the Song-style faces that may be installed; the interface font is a sans
// face that shows Chinese and every sign of the captions.
void SetUpApplication() {
#ifdef Q_OS_WIN
    // Windows may have no Chinese face at all (an English Windows has none): the faces the
    // window is measured with come with the program, in fonts/ beside it.
    const QDir fonts(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    for (const QString& file : fonts.entryList({QStringLiteral("*.ttc"), QStringLiteral("*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(file));
#endif
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                                QStringLiteral("Noto Serif CJK SC")});
    // WenQuanYi Zen Hei Mono has half-width Latin, as the classic Chinese system face has:
    // with it every caption and the widest status text fit their fixed controls at 9 pt.
    QFont ui = QApplication::font();
    ui.setFamilies({QStringLiteral("WenQuanYi Zen Hei Mono"), QStringLiteral("WenQuanYi Zen Hei"),
                    QStringLiteral("Noto Sans CJK SC"), ui.family()});
    ui.setPointSize(9);
    QApplication::setFont(ui);

    // Qt's own texts (message-box buttons, the boxes' context menu) in Simplified Chinese,
    // whatever the desktop's locale.
    auto* translator = new QTranslator(qApp);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;

    InstallAccessibility();
}

}  // namespace quilvane
