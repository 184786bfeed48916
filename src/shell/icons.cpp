#include "shell/icons.h"

#include <QApplication>

namespace zelva {

QIcon ThemeIcon(const char* themeName, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(themeName), QApplication::style()->standardIcon(fallback));
}

QIcon ProgramIcon() { return ThemeIcon("accessories-calculator", QStyle::SP_ComputerIcon); }

} // namespace zelva
