#pragma once
// The GSTR-3B worksheet of one month, in the order and numbering of the
// portal's form, each figure with the documents behind it. No window.
//
// - 3.1(a) outward taxable supplies: the month's saved invoices, cancelled
//   ones left out, every taxed base (goods, each extra charge) at a rate above
//   0; 3.1(c) the bases at 0 %. The outward figures are made in one place
//   (BuildOutwardSupplies), net of the credit and debit notes dated in the
//   month, whatever their invoices' dates: a credit note's taxable value and
//   tax taken off, a debit note's added, at its invoice's goods rate.
// - 3.1(d) inward supplies liable to reverse charge: the month's bills under
//   reverse charge, with the tax the shop pays on them.
// - 3.2 inter-State supplies to unregistered persons, by place of supply: the
//   rated bases of IGST invoices to buyers without GSTIN, and their notes.
// - 4(A)(3) ITC on inward supplies under reverse charge and 4(A)(5) all other
//   ITC: the tax of the month's bills but the ineligible ones; 4(B)(1)
//   reversed: the blocked bills' (section 17(5)); 4(B)(2) reversed: the bills
//   reversed for now (rule 37); 4(C) = 4(A) - 4(B); 4(D)(2): the ineligible
//   bills' tax (section 16(4), place of supply), never in 4(A). A supplier's
//   note dated in the month goes where its bill's credit goes: a credit note
//   takes off, a debit note adds. A bill of an
//   unregistered supplier carries no tax and no credit, unless under reverse
//   charge.
// - 6.1: the output tax of 3.1(a) set off by the credit of 4(C) (SetOffTax),
//   in the split that needs the least cash, with the cash of the plain order
//   beside it; what is left is paid in cash per head, as is the whole tax
//   under reverse charge.
#include "registers/payables.h"
#include "registers/savednote.h"
#include "sales/purchasebill.h"
#include "sales/suppliernote.h"

#include <QStringList>
#include <array>
#include <vector>

namespace zelva {

class Database;

// One figure of the worksheet and the documents it is made of
// ("A00012 of 03/01/2027", "bill 42 of Sharma Traders of 05/01/2027").
struct Gstr3bFigure {
    QString section; // "3.1(a)", "4(A)(5)", "6.1"
    QString description;
    Paise taxable = 0;
    TaxHeads tax;
    bool hasTaxable = true; // false: the ITC and tax rows, which carry no taxable value
    QStringList documents;
};

// The outward side of the month, net of the month's notes.
struct OutwardSupplies {
    Gstr3bFigure taxable; // 3.1(a)
    Gstr3bFigure nilRated; // 3.1(c)
    std::vector<Gstr3bFigure> unregisteredInterState; // 3.2, by place of supply in code order
};
OutwardSupplies BuildOutwardSupplies(const std::vector<SavedInvoice>& invoices,
                                     const std::vector<SavedNote>& notes = {});

enum TaxHead { IgstHead, CgstHead, SgstHead };
constexpr int TaxHeadCount = 3;

// The output tax set off by the credit as rule 88A allows: IGST credit
// against IGST first, and what is left of it against CGST and SGST in the
// split that leaves the least to pay in cash (first where the head's own
// credit falls short), all of it used before any CGST or SGST credit; then
// CGST credit against CGST, then IGST; SGST credit against SGST, then IGST.
// CGST and SGST credit never pay each other. plainOrderCash is the cash the
// plain order (IGST credit to CGST before SGST) would leave.
struct SetOff {
    TaxHeads payable;
    // paid[credit head]: what the credit of that head paid, tax head by tax head.
    std::array<TaxHeads, TaxHeadCount> paid{};
    TaxHeads cash; // the tax left to pay in cash
    TaxHeads carriedForward; // the credit left unused
    TaxHeads plainOrderCash;
};
SetOff SetOffTax(const TaxHeads& payable, const TaxHeads& credit);

struct Gstr3b {
    int year = 0;
    int month = 0;
    std::vector<Gstr3bFigure> rows; // in the form's order
    SetOff setOff;
    TaxHeads reverseChargeCash;
    // The row of a section ("4(C)"); nullptr when there is none.
    const Gstr3bFigure* row(const QString& section) const;
};

Gstr3b BuildGstr3b(int year, int month, const std::vector<SavedInvoice>& invoices,
                   const std::vector<PurchaseBill>& bills, const std::vector<SavedNote>& notes = {},
                   const std::vector<SupplierNote>& supplierNotes = {}, const LateBillsOfMonth& lateBills = {});
// Throws DataError.
Gstr3b LoadGstr3b(Database& db, int year, int month);

QStringList Gstr3bCaptions();
// A row's cells as texts: section, description, taxable value ("" when the
// row has none), IGST, CGST, SGST, cess.
QStringList Gstr3bCells(const Gstr3bFigure& row);
QString Gstr3bCsv(const Gstr3b& worksheet);

} // namespace zelva
