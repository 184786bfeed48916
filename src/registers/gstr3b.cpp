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

void addTax(LineTax& sum, const LineTax& tax)
{
    sum.igst += tax.igst;
    sum.cgst += tax.cgst;
    sum.sgst += tax.sgst;
}

LineTax taxOf(const HeadAmounts& heads) { return {heads[IgstHead], heads[CgstHead], heads[SgstHead]}; }

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
                double rate, Paise taxable, const LineTax& tax, const QString& document)
{
    Gstr3bFigure& target = rate > 0 ? out.taxable : out.nilRated;
    target.taxable += taxable;
    addTax(target.tax, tax);
    noteDocument(target, document);
    if (rate > 0 && invoice.mode == TaxMode::Igst && !invoice.registeredBuyer()) {
        Gstr3bFigure& place = placeFigure(byPlace, invoice);
        place.taxable += taxable;
        place.tax.igst += tax.igst;
        noteDocument(place, document);
    }
}

// Uses as much of credit as there is against due; both go down by it.
void use(Paise& credit, Paise& due, Paise& paid)
{
    const Paise used = std::min(credit, due);
    credit -= used;
    due -= used;
    paid += used;
}

} // namespace

HeadAmounts HeadsOf(const LineTax& tax) { return {tax.igst, tax.cgst, tax.sgst}; }

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
        for (const TaxedBase& base : invoice.bases)
            if (base.taxable != 0 || base.tax() != 0)
                addOutward(out, byPlace, invoice, base.rate, base.taxable, {base.igst, base.cgst, base.sgst}, document);
    }
    // As in the return: a credit note taken off, a debit note added.
    for (const SavedNote& note : notes)
        if (note.taxable != 0 || note.igst + note.cgst + note.sgst != 0)
            addOutward(out, byPlace, note.invoice, note.rate, note.signedValue(note.taxable),
                       {note.signedValue(note.igst), note.signedValue(note.cgst), note.signedValue(note.sgst)},
                       noteDocumentText(note));
    for (auto& [place, f] : byPlace)
        out.unregisteredInterState.push_back(f);
    return out;
}

SetOff SetOffTax(const HeadAmounts& payable, const HeadAmounts& credit)
{
    SetOff s;
    s.payable = payable;
    HeadAmounts due = payable;
    HeadAmounts left = credit;
    for (TaxHead against : {IgstHead, CgstHead, SgstHead})
        use(left[IgstHead], due[against], s.paid[IgstHead][against]);
    for (TaxHead against : {CgstHead, IgstHead})
        use(left[CgstHead], due[against], s.paid[CgstHead][against]);
    for (TaxHead against : {SgstHead, IgstHead})
        use(left[SgstHead], due[against], s.paid[SgstHead][against]);
    s.cash = due;
    s.carriedForward = left;
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
                   const std::vector<PurchaseBill>& bills, const std::vector<SavedNote>& notes)
{
    Gstr3b w;
    w.year = year;
    w.month = month;
    const OutwardSupplies out = BuildOutwardSupplies(invoices, notes);

    Gstr3bFigure reverseCharge = figure("3.1(d)", tr("Inward supplies (liable to reverse charge)"));
    Gstr3bFigure itcReverse = figure("4(A)(3)", tr("ITC available: inward supplies liable to reverse charge"), false);
    Gstr3bFigure itcOther = figure("4(A)(5)", tr("ITC available: all other ITC"), false);
    Gstr3bFigure reversed = figure("4(B)(1)", tr("ITC reversed: as per rules 38, 42 and 43 and section 17(5) "
                                                 "(not eligible)"), false);
    for (const PurchaseBill& bill : bills) {
        const LineTax tax = bill.tax();
        const QString document = billDocument(bill);
        if (bill.reverseCharge) {
            reverseCharge.taxable += bill.taxable();
            addTax(reverseCharge.tax, tax);
            noteDocument(reverseCharge, document);
        }
        if (tax.total() == 0)
            continue;
        Gstr3bFigure& available = bill.reverseCharge ? itcReverse : itcOther;
        addTax(available.tax, tax);
        noteDocument(available, document);
        if (!bill.itcEligible) {
            addTax(reversed.tax, tax);
            noteDocument(reversed, document);
        }
    }
    Gstr3bFigure net = figure("4(C)", tr("Net ITC available (A) - (B)"), false);
    net.tax = {itcReverse.tax.igst + itcOther.tax.igst - reversed.tax.igst,
               itcReverse.tax.cgst + itcOther.tax.cgst - reversed.tax.cgst,
               itcReverse.tax.sgst + itcOther.tax.sgst - reversed.tax.sgst};
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
    w.rows.push_back(reversed);
    w.rows.push_back(figure("4(B)(2)", tr("ITC reversed: others"), false));
    w.rows.push_back(net);

    // 6.1: the output tax other than reverse charge, set off by the net credit.
    w.setOff = SetOffTax(HeadsOf(out.taxable.tax), HeadsOf(net.tax));
    w.reverseChargeCash = HeadsOf(reverseCharge.tax);
    const auto payment = [&](const QString& description, const HeadAmounts& heads, const QStringList& documents) {
        Gstr3bFigure f = figure("6.1", description, false);
        f.tax = taxOf(heads);
        f.documents = documents;
        w.rows.push_back(f);
    };
    payment(tr("Tax payable (other than reverse charge)"), w.setOff.payable, out.taxable.documents);
    payment(tr("Paid through ITC: Integrated tax"), w.setOff.paid[IgstHead], net.documents);
    payment(tr("Paid through ITC: Central tax"), w.setOff.paid[CgstHead], net.documents);
    payment(tr("Paid through ITC: State/UT tax"), w.setOff.paid[SgstHead], net.documents);
    payment(tr("Paid in cash (other than reverse charge)"), w.setOff.cash,
            out.taxable.documents + net.documents);
    payment(tr("Tax payable and paid in cash (reverse charge)"), w.reverseChargeCash, reverseCharge.documents);
    HeadAmounts totalCash{};
    for (int head = 0; head < TaxHeadCount; ++head)
        totalCash[size_t(head)] = w.setOff.cash[size_t(head)] + w.reverseChargeCash[size_t(head)];
    payment(tr("Total paid in cash"), totalCash, out.taxable.documents + net.documents + reverseCharge.documents);
    payment(tr("ITC left to carry forward"), w.setOff.carriedForward, net.documents);
    return w;
}

Gstr3b LoadGstr3b(const Database& db, int year, int month)
{
    const Period days = MonthPeriod(year, month);
    return BuildGstr3b(year, month, LoadInvoices(db, days), LoadPurchaseBills(db, days.from, days.to),
                       LoadNotes(db, days));
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
