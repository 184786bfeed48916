#include "shell/icons.h"

#include <QImageReader>
#include <QPixmap>

namespace zelva {

namespace {

struct Drawing {
    int grid; // the drawing's own size in pixels
    std::initializer_list<int> sizes; // the sizes it is rendered at, whole multiples where it matters
};

// Other sizes are scaled down from the next larger one.
const Drawing Drawings[] = {
    { 16, { 16, 32 } },
    { 24, { 24, 48, 64, 96 } },
};

} // namespace

QIcon ProgramPicture(const QString& name)
{
    QIcon icon;
    for (const Drawing& drawing : Drawings) {
        const QString file = QStringLiteral(":/icons/%1/%2.svg").arg(drawing.grid).arg(name);
        for (int size : drawing.sizes) {
            QImageReader reader(file);
            reader.setScaledSize(QSize(size, size));
            const QImage image = reader.read();
            if (!image.isNull())
                icon.addPixmap(QPixmap::fromImage(image));
        }
    }
    return icon;
}

QIcon ProgramIcon() { return ProgramPicture(QStringLiteral("zelva")); }

} // namespace zelva
