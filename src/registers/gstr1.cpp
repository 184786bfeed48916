#include "registers/gstr1.h"

#include "data/database.h"
#include "gst/gststates.h"
#include "platform/textnum.h"
#include "registers/csvfile.h"
#include "registers/salesregister.h"
#include "sales/invoice.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <map>
#include <tuple>

namespace zelva {

namespace {

const QDate LargeInvoiceLimitLowered(2024, 8, 1);
constexpr Paise LargeInvoiceLimitBefore = 250000 * 100;
constexpr Paise LargeInvoiceLimitFrom = 100000 * 100;

QJsonValue money(Paise paise) { return ToRupees(paise); }

// Adds part, the taxes of one rate on one invoice, to the sum kept for that rate.
void addAtRate(RateTax& sum, const RateTax& part)
{
    sum.gstRate = part.gstRate;
    sum.taxable += part.taxable;
    sum.tax += part.tax;
}

// What the invoice supplied, grouped by rate; an invoice keeps at least its
// goods.
std::vector<RateTax> figuresByRate(const SavedInvoice& invoice)
{
    std::map<double, RateTax> byRate;
    for (const TaxedBase& base : invoice.supplies())
        addAtRate(byRate[base.rate], { base.rate, base.taxable, base.tax });
    if (byRate.empty())
        return { { invoice.bases[GoodsBase].rate, 0, {} } };
    std::vector<RateTax> items;
    for (const auto& [rate, figures] : byRate)
        items.push_back(figures);
    return items;
}

// The rate, the taxable value and the taxes of the supply's kind.
void putFigures(QJsonObject& object, const RateTax& f, bool interState)
{
    object[QStringLiteral("rt")] = f.gstRate;
    object[QStringLiteral("txval")] = money(f.taxable);
    if (interState) {
        object[QStringLiteral("iamt")] = money(f.tax.igst);
    } else {
        object[QStringLiteral("camt")] = money(f.tax.cgst);
        object[QStringLiteral("samt")] = money(f.tax.sgst);
    }
    object[QStringLiteral("csamt")] = money(0);
}

QJsonArray items(const SavedInvoice& invoice, bool interState)
{
    QJsonArray list;
    for (const RateTax& f : figuresByRate(invoice)) {
        QJsonObject detail;
        putFigures(detail, f, interState);
        list.append(QJsonObject { { QStringLiteral("num"), list.size() + 1 }, { QStringLiteral("itm_det"), detail } });
    }
    return list;
}

QString invoiceDate(const SavedInvoice& invoice)
{
    return invoice.date.isValid() ? invoice.date.toString(QStringLiteral("dd-MM-yyyy")) : invoice.dateText;
}

QJsonObject invoiceEntry(const SavedInvoice& invoice)
{
    return { { QStringLiteral("inum"), invoice.number }, { QStringLiteral("idt"), invoiceDate(invoice) },
        { QStringLiteral("val"), money(invoice.total) } };
}

// Collects the month's invoices into the sections of the return.
class ReturnBuilder {
public:
    ReturnBuilder(const CompanyGst& company, QString companyGstin)
        : m_company(company)
        , m_gstin(std::move(companyGstin))
        , m_companyState(GstStateOfCode(m_gstin.left(2)))
    {
    }

    void add(const SavedInvoice& invoice);
    void add(const SavedNote& note);
    QJsonObject sections(int year, int month, const std::vector<SavedInvoice>& invoices,
        const std::vector<SavedNote>& notes) const;
    std::vector<B2csRowNotes> b2csNotes() const;
    QStringList problems;
    QStringList warnings;

private:
    const GstState* placeOfSupply(const SavedInvoice& invoice);
    bool interState(const SavedInvoice& invoice, const GstState* pos) const;
    void checkInvoice(const SavedInvoice& invoice, const GstState* pos, bool inter);

