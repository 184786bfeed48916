#pragma once
// The unit of quantity as the GST portal codes it (UQC).
#include <QString>

namespace zelva {

// The portal's code for a unit as typed on the stock item ("Kg", "kgs.",
// "Nos", "Pieces"); "OTH" when none fits.
QString UnitQuantityCode(const QString& unit);

// Services (HSN/SAC codes beginning with 99) have no quantity: "NA".
bool IsServiceCode(const QString& hsn);
QString ServiceQuantityCode();

} // namespace zelva
