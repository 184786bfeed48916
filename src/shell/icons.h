#pragma once
// Pictures come from the desktop's icon theme; where the theme has none, the
// style's own standard icon stands in.
#include <QIcon>
#include <QStyle>

namespace zelva {

QIcon ThemeIcon(const char* themeName, QStyle::StandardPixmap fallback);

// The program's own picture: window icon, login and About boxes.
QIcon ProgramIcon();

} // namespace zelva
