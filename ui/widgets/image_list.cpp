#include "ui/widgets/image_list.h"

#include <QPainter>
#include <QPixmap>

#include "engine/engine.h"
#include "ui/widgets/platform_widgets.h"

TImageList::TImageList() : m_icons(Count) {}

QIcon TImageList::icon(int index) const {
    if (index < 0 || index >= count()) return {};
    return m_icons[static_cast<std::size_t>(index)];
}

void TImageList::setIcon(int index, const QIcon& icon) {
    if (index >= 0 && index < count()) m_icons[static_cast<std::size_t>(index)] = icon;
}

namespace {

using TDrawing = void (*)(QPainter&);

QIcon DrawnIcon(TDrawing draw) {
    QPixmap pixmap(TImageList::PictureSize, TImageList::PictureSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return QIcon(pixmap);
}

void DrawClose(QPainter& p) {
    p.setPen(QPen(QColor(0xC0, 0x20, 0x20), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
}

void DrawFolder(QPainter& p) {
    p.setPen(QColor(0x9A, 0x75, 0x10));
    p.setBrush(QColor(0xF5, 0xC8, 0x4C));
    p.drawRect(QRectF(1.5, 4.5, 13, 9));
    p.drawRect(QRectF(1.5, 2.5, 6, 2));
}

void DrawFile(QPainter& p) {
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(Qt::white);
    const QPointF page[] = {{3.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {3.5, 14.5}};
    p.drawPolygon(page, 5);
    const QPointF fold[] = {{9.5, 1.5}, {9.5, 4.5}, {12.5, 4.5}};
    p.drawPolyline(fold, 3);
}

QIcon ThemeOrDrawn(const QString& themeName, TDrawing draw) {
    if (QIcon::hasThemeIcon(themeName)) return QIcon::fromTheme(themeName);
    return DrawnIcon(draw);
}

} // namespace

TImageList MakeMainImageList() {
    UseInstalledIconTheme();
    TImageList list;
    list.setIcon(TImageList::ClosePicture, ThemeOrDrawn(QStringLiteral("window-close"), DrawClose));
    list.setIcon(engine::FolderImageIndex, ThemeOrDrawn(QStringLiteral("folder"), DrawFolder));
    list.setIcon(engine::FileImageIndex, ThemeOrDrawn(QStringLiteral("text-x-generic"), DrawFile));
    return list;
}
