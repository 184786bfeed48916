#include "registers/returnsums.h"

#include "gst/gstrates.h"
#include "registers/portalfiles.h"

#include <QJsonArray>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>

namespace zelva {

namespace {

using Type = CheckedDocument::Type;

Paise paiseAt(const QJsonObject& object, const char* key) { return ToPaise(object.value(QLatin1String(key)).toDouble()); }

QString rupees(Paise paise) { return QStringLiteral("Rs %1").arg(ShownAmountText(paise, true)); }

void addError(std::vector<ReturnFinding>& all, const CheckedDocument& document, PortalFiles files, const QString& key,
    const QString& problem, const QString& action)
{
    all.push_back({ FindingKind::Error, document, files, key, problem, action, {} });
}

// ---- GSTR-1 ----

// The figures the file gives a rate: the taxable value and each tax head.
constexpr const char* FileHeads[] = { "txval", "iamt", "camt", "samt", "csamt" };
constexpr int FileHeadCount = 5;
using HeadFigures = std::array<Paise, FileHeadCount>;
using ByRate = std::map<double, HeadFigures>;

// Adds the rated figures within a part of the file, credit notes taken off.
void addByRate(const QJsonValue& value, int sign, ByRate& byRate)
{
    if (value.isArray()) {
        for (const QJsonValue& item : value.toArray())
            addByRate(item, sign, byRate);
        return;
    }
    if (!value.isObject())
        return;
    const QJsonObject object = value.toObject();
    if (object.contains(QLatin1String("ntty")))
        sign = object.value(QLatin1String("ntty")).toString() == QLatin1String("C") ? -1 : 1;
    if (object.contains(QLatin1String("rt")) && object.contains(QLatin1String("txval"))) {
        HeadFigures& figures = byRate[object.value(QLatin1String("rt")).toDouble()];
        for (int head = 0; head < FileHeadCount; ++head)
            figures[head] += sign * paiseAt(object, FileHeads[head]);
        return;
    }
    for (auto it = object.begin(); it != object.end(); ++it)
        addByRate(it.value(), sign, byRate);
}

ByRate byRateOf(const QJsonObject& file, const QStringList& parts)
{
    ByRate byRate;
    for (const QString& part : parts)
        addByRate(file.value(part), 1, byRate);
    return byRate;
}

CheckedDocument gstr1Document(const ReturnDocuments& d) { return { Type::File, QStringLiteral("GSTR-1"), 0, {}, d.month.from }; }

// One list of the HSN summary and the parts of the file it summarises.
struct HsnList {
    QString list;
    QStringList parts;
};

std::vector<HsnList> hsnLists(const QJsonObject& hsn)
{
    if (hsn.contains(QLatin1String("data")))
        return { { QStringLiteral("data"),
            { QStringLiteral("b2b"), QStringLiteral("b2cl"), QStringLiteral("b2cs"), QStringLiteral("cdnr"),
                QStringLiteral("cdnur") } } };
    return { { QStringLiteral("hsn_b2b"), { QStringLiteral("b2b"), QStringLiteral("cdnr") } },
        { QStringLiteral("hsn_b2c"), { QStringLiteral("b2cl"), QStringLiteral("b2cs"), QStringLiteral("cdnur") } } };
}

void checkHsnSummary(const ReturnDocuments& d, const QJsonObject& file, std::vector<ReturnFinding>& all)
{
    const QJsonObject hsn = file.value(QLatin1String("hsn")).toObject();
    for (const HsnList& list : hsnLists(hsn)) {
        const ByRate supplies = byRateOf(file, list.parts);
        ByRate summary;
        addByRate(hsn.value(list.list), 1, summary);
        ByRate rates = supplies;
        rates.insert(summary.begin(), summary.end());
        for (const auto& [rate, unused] : rates) {
            (void)unused;
            const HeadFigures inParts = supplies.count(rate) ? supplies.at(rate) : HeadFigures {};
            const HeadFigures inSummary = summary.count(rate) ? summary.at(rate) : HeadFigures {};
            for (int head = 0; head < FileHeadCount; ++head) {
                if (inParts[head] == inSummary[head])
                    continue;
                const bool taxable = head == 0;
                addError(all, gstr1Document(d), PortalFileKind::Gstr1,
                    QStringLiteral("HSN summary (%1.%2 at %3%)")
                        .arg(list.list, QLatin1String(FileHeads[head]), RateText(rate)),
                    QStringLiteral("In the GSTR-1 file the HSN summary %1 comes to %2 of %3 at %4%, its supplies (%5) "
                                   "to %6.")
                        .arg(list.list, rupees(inSummary[head]), QLatin1String(FileHeads[head]), RateText(rate),
                            list.parts.join(QStringLiteral(", ")), rupees(inParts[head])),
                    taxable ? QStringLiteral("Give every line and charge an HSN code, then make the file again.")
                            : QStringLiteral("An invoice or note of the month keeps a tax that differs from its lines' "
                                             "(a record an older version wrote): find it in the sales register, "
                                             "put it right with a note, then make the file again."));
            }
        }
    }
}

QString b2csRowNotes(const ReturnDocuments& d, const QJsonObject& row)
{
    const QString type = row.value(QLatin1String("sply_ty")).toString();
    const QString pos = row.value(QLatin1String("pos")).toString();
    const double rate = row.value(QLatin1String("rt")).toDouble();
    for (const B2csRowNotes& notes : d.b2csNotes)
        if (notes.supplyType == type && notes.pos == pos && SameRate(notes.rate, rate))
            return notes.notes.join(QStringLiteral(", "));
    return {};
}

// The portal takes no b2cs row below nothing: the notes of a place and rate
// may not take off more than the month's small sales there.
void checkB2csRows(const ReturnDocuments& d, const QJsonObject& file, std::vector<ReturnFinding>& all)
{
    for (const QJsonValue& value : file.value(QLatin1String("b2cs")).toArray()) {
        const QJsonObject row = value.toObject();
        const bool belowNothing = std::any_of(std::begin(FileHeads), std::end(FileHeads),
            [&](const char* head) { return paiseAt(row, head) < 0; });
        if (!belowNothing)
            continue;
        const QString rate = RateText(row.value(QLatin1String("rt")).toDouble());
        const QString pos = row.value(QLatin1String("pos")).toString();
        const QString notes = b2csRowNotes(d, row);
        addError(all, gstr1Document(d), PortalFileKind::Gstr1,
            QStringLiteral("b2cs (%1, pos %2, rt %3%)").arg(row.value(QLatin1String("sply_ty")).toString(), pos, rate),
            QStringLiteral("The b2cs row of place of supply %1 at %2% comes to %3 (tax %4): the credit notes %5 take off "
                           "more than the month's small invoices to buyers without GSTIN there.")
                .arg(pos, rate, rupees(paiseAt(row, "txval")),
                    rupees(paiseAt(row, "iamt") + paiseAt(row, "camt") + paiseAt(row, "samt")),
                    notes.isEmpty() ? QStringLiteral("of the month") : notes),
            QStringLiteral("The portal takes no row below nothing: report what the notes take off beyond this month's "
                           "sales as an amendment of the b2cs row of their invoices' month (table 10)."));
    }
}

// The file's outward supplies, each rated part with its sign, against the
// GSTR-3B worksheet's table 3.1 of the month.
void checkAgainstGstr3b(const ReturnDocuments& d, const QJsonObject& file, std::vector<ReturnFinding>& all)
{
    if (!d.gstr3b)
        return;
    HeadFigures rated {};
    Paise nilRated = 0;
    const ByRate parts = byRateOf(file,
        { QStringLiteral("b2b"), QStringLiteral("b2cl"), QStringLiteral("b2cs"), QStringLiteral("cdnr"),
            QStringLiteral("cdnur") });
    for (const auto& [rate, figures] : parts) {
        if (rate <= 0) {
            nilRated += figures[0];
            continue;
        }
        for (int head = 0; head < FileHeadCount; ++head)
            rated[head] += figures[head];
    }
    const OutwardTable& table = *d.gstr3b;
    const std::pair<const char*, Paise> sides[] = { { "3.1(a) taxable value (txval)", table.taxable },
        { "3.1(a) integrated tax (iamt)", table.tax.igst }, { "3.1(a) central tax (camt)", table.tax.cgst },
        { "3.1(a) state/UT tax (samt)", table.tax.sgst }, { "3.1(a) cess (csamt)", table.tax.cess } };
    const auto compare = [&](const QString& key, Paise inFile, Paise inWorksheet) {
        if (inFile != inWorksheet)
            addError(all, gstr1Document(d), PortalFileKind::Gstr1, QStringLiteral("GSTR-3B %1").arg(key),
                QStringLiteral("The GSTR-1 file's outward supplies (b2b, b2cl, b2cs, cdnr, cdnur) come to %1, the "
                               "GSTR-3B worksheet's %2 to %3.")
                    .arg(rupees(inFile), key, rupees(inWorksheet)),
                QStringLiteral("Look for an invoice or note the return leaves out (its place of supply or date), "
                               "put it right, then make both again."));
    };
    for (int head = 0; head < FileHeadCount; ++head)
        compare(QLatin1String(sides[head].first), rated[head], sides[head].second);
    compare(QStringLiteral("3.1(c) nil rated (txval)"), nilRated, table.nilRated);
}

// ---- e-invoice ----

// A figure of ValDtls and the figure of each item it adds up.
struct Sum {
    const char* total; // the key in ValDtls
    const char* item; // the key in each item
    Paise (*of)(Paise taxable, const TaxHeads& tax);
};

constexpr Sum EInvoiceSums[] = { { "AssVal", "AssAmt", [](Paise taxable, const TaxHeads&) { return taxable; } },
    { "CgstVal", "CgstAmt", [](Paise, const TaxHeads& tax) { return tax.cgst; } },
    { "SgstVal", "SgstAmt", [](Paise, const TaxHeads& tax) { return tax.sgst; } },
    { "IgstVal", "IgstAmt", [](Paise, const TaxHeads& tax) { return tax.igst; } } };

QString eInvoiceAction()
{
    return QStringLiteral("The document as saved disagrees with its lines (a record an older version wrote): issue a "
                          "credit note for it and a new one, and upload the new one.");
}

void checkEInvoiceItems(const CheckedDocument& document, const std::vector<FileItem>& items, std::vector<ReturnFinding>& all)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        const FileItem& item = items[i];
        const QString number = QString::number(i + 1); // SlNo
        const Paise fromGross = item.gross - item.discount;
        const Paise total = item.taxable + item.tax.igst + item.tax.cgst + item.tax.sgst;
        if (item.taxable != fromGross)
            addError(all, document, PortalFileKind::EInvoice, QStringLiteral("e-invoice ItemList.AssAmt, item %1").arg(number),
                QStringLiteral("The e-invoice's item %1 has AssAmt %2, its TotAmt less Discount %3.")
                    .arg(number, rupees(item.taxable), rupees(fromGross)),
                eInvoiceAction());
        if (item.total() != total)
            addError(all, document, PortalFileKind::EInvoice,
                QStringLiteral("e-invoice ItemList.TotItemVal, item %1").arg(number),
                QStringLiteral("The e-invoice's item %1 has TotItemVal %2, its AssAmt and taxes %3.")
                    .arg(number, rupees(item.total()), rupees(total)),
                eInvoiceAction());
    }
}

