#include "data/datafolder.h"

#include "data/schema.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zelva {

QString ChooseDataFolder(const QString& dataDirOption, const QString& applicationFolder)
{
    if (!dataDirOption.isEmpty())
        return QDir(dataDirOption).absolutePath();
    if (QFileInfo::exists(QDir(applicationFolder).filePath(RelativePath(DbFile::Zlv))))
        return QDir(applicationFolder).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace zelva
