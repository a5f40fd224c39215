// Own
#include "standard_scheme.h"

// Standard
#include <array>

namespace screens {
namespace {

struct RoleColours {
    QPalette::ColorRole role;
    QRgb normal;     // the active and the inactive group
    QRgb disabled;
};

// Qt's own light scheme, as a session with no desktop theme shows it: black on light grey.
constexpr auto kScheme = std::to_array<RoleColours>({
    {QPalette::WindowText, 0xff000000, 0xffbebebe},
    {QPalette::Button, 0xffefefef, 0xffefefef},
    {QPalette::Light, 0xffffffff, 0xffffffff},
    {QPalette::Midlight, 0xffcacaca, 0xffcacaca},
    {QPalette::Dark, 0xff9f9f9f, 0xffbebebe},
    {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8},
    {QPalette::Text, 0xff000000, 0xffbebebe},
    {QPalette::BrightText, 0xffffffff, 0xffffffff},
    {QPalette::ButtonText, 0xff000000, 0xffbebebe},
    {QPalette::Base, 0xffffffff, 0xffefefef},
    {QPalette::Window, 0xffefefef, 0xffefefef},
    {QPalette::Shadow, 0xff767676, 0xffb1b1b1},
    {QPalette::Highlight, 0xff308cc6, 0xff919191},
    {QPalette::HighlightedText, 0xffffffff, 0xffffffff},
    {QPalette::Link, 0xff0000ff, 0xff0000ff},
    {QPalette::LinkVisited, 0xffff00ff, 0xffff00ff},
    {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7},
    {QPalette::NoRole, 0xff000000, 0xff000000},
    {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc},
    {QPalette::ToolTipText, 0xff000000, 0xff000000},
    {QPalette::PlaceholderText, 0x80000000, 0x80000000},
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    {QPalette::Accent, 0xff308cc6, 0xff919191},
#endif
});
// Every role of this Qt is listed: a role left unset would take its colour from the desktop theme.
static_assert(kScheme.size() == QPalette::NColorRoles);

}  // namespace

QPalette standardScheme()
{
    QPalette scheme;
    for (const RoleColours &c : kScheme) {
        const QColor normal = QColor::fromRgba(c.normal);
        scheme.setColor(QPalette::Active, c.role, normal);
        scheme.setColor(QPalette::Inactive, c.role, normal);
        scheme.setColor(QPalette::Disabled, c.role, QColor::fromRgba(c.disabled));
    }
    return scheme;
}

}  // namespace screens
