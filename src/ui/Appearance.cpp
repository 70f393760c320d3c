#include "ui/Appearance.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

void applyAppearance(QApplication& app)
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto* qt = new QTranslator(&app);
    if (qt->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qt);
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    // Chinese text needs a CJK face; take the first installed one.
    const QStringList families = QFontDatabase::families();
    for (const char* name : {"Noto Sans CJK SC", "Noto Sans SC", "WenQuanYi Micro Hei", "SimSun"}) {
        const QString family = QString::fromLatin1(name);
        if (families.contains(family)) {
            QFont f(family);
            f.setPointSize(9);
            app.setFont(f);
            break;
        }
    }
    app.setApplicationName(kApplicationTitle);
}
