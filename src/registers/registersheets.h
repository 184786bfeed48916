#pragma once
// The sales register, the yearly summary and the HSN-wise summary as Excel
// sheets: the columns and lines of their CSV texts, with amounts, counts and
// dates as numbers and dates the accountant can add up and sort.
#include "registers/salesregister.h"
#include "registers/xlsxfile.h"

namespace zelva {

XlsxSheet SalesRegisterSheet(const SalesRegister& salesRegister);
XlsxSheet YearlySummarySheet(const YearlySummary& summary);
XlsxSheet HsnSummarySheet(const std::vector<HsnLine>& lines);

} // namespace zelva
