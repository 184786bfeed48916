#include "registers/gstr3b.h"

#include "gst/gststates.h"
#include "platform/datetext.h"
#include "registers/csvfile.h"

#include <QCoreApplication>
#include <algorithm>
#include <map>

namespace zelva {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("zelva", text); }

Gstr3bFigure figure(const char* section, const QString& description, bool hasTaxable = true)
{
    Gstr3bFigure f;
    f.section = QString::fromLatin1(section);
    f.description = description;
    f.hasTaxable = hasTaxable;
    return f;
}


void noteDocument(Gstr3bFigure& f, const QString& document)
{
    if (f.documents.isEmpty() || f.documents.back() != document)
        f.documents << document;
}

QString invoiceDocument(const SavedInvoice& invoice)
{
    return tr("Invoice %1 of %2 to %3").arg(invoice.number, invoice.dateText, invoice.buyerName);
}

QString billDocument(const PurchaseBill& bill)
{
    return tr("Bill %1 of %2 from %3").arg(bill.number, DateText(bill.date), bill.supplierName);
}

QString noteDocumentText(const SavedNote& note)
{
    return (note.credit ? tr("Credit note %1 of %2 on invoice %3 to %4") : tr("Debit note %1 of %2 on invoice %3 to %4"))
        .arg(note.number, note.dateText, note.invoice.number, note.invoice.buyerName);
}

// The 3.2 figure of the invoice's place of supply, made when first needed.
Gstr3bFigure& placeFigure(std::map<QString, Gstr3bFigure>& byPlace, const SavedInvoice& invoice)
{
    const GstState* place = PlaceOfSupply(invoice);
    const QString name = place ? PlaceOfSupplyText(*place) : invoice.buyerState;
    return byPlace.try_emplace(name, figure("3.2", tr("Supplies to unregistered persons, place of supply %1").arg(name)))
        .first->second;
}

// Adds a rated base (or a note's signed figures) to the outward figures.
void addOutward(OutwardSupplies& out, std::map<QString, Gstr3bFigure>& byPlace, const SavedInvoice& invoice,
                double rate, Paise taxable, const TaxHeads& tax, const QString& document)
{
    Gstr3bFigure& target = rate > 0 ? out.taxable : out.nilRated;
    target.taxable += taxable;
    target.tax += tax;
    noteDocument(target, document);
    if (rate > 0 && invoice.mode == TaxMode::Igst && !invoice.registeredBuyer()) {
        Gstr3bFigure& place = placeFigure(byPlace, invoice);
        place.taxable += taxable;
        place.tax.igst += tax.igst;
        noteDocument(place, document);
    }
}

Paise& head(TaxHeads& heads, TaxHead which)
{
    return which == IgstHead ? heads.igst : which == CgstHead ? heads.cgst : heads.sgst;
}

// Uses as much of credit as there is against due, up to limit; both go down by it.
void use(Paise& credit, Paise& due, Paise& paid, Paise limit)
{
    const Paise used = std::max<Paise>(0, std::min({credit, due, limit}));
    credit -= used;
    due -= used;
    paid += used;
}

void use(Paise& credit, Paise& due, Paise& paid) { use(credit, due, paid, due); }

// The set-off with the IGST credit left after IGST going to CGST and SGST
// either in the plain order or where the heads' own credit falls short first.
SetOff setOffTax(const TaxHeads& payable, const TaxHeads& credit, bool leastCash)
{
    SetOff s;
    s.payable = {payable.igst, payable.cgst, payable.sgst, 0};
    TaxHeads due = s.payable;
    TaxHeads left = {credit.igst, credit.cgst, credit.sgst, 0};
    TaxHeads& byIgst = s.paid[IgstHead];
    use(left.igst, due.igst, byIgst.igst);
    if (leastCash) {
        use(left.igst, due.cgst, byIgst.cgst, due.cgst - left.cgst);
        use(left.igst, due.sgst, byIgst.sgst, due.sgst - left.sgst);
    }
    use(left.igst, due.cgst, byIgst.cgst);
    use(left.igst, due.sgst, byIgst.sgst);
    for (TaxHead against : {CgstHead, IgstHead})
        use(left.cgst, head(due, against), head(s.paid[CgstHead], against));
    for (TaxHead against : {SgstHead, IgstHead})
        use(left.sgst, head(due, against), head(s.paid[SgstHead], against));
    s.cash = due;
    s.carriedForward = left;
    return s;
}

} // namespace

