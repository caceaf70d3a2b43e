#include "ui/look/FixedLook.h"

#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include <array>

namespace ui {

namespace {

// The light palette the window's design is drawn over, Qt's own default on a
// desktop without a theme: light grey bevels, black text, white fields. Each
// role as an enabled control (active or not) and a disabled one shows it.
struct Role {
    QPalette::ColorRole role;
    QRgb enabled;
    QRgb disabled;
};

constexpr auto kRoles = std::to_array<Role>({
    {QPalette::WindowText, 0xFF000000, 0xFFBEBEBE},
    {QPalette::Button, 0xFFEFEFEF, 0xFFEFEFEF},
    {QPalette::Light, 0xFFFFFFFF, 0xFFFFFFFF},
    {QPalette::Midlight, 0xFFCACACA, 0xFFCACACA},
    {QPalette::Dark, 0xFF9F9F9F, 0xFFBEBEBE},
    {QPalette::Mid, 0xFFB8B8B8, 0xFFB8B8B8},
    {QPalette::Text, 0xFF000000, 0xFFBEBEBE},
    {QPalette::BrightText, 0xFFFFFFFF, 0xFFFFFFFF},
    {QPalette::ButtonText, 0xFF000000, 0xFFBEBEBE},
    {QPalette::Base, 0xFFFFFFFF, 0xFFEFEFEF},
    {QPalette::Window, 0xFFEFEFEF, 0xFFEFEFEF},
    {QPalette::Shadow, 0xFF767676, 0xFFB1B1B1},
    {QPalette::Highlight, 0xFF308CC6, 0xFF919191},
    {QPalette::HighlightedText, 0xFFFFFFFF, 0xFFFFFFFF},
    {QPalette::Link, 0xFF0000FF, 0xFF0000FF},
    {QPalette::LinkVisited, 0xFFFF00FF, 0xFFFF00FF},
    {QPalette::AlternateBase, 0xFFF7F7F7, 0xFFF7F7F7},
    {QPalette::ToolTipBase, 0xFFFFFFDC, 0xFFFFFFDC},
    {QPalette::ToolTipText, 0xFF000000, 0xFF000000},
    {QPalette::PlaceholderText, 0x80000000, 0x80000000},
});

QPalette fixedPalette()
{
    QPalette palette;
    for (const Role& row : kRoles) {
        const QColor enabled = QColor::fromRgba(row.enabled);
        palette.setColor(QPalette::Active, row.role, enabled);
        palette.setColor(QPalette::Inactive, row.role, enabled);
        palette.setColor(QPalette::Disabled, row.role, QColor::fromRgba(row.disabled));
    }
    return palette;
}

} // namespace

void takeFixedLook(QWidget* window)
{
    QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"));
    style->setParent(window);
    window->setStyle(style);
    window->setPalette(fixedPalette());
}

void spreadFixedLook(QWidget* window)
{
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isWindow()) {
            control->setStyle(window->style());
        }
    }
}

} // namespace ui
