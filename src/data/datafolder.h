#pragma once
#include <QString>

namespace zelva {

// Which folder holds the data: the --data-dir option when given; else the
// application folder when it already holds ZLV.db (a portable install); else
// the per-user data folder.
QString ChooseDataFolder(const QString& dataDirOption, const QString& applicationFolder);

} // namespace zelva
