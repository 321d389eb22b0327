// The application's last guard: an exception that escapes an event's handling is shown, and
// the event loop goes on.
#include <stdexcept>

#include <QTimer>
#include <QtTest>

#include "ui/common/error_display.h"
#include "ui/window/application.h"
#include "ui/window/platform_window.h"

namespace {

class TThrowingObject : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) throw std::runtime_error("handler failed");
        return QObject::event(event);
    }
};

} // namespace

class TApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void showsAnEscapedExceptionAndGoesOn() {
        QStringList shown;
        const TErrorDisplay previous =
            SetErrorDisplay([&](const QString& message) { shown << message; });
        TThrowingObject target;
        QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
        bool ranAfterwards = false;
        QTimer::singleShot(0, this, [&] { ranAfterwards = true; });
        QTRY_VERIFY(ranAfterwards);
        QCOMPARE(shown, QStringList{QStringLiteral("handler failed.")});
        SetErrorDisplay(previous);
    }

    void namesItselfZelvora() {
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Zelvora"));
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("org.zelvora.Zelvora"));
    }

    // main() makes the system's language Chinese where the C library reads it (not on Windows).
    void speaksQtsOwnTextsInTheUsersLanguage() {
        if (!QLocale::system().name().startsWith(u"zh"))
            QSKIP("the system's language is not Chinese here");
        const QString undo = QCoreApplication::translate("QLineEdit", "&Undo");
        QVERIFY2(undo.contains(u'撤'), qPrintable(undo));
    }

    void givesEveryWindowItsIcon() {
        const QIcon icon = QApplication::windowIcon();
        for (const int size : {16, 48, 128}) {
            const QImage picture = icon.pixmap(size).toImage();
            QCOMPARE(picture.size(), QSize(size, size));
            // The mark's white rows stand on the blue tile at every size.
            QVERIFY(picture.pixelColor(size * 5 / 8, size / 4).lightness() > 200);
        }
        QWidget window;
        QCOMPARE(window.windowIcon().cacheKey(), icon.cacheKey());
    }
};

int main(int argc, char* argv[]) {
    qputenv("LC_ALL", "zh_CN.UTF-8");
    // Started as the program starts them: every test runs beside the start-up reading.
    std::jthread fontConfiguration = StartReadingFontConfiguration();
    TApplication app(argc, argv);
    WaitUntilDone(fontConfiguration);
    const std::jthread services = StartLoadingServices();
    TApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
