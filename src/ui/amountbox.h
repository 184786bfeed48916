#pragma once
// An amount box read by the one rule for number boxes, to the paisa.
#include <QString>

class QLineEdit;

namespace zelva {

// The amount typed in the box, in paise; false, with a message naming the box
// and the focus on it, when it is not an amount.
bool ReadAmountBox(QLineEdit* box, const QString& boxName, qint64& paise);

} // namespace zelva
