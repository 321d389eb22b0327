#pragma once
// Checks shared by the window's tests at 96 dpi and at other resolutions: the strip's controls
// lie apart, its three group boxes draw their frame through the middle of the caption's line,
// as the design platform does, and their edits, up-downs and labels lie inside the frame's
// lines.

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "ui/widgets/group_box.h"
#include "ui/widgets/up_down.h"

// The box alone, without its children, over its own background.
inline QImage BoxOnly(TGroupBox* box) {
    QImage image(box->size(), QImage::Format_RGB32);
    box->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

inline void VerifyFrameRunsThroughCaption(TGroupBox* box) {
    const QRect caption = box->captionRect();
    const QRect frame = box->frameRect();
    QVERIFY2(caption.top() < frame.top() && frame.top() + 1 < caption.bottom(),
             qPrintable(box->objectName()));
    // The line is drawn there: shadow, then highlight below it; it is left out behind the
    // caption; and no other line crosses the box's middle.
    const QImage image = BoxOnly(box);
    const QRgb shadow = box->palette().color(QPalette::Dark).rgb();
    const QRgb highlight = box->palette().color(QPalette::Light).rgb();
    const QRgb background = box->palette().color(QPalette::Window).rgb();
    const int pastCaption = caption.right() + 4;
    QCOMPARE(image.pixel(pastCaption, frame.top()), shadow);
    QCOMPARE(image.pixel(pastCaption, frame.top() + 1), highlight);
    QCOMPARE(image.pixel(0, frame.center().y()), shadow);
    QCOMPARE(image.pixel(box->width() - 1, frame.center().y()), highlight);
    int lineBehindCaption = 0;
    for (int x = caption.left(); x <= caption.right(); ++x)
        lineBehindCaption += image.pixel(x, frame.top()) == shadow;
    QVERIFY(lineBehindCaption < caption.width() / 2);
    for (int y = frame.top() + 2; y < frame.bottom() - 1; ++y)
        QCOMPARE(image.pixel(box->width() / 2, y), background);
}

// Edits and up-downs lie inside the frame's lines; a label may reach onto them, as the
// design's own Label3 does (left 296, width 66, in a box 363 wide) with 6-pixel Latin glyphs.
inline void VerifyControlsInsideFrame(TGroupBox* box) {
    const QRect inside = box->frameRect().adjusted(2, 2, -2, -2);
    for (const QWidget* control : box->findChildren<QWidget*>()) {
        if (!qobject_cast<const QLineEdit*>(control) && !qobject_cast<const TUpDown*>(control) &&
            !qobject_cast<const QLabel*>(control))
            continue;
        const QRect allowed = qobject_cast<const QLabel*>(control) ? box->frameRect() : inside;
        QVERIFY2(allowed.contains(control->geometry()),
                 qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                                .arg(control->objectName())
                                .arg(control->x())
                                .arg(control->y())
                                .arg(control->width())
                                .arg(control->height())));
    }
}

// No control of the strip hides part of another.
inline void VerifyStripControlsApart(const QWidget& strip) {
    const QList<QWidget*> controls = strip.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (int i = 0; i < controls.size(); ++i)
        for (int k = i + 1; k < controls.size(); ++k)
            QVERIFY2(!controls[i]->geometry().intersects(controls[k]->geometry()),
                     qPrintable(controls[i]->objectName() + " over " + controls[k]->objectName()));
}

inline void VerifyStripGroupBoxes(const QWidget& window) {
    VerifyStripControlsApart(*window.findChild<QWidget*>(QStringLiteral("RzPanel1")));
    for (const char* name : {"RadioGroup1", "GroupBox1", "GroupBox2"}) {
        auto* box = window.findChild<TGroupBox*>(QLatin1String(name));
        QVERIFY2(box, name);
        VerifyFrameRunsThroughCaption(box);
        VerifyControlsInsideFrame(box);
    }
}
