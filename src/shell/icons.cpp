#include "shell/icons.h"

#include <QImageReader>
#include <QPixmap>

namespace zelva {

namespace {

// Renders the drawing at each size into the icon; the icon scales the next
// larger rendering down for any other size.
void addRenderings(QIcon& icon, const QString& file, std::initializer_list<int> sizes)
{
    for (int size : sizes) {
        QImageReader reader(file);
        reader.setScaledSize(QSize(size, size));
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
}

} // namespace

QIcon ProgramPicture(const QString& name)
{
    QIcon icon;
    // Whole multiples of each grid stay sharp; 64 and 96 are large enough not to blur.
    addRenderings(icon, QStringLiteral(":/icons/16/%1.svg").arg(name), { 16, 32 });
    addRenderings(icon, QStringLiteral(":/icons/24/%1.svg").arg(name), { 24, 48, 64, 96 });
    return icon;
}

QIcon ProgramIcon() { return ProgramPicture(QStringLiteral("zelva")); }

} // namespace zelva
