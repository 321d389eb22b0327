#include "ui/widgets/branch_line_style.h"

#include <QStyleFactory>

TBranchLineStyle::TBranchLineStyle() : m_lines(QStyleFactory::create(QStringLiteral("Windows"))) {}

TBranchLineStyle::~TBranchLineStyle() = default;

void TBranchLineStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    if (element == PE_IndicatorBranch && m_lines)
        m_lines->drawPrimitive(element, option, painter, widget);
    else
        QProxyStyle::drawPrimitive(element, option, painter, widget);
}