    const CompanyGst& m_company;
    QString m_gstin;
    const GstState* m_companyState;
    std::map<QString, QJsonArray> m_b2b; // by buyer GSTIN
    std::map<QString, QJsonArray> m_b2cl; // by place of supply
    std::map<std::tuple<bool, QString, double>, RateTax> m_b2cs; // inter-State?, place, rate
    std::map<std::tuple<bool, QString, double>, QStringList> m_b2csNotes; // the notes netted into each row
    std::map<QString, QJsonArray> m_cdnr; // by buyer GSTIN
    QJsonArray m_cdnur;
};

const GstState* ReturnBuilder::placeOfSupply(const SavedInvoice& invoice)
{
    if (const GstState* pos = PlaceOfSupply(invoice))
        return pos;
    if (invoice.mode == TaxMode::Cgst)
        return m_companyState; // CGST and SGST are charged within the company's own State
    problems << QStringLiteral("Invoice %1: the place of supply cannot be told, because the buyer's State \"%2\" is "
                               "not on the GST list and the buyer has no GSTIN.")
                    .arg(invoice.number, invoice.buyerState.trimmed());
    return nullptr;
}

bool ReturnBuilder::interState(const SavedInvoice& invoice, const GstState* pos) const
{
    if (invoice.mode != TaxMode::None)
        return invoice.mode == TaxMode::Igst;
    return pos != m_companyState;
}

void ReturnBuilder::checkInvoice(const SavedInvoice& invoice, const GstState* pos, bool inter)
{
    const QString& number = invoice.number;
    if (invoice.registeredBuyer()) {
        const GstinCheck check = CheckGstin(invoice.buyerGstin);
        if (!check.valid())
            warnings << QStringLiteral("Invoice %1: the buyer's GSTIN %2 looks wrong. %3")
                            .arg(number, NormalizedGstin(invoice.buyerGstin), check.problems.join(QLatin1Char(' ')));
    }
    if (inter == (pos == m_companyState))
        warnings << QStringLiteral("Invoice %1 charges %2, but its place of supply is %3.")
                        .arg(number, inter ? QStringLiteral("IGST") : QStringLiteral("CGST and SGST"),
                            PlaceOfSupplyText(*pos));
    if (!invoice.date.isValid())
        warnings
            << QStringLiteral("Invoice %1: its date \"%2\" is no day of the calendar.").arg(number, invoice.dateText);
    const QString supplier = NormalizedGstin(invoice.supplierGstin);
    if (!supplier.isEmpty() && supplier != m_gstin)
        warnings << QStringLiteral("Invoice %1 was issued under the GSTIN %2, not the company's %3.")
                        .arg(number, supplier, m_gstin);
    for (const GoodsLine& line : invoice.goods)
        if (line.hsn.isEmpty())
            warnings << QStringLiteral("Invoice %1: \"%2\" has no HSN code.").arg(number, line.description);
    for (int kind : { Others1Base, Others2Base }) {
        const TaxedBase& charge = invoice.bases[kind];
        if (charge.hsn.isEmpty() && charge.taxable != 0)
            warnings << QStringLiteral("Invoice %1: the charge \"%2\" has no SAC/HSN code.").arg(number, charge.name);
    }
}

void ReturnBuilder::add(const SavedInvoice& invoice)
{
    const GstState* pos = placeOfSupply(invoice);
    if (!pos)
        return;
    const bool inter = interState(invoice, pos);
    checkInvoice(invoice, pos, inter);
    if (invoice.registeredBuyer()) {
        QJsonObject entry = invoiceEntry(invoice);
        entry[QStringLiteral("pos")] = pos->code;
        entry[QStringLiteral("rchrg")] = QStringLiteral("N");
        entry[QStringLiteral("inv_typ")] = QStringLiteral("R");
        entry[QStringLiteral("itms")] = items(invoice, inter);
        m_b2b[NormalizedGstin(invoice.buyerGstin)].append(entry);
    } else if (inter && invoice.total > LargeInvoiceLimit(invoice.date)) {
        QJsonObject entry = invoiceEntry(invoice);
        entry[QStringLiteral("itms")] = items(invoice, true);
        m_b2cl[pos->code].append(entry);
    } else {
        for (const RateTax& f : figuresByRate(invoice))
            addAtRate(m_b2cs[{ inter, pos->code, f.gstRate }], f);
    }
}

// A note's items: one per rate its lines are taxed at, as their invoice lines were.
QJsonArray noteItems(const SavedNote& note, bool interState)
{
    QJsonArray items;
    for (const RateTax& supply : note.supplies()) {
        QJsonObject detail;
        putFigures(detail, supply, interState);
        items.append(QJsonObject { { QStringLiteral("num"), items.size() + 1 }, { QStringLiteral("itm_det"), detail } });
    }
    return items;
}

QString noteDate(const SavedNote& note)
{
    return note.date.isValid() ? note.date.toString(QStringLiteral("dd-MM-yyyy")) : note.dateText;
}

QJsonObject noteEntry(const SavedNote& note)
{
    return { { QStringLiteral("ntty"), note.credit ? QStringLiteral("C") : QStringLiteral("D") },
        { QStringLiteral("nt_num"), note.number }, { QStringLiteral("nt_dt"), noteDate(note) },
        { QStringLiteral("val"), money(note.total) } };
}

// A note goes where its invoice went: to a registered buyer into cdnr, on a
// large inter-State invoice to a buyer without GSTIN into cdnur, and on
// any other such invoice into b2cs, netted with that place's and rate's
// supplies (a credit note taken off, a debit note added).
void ReturnBuilder::add(const SavedNote& note)
{
    const GstState* pos = placeOfSupply(note.invoice);
    if (!pos)
        return;
    const bool inter = interState(note.invoice, pos);
    if (note.invoice.registeredBuyer()) {
        QJsonObject entry = noteEntry(note);
        entry[QStringLiteral("pos")] = pos->code;
        entry[QStringLiteral("rchrg")] = QStringLiteral("N");
        entry[QStringLiteral("inv_typ")] = QStringLiteral("R");
        entry[QStringLiteral("itms")] = noteItems(note, inter);
        m_cdnr[NormalizedGstin(note.invoice.buyerGstin)].append(entry);
    } else if (inter && note.invoice.total > LargeInvoiceLimit(note.invoice.date)) {
        QJsonObject entry = noteEntry(note);
        entry[QStringLiteral("typ")] = QStringLiteral("B2CL");
        entry[QStringLiteral("pos")] = pos->code;
        entry[QStringLiteral("itms")] = noteItems(note, true);
        m_cdnur.append(entry);
    } else {
        for (const RateTax& supply : note.supplies()) {
            addAtRate(m_b2cs[{ inter, pos->code, supply.gstRate }],
                { supply.gstRate, note.signedValue(supply.taxable), note.signedTax(supply.tax) });
            m_b2csNotes[{ inter, pos->code, supply.gstRate }] << note.number;
        }
    }
}

// The portal takes an HSN description of at most this many characters.
constexpr int HsnDescriptionLength = 30;

// The description cut to what the portal takes, between two whole characters
// (a letter and its marks, a pair of UTF-16 halves), never inside one.
QString portalDescription(const QString& description)
{
    if (description.size() <= HsnDescriptionLength)
        return description;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, description);
    qsizetype cut = 0;
    for (qsizetype next = characters.toNextBoundary(); next > 0 && next <= HsnDescriptionLength;
         next = characters.toNextBoundary())
        cut = next;
    return description.left(cut).trimmed();
}

// One list of the HSN summary, its rows numbered from 1.
QJsonArray hsnRows(const std::vector<SavedInvoice>& invoices, const std::vector<SavedNote>& notes)
{
    QJsonArray rows;
    for (const HsnLine& line : BuildHsnSummary(invoices, notes)) {
        rows.append(QJsonObject { { QStringLiteral("num"), rows.size() + 1 }, { QStringLiteral("hsn_sc"), line.hsn },
            { QStringLiteral("desc"), portalDescription(line.description) }, { QStringLiteral("uqc"), line.uqc },
            { QStringLiteral("qty"), RoundAmount(line.quantity, 2) }, { QStringLiteral("rt"), line.rate },
            { QStringLiteral("txval"), money(line.taxable) }, { QStringLiteral("iamt"), money(line.tax.igst) },
            { QStringLiteral("camt"), money(line.tax.cgst) }, { QStringLiteral("samt"), money(line.tax.sgst) },
            { QStringLiteral("csamt"), money(0) } });
    }
    return rows;
}

// From the return of May 2025 on, the portal takes the HSN summary in two
// lists: supplies to registered buyers (hsn_b2b) and all others (hsn_b2c).
// Earlier returns keep one list (data). The return's own month decides.
constexpr int HsnSplitFromPeriod = 2025 * 12 + 5;

QJsonObject hsnSection(
    int year, int month, const std::vector<SavedInvoice>& invoices, const std::vector<SavedNote>& notes)
{
    if (year * 12 + month < HsnSplitFromPeriod)
        return { { QStringLiteral("data"), hsnRows(invoices, notes) } };
    std::vector<SavedInvoice> registered;
    std::vector<SavedInvoice> others;
    for (const SavedInvoice& invoice : invoices)
        (invoice.registeredBuyer() ? registered : others).push_back(invoice);
    std::vector<SavedNote> registeredNotes;
    std::vector<SavedNote> otherNotes;
    for (const SavedNote& note : notes)
        (note.invoice.registeredBuyer() ? registeredNotes : otherNotes).push_back(note);
    return { { QStringLiteral("hsn_b2b"), hsnRows(registered, registeredNotes) },
        { QStringLiteral("hsn_b2c"), hsnRows(others, otherNotes) } };
}

// The range of invoice numbers issued in the month, by serial; the cancelled
// ones are counted apart and left out of the net issue.
// One kind of document (doc_num: 1 invoices, 4 debit notes, 5 credit
// notes): the range of its numbers issued in the month, by serial.
template <typename Document>
QJsonObject documentRange(int docNum, const std::vector<Document>& documents, int cancelled)
{
    const auto [first, last] = std::minmax_element(documents.begin(), documents.end(),
        [](const Document& a, const Document& b) { return a.serial < b.serial; });
    const int count = int(documents.size());
    const QJsonObject range { { QStringLiteral("num"), 1 }, { QStringLiteral("from"), first->number },
        { QStringLiteral("to"), last->number }, { QStringLiteral("totnum"), count },
        { QStringLiteral("cancel"), cancelled }, { QStringLiteral("net_issue"), count - cancelled } };
    return { { QStringLiteral("doc_num"), docNum }, { QStringLiteral("docs"), QJsonArray { range } } };
}

// The invoices, the cancelled ones counted apart and left out of the net
// issue; then the debit and the credit notes, each series on its own.
QJsonObject documentsSection(const std::vector<SavedInvoice>& invoices, const std::vector<SavedNote>& notes)
{
    QJsonArray kinds;
    if (!invoices.empty())
        kinds.append(documentRange(1, invoices, int(std::ranges::count_if(invoices, &SavedInvoice::cancelled))));
    for (const bool credit : { false, true }) {
        std::vector<SavedNote> series;
        std::ranges::copy_if(notes, std::back_inserter(series), [&](const SavedNote& n) { return n.credit == credit; });
        if (!series.empty())
            kinds.append(documentRange(credit ? 5 : 4, series, 0));
    }
    return { { QStringLiteral("doc_det"), kinds } };
}

QString supplyType(bool interState) { return interState ? QStringLiteral("INTER") : QStringLiteral("INTRA"); }

std::vector<B2csRowNotes> ReturnBuilder::b2csNotes() const
{
    std::vector<B2csRowNotes> rows;
    for (const auto& [key, notes] : m_b2csNotes) {
        const auto& [inter, pos, rate] = key;
        rows.push_back({ supplyType(inter), pos, rate, notes });
    }
    return rows;
}

QJsonObject ReturnBuilder::sections(
    int year, int month, const std::vector<SavedInvoice>& invoices, const std::vector<SavedNote>& notes) const
{
    QJsonArray b2b;
    for (const auto& [ctin, list] : m_b2b)
        b2b.append(QJsonObject { { QStringLiteral("ctin"), ctin }, { QStringLiteral("inv"), list } });
    QJsonArray b2cl;
    for (const auto& [pos, list] : m_b2cl)
        b2cl.append(QJsonObject { { QStringLiteral("pos"), pos }, { QStringLiteral("inv"), list } });
    QJsonArray b2cs;
    for (const auto& [key, figures] : m_b2cs) {
        const auto& [inter, pos, rate] = key;
        QJsonObject entry { { QStringLiteral("sply_ty"), supplyType(inter) },
            { QStringLiteral("pos"), pos }, { QStringLiteral("typ"), QStringLiteral("OE") } };
        putFigures(entry, figures, inter);
        b2cs.append(entry);
    }
    QJsonArray cdnr;
    for (const auto& [ctin, list] : m_cdnr)
        cdnr.append(QJsonObject { { QStringLiteral("ctin"), ctin }, { QStringLiteral("nt"), list } });
    return { { QStringLiteral("b2b"), b2b }, { QStringLiteral("b2cl"), b2cl }, { QStringLiteral("b2cs"), b2cs },
        { QStringLiteral("cdnr"), cdnr }, { QStringLiteral("cdnur"), m_cdnur },
        { QStringLiteral("hsn"), hsnSection(year, month, invoices, notes) },
        { QStringLiteral("doc_issue"), documentsSection(invoices, notes) } };
}

QString monthName(int year, int month) { return QDate(year, month, 1).toString(QStringLiteral("MMMM yyyy")); }

Gstr1File failed(const QString& error) { return { {}, {}, error + QStringLiteral(" No return file was written."), {}, {} }; }

} // namespace