// ---- e-way bill ----

struct TaxValue {
    const char* total;
    const char* rate;
    Paise TaxHeads::*stated;
    double EwayItemRates::*itemRate;
};
constexpr TaxValue EwayTaxes[] = { { "cgstValue", "cgstRate", &TaxHeads::cgst, &EwayItemRates::cgst },
    { "sgstValue", "sgstRate", &TaxHeads::sgst, &EwayItemRates::sgst },
    { "igstValue", "igstRate", &TaxHeads::igst, &EwayItemRates::igst } };

// The tax is rounded once for the goods at each rate and once for each
// charge (an item of unit "OTH"), each rounding half a paisa at most.
double roundingAllowed(const FileFigures& bill)
{
    std::set<double> rates;
    int charges = 0;
    for (const FileItem& item : bill.items) {
        const EwayItemRates itemRates = EwayRates(item, bill.interState);
        rates.insert(itemRates.cgst + itemRates.igst);
        charges += item.unitCode == QLatin1String("OTH") ? 1 : 0;
    }
    return 0.5 * double(rates.size() + std::size_t(charges)) + 1e-6;
}

QString ewayAction()
{
    return QStringLiteral("The invoice's tax rows disagree with its lines at their rates (a record an older version "
                          "wrote): issue a credit note for it and a new invoice, and make the e-way bill of the new one.");
}

} // namespace