OutwardSupplies BuildOutwardSupplies(const std::vector<SavedInvoice>& invoices, const std::vector<SavedNote>& notes)
{
    OutwardSupplies out{
        figure("3.1(a)", tr("Outward taxable supplies (other than zero rated, nil rated and exempted)")),
        figure("3.1(c)", tr("Other outward supplies (nil rated, exempted)")),
        {}};
    std::map<QString, Gstr3bFigure> byPlace; // "33-Tamil Nadu" sorts by code
    for (const SavedInvoice& invoice : invoices) {
        if (invoice.cancelled)
            continue;
        const QString document = invoiceDocument(invoice);
        for (const TaxedBase& base : invoice.supplies())
            addOutward(out, byPlace, invoice, base.rate, base.taxable, base.tax, document);
    }
    // As in the return: a credit note taken off, a debit note added.
    for (const SavedNote& note : notes)
        for (const RateTax& supply : note.supplies())
            if (supply.taxable != 0 || !supply.tax.isZero())
                addOutward(out, byPlace, note.invoice, supply.gstRate, note.signedValue(supply.taxable),
                           note.signedTax(supply.tax), noteDocumentText(note));
    for (auto& [place, f] : byPlace)
        out.unregisteredInterState.push_back(f);
    return out;
}

SetOff SetOffTax(const TaxHeads& payable, const TaxHeads& credit)
{
    SetOff s = setOffTax(payable, credit, true);
    s.plainOrderCash = setOffTax(payable, credit, false).cash;
    return s;
}

const Gstr3bFigure* Gstr3b::row(const QString& section) const
{
    for (const Gstr3bFigure& f : rows)
        if (f.section == section)
            return &f;
    return nullptr;
}

