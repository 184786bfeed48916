#include "data/dataerror.h"

namespace zelva {

static QString compose(const QString& operation, const QString& file, const QString& detail)
{
    QString text = QStringLiteral("Could not %1").arg(operation);
    if (!file.isEmpty())
        text += QStringLiteral(" (%1)").arg(file);
    if (!detail.isEmpty())
        text += QStringLiteral(": %1").arg(detail);
    return text;
}

DataError::DataError(QString operation, QString file, QString detail)
    : std::runtime_error(compose(operation, file, detail).toStdString())
    , m_operation(std::move(operation))
    , m_file(std::move(file))
    , m_detail(std::move(detail))
{
}

QString DataError::message() const
{
    return compose(m_operation, m_file, m_detail);
}

} // namespace zelva
