#pragma once
// The branches of a tree as the design platform draws them: dotted lines joining each node to
// its parent and siblings, and a boxed plus or minus as the expand button. Everything else is
// drawn by the application's style.

#include <memory>

#include <QProxyStyle>

class TBranchLineStyle : public QProxyStyle {
    Q_OBJECT
public:
    TBranchLineStyle();
    ~TBranchLineStyle() override;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    std::unique_ptr<QStyle> m_lines; // the classic style, which draws lines and boxes
};
