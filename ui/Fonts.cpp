#include "ui/Fonts.h"

#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QWidget>

namespace ui::fonts {

namespace {

bool smoothed(const QFont& font, qreal ratio) { return font.pixelSize() * ratio > kLargestBiLevelPixels; }

// Draws the captions of bold smoothed faces itself. Bi-level, a synthetic
// bold stroke is one pixel wider than the regular one. Qt emboldens a face at
// its logical size and only then scales it, which at a ratio of 2 leaves half
// the weight. Here the regular outlines are filled and stroked one logical
// pixel wide: every stroke one logical pixel heavier, as at a ratio of 1.
class OutlinedBoldStyle : public QProxyStyle {
public:
    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette, bool enabled,
        const QString& text, QPalette::ColorRole textRole) const override
    {
        const QFont font = painter->font();
        // Mnemonics and line breaks are the base style's to lay out.
        if (!font.bold() || !smoothed(font, painter->device()->devicePixelRatio()) || text.contains(u'&') ||
            text.contains(u'\n')) {
            QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
            return;
        }
        QFont regular = font;
        regular.setBold(false);
        const QRectF bounds = painter->boundingRect(QRectF(rect), flags, text);
        QPainterPath outline;
        outline.addText(bounds.left(), bounds.top() + QFontMetricsF(font).ascent(), regular, text);
        const QBrush ink = textRole == QPalette::NoRole ? painter->pen().brush() : palette.brush(textRole);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(ink, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->setBrush(ink);
        painter->drawPath(outline);
        painter->restore();
    }
};

} // namespace

QFont::StyleStrategy renderingFor(int pixels, qreal ratio)
{
    return pixels * ratio > kLargestBiLevelPixels ? QFont::PreferAntialias : QFont::NoAntialias;
}

void fitText(QWidget* window, qreal ratio)
{
    const QString styleName = QStringLiteral("OutlinedBoldStyle");
    auto* outlined = window->findChild<QStyle*>(styleName, Qt::FindDirectChildrenOnly);
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        // The others inherit their parent's font.
        if (widget != window && !widget->testAttribute(Qt::WA_SetFont)) {
            continue;
        }
        QFont font = widget->font();
        if (const auto strategy = renderingFor(font.pixelSize(), ratio); font.styleStrategy() != strategy) {
            font.setStyleStrategy(strategy);
            widget->setFont(font);
        }
        const bool outline = font.bold() && smoothed(font, ratio);
        if (outline && !outlined) {
            outlined = new OutlinedBoldStyle;
            outlined->setObjectName(styleName);
            outlined->setParent(window);
        }
        if (outline && widget->style() != outlined) {
            widget->setStyle(outlined);
        } else if (!outline && outlined && widget->style() == outlined) {
            widget->setStyle(nullptr);
        }
    }
}

} // namespace ui::fonts