Gstr3b BuildGstr3b(int year, int month, const std::vector<SavedInvoice>& invoices,
                   const std::vector<PurchaseBill>& bills, const std::vector<SavedNote>& notes,
                   const std::vector<SupplierNote>& supplierNotes, const LateBillsOfMonth& lateBills)
{
    Gstr3b w;
    w.year = year;
    w.month = month;
    const OutwardSupplies out = BuildOutwardSupplies(invoices, notes);

    Gstr3bFigure reverseCharge = figure("3.1(d)", tr("Inward supplies (liable to reverse charge)"));
    Gstr3bFigure itcReverse = figure("4(A)(3)", tr("ITC available: inward supplies liable to reverse charge"), false);
    Gstr3bFigure itcOther = figure("4(A)(5)", tr("ITC available: all other ITC"), false);
    Gstr3bFigure blocked = figure("4(B)(1)", tr("ITC reversed: as per rules 38, 42 and 43 and section 17(5) "
                                                "(not eligible)"), false);
    Gstr3bFigure reversedForNow = figure("4(B)(2)", tr("ITC reversed: others (rule 37, reclaimable)"), false);
    Gstr3bFigure ineligible = figure("4(D)(2)", tr("Ineligible ITC under section 16(4) and ITC restricted due to "
                                                   "place of supply rules"), false);
    const auto add = [](Gstr3bFigure& f, const TaxHeads& tax, const QString& document) {
        f.tax += tax;
        noteDocument(f, document);
    };
    // A bill's figures, or a note's with their sign, where the bill's credit goes.
    const auto inward = [&](const PurchaseBill& bill, Paise taxable, const TaxHeads& tax, const QString& document) {
        if (bill.reverseCharge) {
            reverseCharge.taxable += taxable;
            add(reverseCharge, tax, document);
        }
        if (tax.isZero())
            return;
        if (bill.credit == CreditKind::Ineligible) {
            add(ineligible, tax, document);
            return;
        }
        add(bill.reverseCharge ? itcReverse : itcOther, tax, document);
        if (bill.credit == CreditKind::Blocked)
            add(blocked, tax, document);
        else if (bill.credit == CreditKind::Reclaimable)
            add(reversedForNow, tax, document);
    };
    for (const PurchaseBill& bill : bills)
        inward(bill, bill.taxable(), bill.tax(), billDocument(bill));
    for (const SupplierNote& note : supplierNotes)
        inward(note.bill, note.signedValue(note.taxable), note.signedTax(), note.reference());
    // Rule 37: the credit of a bill unpaid on its 181st day reversed, taken back as it is paid.
    Gstr3bFigure reclaimed = figure("4(D)(1)", tr("ITC reclaimed which was reversed under 4(B)(2) in an earlier period"),
                                    false);
    const auto lateDocument = [](const LateBillCredit& late, const char* what) {
        return tr("Bill %1 of %2 from %3: %4 %5").arg(late.bill.number, DateText(late.bill.date), late.bill.supplierName,
                                                      tr(what), AmountText(late.part));
    };
    for (const LateBillCredit& late : lateBills.reversed)
        add(reversedForNow, late.tax, lateDocument(late, "unpaid 180 days after its date"));
    for (const LateBillCredit& late : lateBills.reclaimed) {
        add(itcOther, late.tax, lateDocument(late, "paid after its credit was reversed"));
        add(reclaimed, late.tax, lateDocument(late, "paid after its credit was reversed"));
    }
    Gstr3bFigure net = figure("4(C)", tr("Net ITC available (A) - (B)"), false);
    net.tax = itcReverse.tax + itcOther.tax - blocked.tax - reversedForNow.tax;
    net.documents = itcReverse.documents + itcOther.documents;

    w.rows.push_back(out.taxable);
    w.rows.push_back(figure("3.1(b)", tr("Outward taxable supplies (zero rated)")));
    w.rows.push_back(out.nilRated);
    w.rows.push_back(reverseCharge);
    w.rows.push_back(figure("3.1(e)", tr("Non-GST outward supplies")));
    for (const Gstr3bFigure& place : out.unregisteredInterState)
        w.rows.push_back(place);
    w.rows.push_back(figure("4(A)(1)", tr("ITC available: import of goods"), false));
    w.rows.push_back(figure("4(A)(2)", tr("ITC available: import of services"), false));
    w.rows.push_back(itcReverse);
    w.rows.push_back(figure("4(A)(4)", tr("ITC available: inward supplies from ISD"), false));
    w.rows.push_back(itcOther);
    w.rows.push_back(blocked);
    w.rows.push_back(reversedForNow);
    w.rows.push_back(net);
    w.rows.push_back(reclaimed);
    w.rows.push_back(ineligible);

    // 6.1: the output tax other than reverse charge, set off by the net credit.
    w.setOff = SetOffTax(out.taxable.tax, net.tax);
    w.reverseChargeCash = reverseCharge.tax;
    const auto payment = [&](const QString& description, const TaxHeads& heads, const QStringList& documents) {
        Gstr3bFigure f = figure("6.1", description, false);
        f.tax = heads;
        f.documents = documents;
        w.rows.push_back(f);
    };
    payment(tr("Tax payable (other than reverse charge)"), w.setOff.payable, out.taxable.documents);
    payment(tr("Paid through ITC: Integrated tax"), w.setOff.paid[IgstHead], net.documents);
    payment(tr("Paid through ITC: Central tax"), w.setOff.paid[CgstHead], net.documents);
    payment(tr("Paid through ITC: State/UT tax"), w.setOff.paid[SgstHead], net.documents);
    payment(tr("Paid in cash (other than reverse charge)"), w.setOff.cash,
            out.taxable.documents + net.documents);
    payment(tr("For comparison: cash in the plain order (IGST credit to Central tax before State/UT tax)"),
            w.setOff.plainOrderCash, out.taxable.documents + net.documents);
    payment(tr("Tax payable and paid in cash (reverse charge)"), w.reverseChargeCash, reverseCharge.documents);
    payment(tr("Total paid in cash"), w.setOff.cash + w.reverseChargeCash, out.taxable.documents + net.documents + reverseCharge.documents);
    payment(tr("ITC left to carry forward"), w.setOff.carriedForward, net.documents);
    return w;
}

Gstr3b LoadGstr3b(Database& db, int year, int month)
{
    const Period days = MonthPeriod(year, month);
    return BuildGstr3b(year, month, LoadInvoices(db, days), LoadPurchaseBills(db, days.from, days.to),
                       LoadNotes(db, days), LoadSupplierNotes(db, days.from, days.to), LateBillsInMonth(db, year, month));
}

QStringList Gstr3bCaptions()
{
    return {tr("Section"), tr("Description"), tr("Taxable Value"), tr("Integrated Tax"), tr("Central Tax"),
            tr("State/UT Tax"), tr("Cess")};
}

QStringList Gstr3bCells(const Gstr3bFigure& row)
{
    return {row.section,
            row.description,
            row.hasTaxable ? AmountText(row.taxable) : QString(),
            AmountText(row.tax.igst),
            AmountText(row.tax.cgst),
            AmountText(row.tax.sgst),
            AmountText(0)};
}

QString Gstr3bCsv(const Gstr3b& worksheet)
{
    QString csv = CsvLine(Gstr3bCaptions() << tr("Documents"));
    for (const Gstr3bFigure& row : worksheet.rows) {
        const QStringList cells = Gstr3bCells(row);
        csv += CsvLine({cells[0], cells[1]},
                       {cells[2], cells[3], cells[4], cells[5], cells[6], QString::number(row.documents.size())});
    }
    return csv;
}

} // namespace zelva
