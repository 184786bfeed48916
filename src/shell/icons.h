#pragma once
// The program's own pictures, drawn for it as SVG (src/shell/icons/) and
// compiled in as Qt resources; the machine's icon theme is never asked, so
// every button shows the same picture on every desktop. Each picture is drawn
// twice, on a 16-pixel and on a 24-pixel grid, so that its lines fall on whole
// pixels at 16 and 32 pixels (the small drawing) and at 24 and 48 pixels (the
// large one). The drawings are read through Qt's SVG plug-in (libqt6svg6).
#include <QIcon>

namespace zelva {

// The picture of that name (icons/16/<name>.svg with icons/24/<name>.svg);
// a null icon when there is none.
QIcon ProgramPicture(const QString& name);

// The program's own picture: window icon, login and About boxes.
QIcon ProgramIcon();

} // namespace zelva
