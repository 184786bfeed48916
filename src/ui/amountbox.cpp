#include "ui/amountbox.h"

#include "platform/money.h"
#include "ui/message.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace zelva {

bool ReadAmountBox(QLineEdit* box, const QString& boxName, qint64& paise)
{
    if (ReadAmount(box->text(), paise))
        return true;
    MsgBox(QCoreApplication::translate("zelva", "%1 must be an amount in rupees (1250.50): \"%2\" is not one.")
               .arg(boxName, box->text()));
    box->setFocus();
    return false;
}

} // namespace zelva
