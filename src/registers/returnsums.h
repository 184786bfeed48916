#pragma once
// The Return Check's part on the sums inside the files the program writes
// for the portals. Each is added up again from what the file's own builder
// writes into it (the GSTR-1 JSON of gstr1.*, the figures portalfiles.* writes
// an e-invoice and an e-way bill from), never worked out a second way from
// the documents, so a sum that would not agree on the portal does not agree
// here either:
//
// - GSTR-1: the HSN summary per rate against the supplies it summarises
//   (hsn_b2b against b2b and cdnr, hsn_b2c against b2cl, b2cs and cdnur; one
//   list "data" against all five), the taxable value and each tax head; no
//   b2cs row below nothing; the outward supplies against the GSTR-3B
//   worksheet's table 3.1.
// - e-invoice: ValDtls against the sum of its ItemList and against the
//   document as saved; each item's own sums.
// - e-way bill: totalValue against the items' taxable amounts, each tax
//   value against the items' amounts at their rates (half a paisa an item
//   allowed, each item's tax being rounded), totInvValue against its parts
//   and the invoice.
//
// A difference is an error naming the file, the key and both figures.
#include "registers/portalfiles.h"
#include "registers/returncheck.h"

#include <QJsonObject>

namespace zelva {

// A document's figures as it is saved, which its e-invoice must carry.
struct DocumentValues {
    Paise taxable = 0;
    TaxHeads tax;
    Paise rounding = 0;
    Paise total = 0;
};
DocumentValues InvoiceValues(const Invoice& invoice);
DocumentValues NoteValues(const SaleNote& note);

void CheckGstr1Sums(const ReturnDocuments& documents, const QJsonObject& file, std::vector<ReturnFinding>& all);
void CheckEInvoiceSums(
    const CheckedDocument& document, const FileFigures& file, const DocumentValues& saved, std::vector<ReturnFinding>& all);
void CheckEwayBillSums(const CheckedDocument& document, const FileFigures& bill, Paise invoiceTotal,
    std::vector<ReturnFinding>& all);

} // namespace zelva