DocumentValues InvoiceValues(const Invoice& invoice)
{
    return { invoice.beforeTax(), { invoice.totals.igst, invoice.totals.cgst, invoice.totals.sgst, 0 },
        invoice.rounding.amount, invoice.totals.grand };
}

DocumentValues NoteValues(const SaleNote& note)
{
    TaxHeads tax;
    if (note.mode == TaxMode::Igst)
        tax.igst = note.firstTax;
    else
        tax.cgst = note.firstTax;
    tax.sgst = note.sgst;
    return { note.taxable, tax, 0, note.total };
}

void CheckGstr1Sums(const ReturnDocuments& d, const QJsonObject& file, std::vector<ReturnFinding>& all)
{
    checkHsnSummary(d, file, all);
    checkB2csRows(d, file, all);
    checkAgainstGstr3b(d, file, all);
}

void CheckEInvoiceSums(
    const CheckedDocument& document, const FileFigures& file, const DocumentValues& saved, std::vector<ReturnFinding>& all)
{
    checkEInvoiceItems(document, file.items, all);
    for (const Sum& sum : EInvoiceSums) {
        Paise ofItems = 0;
        for (const FileItem& item : file.items)
            ofItems += sum.of(item.taxable, item.tax);
        const Paise stated = sum.of(file.taxable, file.tax);
        if (stated != ofItems)
            addError(all, document, PortalFileKind::EInvoice, QStringLiteral("e-invoice ValDtls.%1").arg(QLatin1String(sum.total)),
                QStringLiteral("The e-invoice's ValDtls.%1 is %2, its items' %3 add up to %4.")
                    .arg(QLatin1String(sum.total), rupees(stated), QLatin1String(sum.item), rupees(ofItems)),
                eInvoiceAction());
    }
    // ValDtls carries no cess, other charges or discount: nothing of them is added.
    const Paise parts = file.taxable + file.tax.cgst + file.tax.sgst + file.tax.igst + file.rounding;
    if (file.total != parts)
        addError(all, document, PortalFileKind::EInvoice, QStringLiteral("e-invoice ValDtls.TotInvVal"),
            QStringLiteral("The e-invoice's ValDtls.TotInvVal is %1, its values and rounding add up to %2.")
                .arg(rupees(file.total), rupees(parts)),
            eInvoiceAction());
    const QString what = document.type == Type::Invoice ? QStringLiteral("invoice") : QStringLiteral("note");
    const std::pair<const char*, std::pair<Paise, std::pair<const char*, Paise>>> kept[] = {
        { "AssVal", { file.taxable, { "taxable value", saved.taxable } } },
        { "CgstVal", { file.tax.cgst, { "CGST", saved.tax.cgst } } },
        { "SgstVal", { file.tax.sgst, { "SGST", saved.tax.sgst } } },
        { "IgstVal", { file.tax.igst, { "IGST", saved.tax.igst } } },
        { "RndOffAmt", { file.rounding, { "Short & Excess", saved.rounding } } },
        { "TotInvVal", { file.total, { "total", saved.total } } } };
    for (const auto& [key, figures] : kept) {
        const auto& [inFile, asSaved] = figures;
        if (inFile != asSaved.second)
            addError(all, document, PortalFileKind::EInvoice, QStringLiteral("e-invoice ValDtls.%1").arg(QLatin1String(key)),
                QStringLiteral("The e-invoice's ValDtls.%1 is %2, the %3's %4 as saved %5.")
                    .arg(QLatin1String(key), rupees(inFile), what, QLatin1String(asSaved.first), rupees(asSaved.second)),
                eInvoiceAction());
    }
}

