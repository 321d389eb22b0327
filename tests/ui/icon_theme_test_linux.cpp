// Named icons resolve from the installed theme whatever theme the session names, also when
// icons were looked up before the theme was set up.
#include <QApplication>
#include <QIcon>
#include <QStandardPaths>
#include <QTest>

#include "ui/widgets/platform_widgets.h"

class TIconThemeTest : public QObject {
    Q_OBJECT
private slots:
    void resolvesTheTreeIconsInEverySession_data() {
        QTest::addColumn<QString>("sessionTheme");
        QTest::newRow("no theme, no desktop") << QString();
        QTest::newRow("hicolor alone") << QStringLiteral("hicolor");
        QTest::newRow("a theme that is not installed") << QStringLiteral("no-such-theme");
        QTest::newRow("an installed theme") << QStringLiteral("Adwaita");
    }
    void resolvesTheTreeIconsInEverySession() {
        QFETCH(QString, sessionTheme);
        // As the X11 platform without a desktop sets it up: the icon folders and "hicolor".
        QIcon::setThemeSearchPaths(QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                             QStringLiteral("icons"),
                                                             QStandardPaths::LocateDirectory));
        QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
        QIcon::setThemeName(sessionTheme);
        QIcon::fromTheme(QStringLiteral("folder")); // read the theme before it is set up

        UseInstalledIconTheme();
        StartReadingIconTheme(); // as the program does, the lookups below waiting for it
        UseInstalledIconTheme();
        for (const char* name : {"user-desktop", "user-home", "computer", "drive-harddisk",
                                 "network-workgroup", "user-trash", "folder"}) {
            const QIcon icon = QIcon::fromTheme(QLatin1String(name));
            QVERIFY2(!icon.isNull() && !icon.pixmap(16).isNull(), name);
        }
    }
};

QTEST_MAIN(TIconThemeTest)

#include "icon_theme_test_linux.moc"
