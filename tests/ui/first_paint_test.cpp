// The first paint of a window: what waits for it runs once, after the paint, and a program
// timing start-up from outside gets its byte.
#include <QFileInfo>
#include <QTemporaryFile>
#include <QtTest>

#include <unistd.h>

#include "tests/ui/scoped_environment.h"
#include "ui/window/first_paint.h"

namespace {

class TCountingWidget : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

} // namespace

class TFirstPaintTest : public QObject {
    Q_OBJECT
private slots:
    void runsOnceAfterTheFirstPaint() {
        TCountingWidget window;
        int runs = 0, paintsSeenByTheAction = 0;
        AfterFirstPaint(&window, [&] {
            ++runs;
            paintsSeenByTheAction = window.paints;
        });
        window.resize(100, 100);
        window.show();
        QTRY_COMPARE(runs, 1);
        QVERIFY(paintsSeenByTheAction >= 1);
        const int paints = window.paints;
        window.repaint();
        QTRY_VERIFY(window.paints > paints);
        QCOMPARE(runs, 1);
    }

    void writesOneByteToTheNamedDescriptor() {
        QTemporaryFile file;
        QVERIFY(file.open());
        const int fd = ::dup(file.handle()); // the window closes its copy
        TScopedVariable variable(PaintedFdVariable, QByteArray::number(fd));
        QWidget window;
        ReportFirstPaint(&window);
        QVERIFY(!qEnvironmentVariableIsSet(PaintedFdVariable));
        window.show();
        QTRY_COMPARE(QFileInfo(file.fileName()).size(), 1);
    }
};

QTEST_MAIN(TFirstPaintTest)
#include "first_paint_test.moc"