void CheckEwayBillSums(const CheckedDocument& document, const FileFigures& bill, Paise invoiceTotal,
    std::vector<ReturnFinding>& all)
{
    Paise taxable = 0;
    for (const FileItem& item : bill.items)
        taxable += item.taxable;
    const auto error = [&](const char* key, const QString& problem, const QString& action) {
        addError(all, document, PortalFileKind::EwayBill, QStringLiteral("e-way bill %1").arg(QLatin1String(key)), problem,
            action);
    };
    if (bill.taxable != taxable)
        error("totalValue",
            QStringLiteral("The e-way bill's totalValue is %1, its items' taxableAmount add up to %2.")
                .arg(rupees(bill.taxable), rupees(taxable)),
            ewayAction());
    const double allowed = roundingAllowed(bill);
    for (const TaxValue& tax : EwayTaxes) {
        double atRates = 0;
        for (const FileItem& item : bill.items)
            atRates += double(item.taxable) * (EwayRates(item, bill.interState).*tax.itemRate) / 100;
        const Paise stated = bill.tax.*tax.stated;
        if (std::abs(double(stated) - atRates) > allowed)
            error(tax.total,
                QStringLiteral("The e-way bill's %1 is %2, its items' taxable amounts at their %3 come to %4.")
                    .arg(QLatin1String(tax.total), rupees(stated), QLatin1String(tax.rate), rupees(Paise(std::llround(atRates)))),
                ewayAction());
    }
    // The bill's cessValue is nothing; its otherValue is the rounding.
    const Paise parts = bill.taxable + bill.tax.cgst + bill.tax.sgst + bill.tax.igst + bill.rounding;
    if (bill.total != parts)
        error("totInvValue",
            QStringLiteral("The e-way bill's totInvValue is %1, its values and otherValue add up to %2.")
                .arg(rupees(bill.total), rupees(parts)),
            ewayAction());
    if (bill.total != invoiceTotal)
        error("totInvValue",
            QStringLiteral("The e-way bill's totInvValue is %1, the invoice's total as saved %2.")
                .arg(rupees(bill.total), rupees(invoiceTotal)),
            ewayAction());
}

} // namespace zelva
