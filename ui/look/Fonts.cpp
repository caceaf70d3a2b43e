#include "ui/look/Fonts.h"

#include "ui/SongFaces.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QWidget>

#include <string_view>

namespace ui::fonts {

namespace {

// The Song face of code page 936: one 6-pixel column per byte at 12 pixels,
// under its names (ui/SongFaces.h). The fonts name the first of these that
// is installed, alone: for a name that is missing Qt sorts every installed
// font by likeness to it, again for each font of the window, which was a
// good part of the window's start-up.
QStringList songFamilies()
{
    static const QStringList families = [] {
        QStringList names;
        for (const std::string_view face : kSongFaces) {
            names << QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
        }
        const QStringList installed = QFontDatabase::families();
        for (const QString& name : names) {
            if (installed.contains(name, Qt::CaseInsensitive)) {
                return QStringList{name};
            }
        }
        // Without the face every Chinese text shows as boxes and the tape's
        // 6-pixel columns no longer line up; say so once, and where to get it.
        qWarning("The Song face (%s) is not installed: Chinese texts cannot be drawn and the tape's columns will "
                 "not line up. On Debian it comes with the package fonts-arphic-gbsn00lp.",
            qUtf8Printable(names.join(QStringLiteral(", "))));
        return names;
    }();
    return families;
}

// The face covers every character the window shows: code page 936's Han,
// its symbols and ASCII. Qt takes a face that fontconfig does not list for
// Latin as a face for one script only, and without the merging of faces it
// keeps one engine of the face for all scripts. With merging it would load
// and set up the same face, bold synthesis included, once for the Chinese
// text and again for the Latin and the common characters (digits,
// punctuation, the line spacing every label asks for).
bool songFaceInstalled() { return songFamilies().size() == 1; }

// `strategy` with the rendering renderingFor() gives, its other flags kept.
QFont::StyleStrategy withRendering(QFont::StyleStrategy strategy, int pixels, qreal ratio)
{
    const int rendering = QFont::NoAntialias | QFont::PreferAntialias;
    return QFont::StyleStrategy((strategy & ~rendering) | renderingFor(pixels, ratio));
}

bool smoothed(const QFont& font, qreal ratio) { return font.pixelSize() * ratio > kLargestBiLevelPixels; }

// Qt's synthetic bold cannot be relied on for these faces: it emboldens the
// outline by a fixed share of the em at the logical size and scales it only
// then. Bi-level, the extra half pixel mostly falls between pixel centres:
// away from a ratio of 1 (1.25, 1.5), and with the FreeType and Qt of some
// releases at 1 too, the bold reads as regular; smoothed at 2 it is half the
// weight. So every bold caption is drawn here: the regular outlines filled
// and stroked one logical pixel wide, every stroke one logical pixel heavier,
// smoothed or bi-level as the face is drawn at this size.
class OutlinedBoldStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette, bool enabled,
        const QString& text, QPalette::ColorRole textRole) const override
    {
        const QFont font = painter->font();
        const qreal ratio = painter->device()->devicePixelRatio();
        // Mnemonics and line breaks are the base style's to lay out.
        if (!font.bold() || text.contains(u'&') || text.contains(u'\n')) {
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
        painter->setRenderHint(QPainter::Antialiasing, smoothed(font, ratio));
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

QFont songFont(int pixels, bool bold, qreal ratio)
{
    QFont font;
    font.setFamilies(songFamilies());
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleStrategy(
        withRendering(songFaceInstalled() ? QFont::NoFontMerging : QFont::PreferDefault, pixels, ratio));
    return font;
}

ApplicationText::ApplicationText() : font_(QApplication::font()), direction_(QGuiApplication::layoutDirection())
{
    // Qt lays out the empty document of every text box in the application's
    // font as the box is made. Left at the desktop's default, that would load
    // a face the window never shows.
    QApplication::setFont(songFont(12, false, qGuiApp->devicePixelRatio()));
    // Qt lays text out in the application's direction, whatever a widget's
    // own: -reverse or a right-to-left locale would turn the keys' captions
    // and the tape's columns of a layout that is fixed place by place.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

ApplicationText::~ApplicationText()
{
    QGuiApplication::setLayoutDirection(direction_);
    QApplication::setFont(font_);
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
        if (const auto strategy = withRendering(font.styleStrategy(), font.pixelSize(), ratio);
            font.styleStrategy() != strategy) {
            font.setStyleStrategy(strategy);
            widget->setFont(font);
        }
        const bool outline = font.bold();
        if (outline && !outlined) {
            // Over the window's own style, not the desktop's.
            outlined = new OutlinedBoldStyle(QStyleFactory::create(window->style()->name()));
            outlined->setObjectName(styleName);
            outlined->setParent(window);
        }
        if (outline && widget->style() != outlined) {
            widget->setStyle(outlined);
        } else if (!outline && outlined && widget->style() == outlined) {
            widget->setStyle(window->style());
        }
    }
}

} // namespace ui::fonts