Paise LargeInvoiceLimit(const QDate& invoiceDate)
{
    if (invoiceDate.isValid() && invoiceDate < LargeInvoiceLimitLowered)
        return LargeInvoiceLimitBefore;
    return LargeInvoiceLimitFrom;
}

Gstr1File BuildGstr1Document(const std::optional<CompanyGst>& company, int year, int month,
    const std::vector<SavedInvoice>& invoices, const std::vector<SavedNote>& notes)
{
    if (!company)
        return failed(QStringLiteral("The company details are not entered (Update Company Details)."));
    const GstinCheck check = CheckGstin(company->gstin);
    if (!check.present)
        return failed(QStringLiteral("The company has no GSTIN: a return is filed under the company's GSTIN "
                                     "(Update Company Details)."));
    if (!check.valid())
        return failed(QStringLiteral("The company's GSTIN %1 is not valid: %2 Correct it in Update Company Details.")
                          .arg(NormalizedGstin(company->gstin), check.problems.join(QLatin1Char(' '))));
    if (invoices.empty() && notes.empty())
        return failed(QStringLiteral("There is no invoice dated in %1.").arg(monthName(year, month)));

    ReturnBuilder builder(*company, NormalizedGstin(company->gstin));
    for (const SavedInvoice& invoice : invoices)
        if (!invoice.cancelled) // a cancelled invoice is only counted among the documents
            builder.add(invoice);
    for (const SavedNote& note : notes)
        builder.add(note);
    if (!builder.problems.isEmpty())
        return failed(builder.problems.join(QLatin1Char('\n')));

    QJsonObject root = builder.sections(year, month, invoices, notes);
    root[QStringLiteral("gstin")] = NormalizedGstin(company->gstin);
    root[QStringLiteral("fp")] = QStringLiteral("%1%2").arg(month, 2, 10, QLatin1Char('0')).arg(year);
    return { {}, root, {}, builder.warnings, builder.b2csNotes() };
}

Gstr1File BuildGstr1(const std::optional<CompanyGst>& company, int year, int month,
    const std::vector<SavedInvoice>& invoices, const std::vector<SavedNote>& notes)
{
    Gstr1File file = BuildGstr1Document(company, year, month, invoices, notes);
    // Compact, as the portal's own tool writes it: indenting a month of thousands
    // of invoices cost a third of the time the invoices take to read.
    if (file.ok())
        file.json = QJsonDocument(file.document).toJson(QJsonDocument::Compact);
    return file;
}

Gstr1File LoadGstr1(const Database& db, int year, int month)
{
    const Period days = MonthPeriod(year, month);
    return BuildGstr1(LoadCompany(db), year, month, LoadInvoices(db, days), LoadNotes(db, days));
}

Gstr1File SaveGstr1(const Database& db, int year, int month, const QString& path)
{
    Gstr1File file;
    try {
        file = LoadGstr1(db, year, month);
    } catch (const DataError& error) {
        return failed(error.message());
    }
    if (file.ok()) {
        const QString written = SaveFileWhole(path, file.json);
        if (!written.isEmpty())
            file.error = written + QStringLiteral(" No return file was written.");
    }
    return file;
}

} // namespace zelva
