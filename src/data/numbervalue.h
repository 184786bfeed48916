#pragma once
// Which values hold numbers: those a box assigns and those a file gives back.
#include <QVariant>

namespace zelva {

inline bool IsFraction(const QVariant& v)
{
    return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

inline bool IsNumber(const QVariant& v)
{
    const int type = v.typeId();
    return IsFraction(v) || type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::UInt
        || type == QMetaType::ULongLong;
}

} // namespace zelva
