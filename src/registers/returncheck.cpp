#include "registers/returncheck.h"

#include "data/database.h"
#include "gst/gststates.h"
#include "platform/datetext.h"
#include "registers/csvfile.h"
#include "registers/gstr1.h"
#include "registers/gstr3b.h"
#include "registers/portalfiles.h"
#include "registers/returnsums.h"
#include "sales/gstratestore.h"
#include "sales/invoiceread.h"
#include "sales/invoicestore.h"
#include "sales/salenote.h"
#include "sales/salenotestore.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <iterator>
#include <map>

namespace zelva {

namespace {

// The longest document number the portal takes.
constexpr int LongestDocumentNumber = 16;
// Days an e-way bill may still be made after its document's date.
constexpr int EwayBillDays = 180;
// Days an invoice may be reported to the invoice registration portal, for a
// company whose turnover is Rs 10 crore or more.
constexpr int EInvoiceDays = 30;
// A return is not taken three years after its due date, the 11th of the next month.
constexpr int ReturnDueDay = 11;
constexpr int ReturnYears = 3;
// The largest gap named number by number.
constexpr int NamedGapNumbers = 10;

using Type = CheckedDocument::Type;

// The files a finding is about.
constexpr PortalFiles EveryFile = PortalFileKind::Gstr1 | PortalFileKind::EInvoice | PortalFileKind::EwayBill;
constexpr PortalFiles ReturnOnly = PortalFileKind::Gstr1;
constexpr PortalFiles ReturnAndEInvoice = PortalFileKind::Gstr1 | PortalFileKind::EInvoice;
constexpr PortalFiles EInvoiceOnly = PortalFileKind::EInvoice;
constexpr PortalFiles EwayBillOnly = PortalFileKind::EwayBill;
// The PINs go into the e-invoice's buyer and delivery details and the e-way bill, not the return.
constexpr PortalFiles PinFiles = PortalFileKind::EInvoice | PortalFileKind::EwayBill;
constexpr PortalFiles NoFile = {};

// Collects the findings of one document.
class Findings {
public:
    explicit Findings(std::vector<ReturnFinding>& all, CheckedDocument document)
        : m_all(all)
        , m_document(std::move(document))
    {
    }
    void add(PortalFiles files, FindingKind kind, const QString& key, const QString& problem, const QString& action,
        const MendIn& mendIn = {})
    {
        m_all.push_back({ kind, m_document, files, key, problem, action, mendIn });
    }
    const CheckedDocument& document() const { return m_document; }

private:
    std::vector<ReturnFinding>& m_all;
    CheckedDocument m_document;
};

QString given(const QString& text)
{
    const QString trimmed = text.trimmed();
    return trimmed == QLatin1String("N.A.") ? QString() : trimmed;
}

// The ranges of the first three digits of the PINs of each State's post
// offices. From India Post's postal circles (the first two digits name the
// circle: 11 Delhi, 12-13 Haryana, 14-16 Punjab, 17 Himachal Pradesh, 18-19
// Jammu and Kashmir, 20-28 Uttar Pradesh and Uttarakhand, 30-34 Rajasthan,
// 36-39 Gujarat, 40-44 Maharashtra, 45-49 Madhya Pradesh and Chhattisgarh,
// 50-53 Telangana and Andhra Pradesh, 56-59 Karnataka, 60-64 Tamil Nadu,
// 67-69 Kerala, 70-74 West Bengal, 75-77 Odisha, 78 Assam, 79 the North East,
// 80-85 Bihar and Jharkhand), with the sorting districts of the States and
// Territories that share a circle (Uttarakhand, Chandigarh, Goa, Sikkim, the
// North-Eastern States, Puducherry, Lakshadweep, the islands, Ladakh).
struct PinRange {
    const char* code;
    int from;
    int to;
};
constexpr PinRange PinRanges[] = {
    { "01", 180, 194 }, { "02", 171, 177 }, { "03", 140, 160 }, { "04", 160, 160 }, { "05", 244, 249 },
    { "05", 262, 263 }, { "06", 121, 136 }, { "07", 110, 110 }, { "08", 301, 345 }, { "09", 201, 285 },
    { "10", 800, 855 }, { "11", 737, 737 }, { "12", 790, 792 }, { "13", 797, 798 }, { "14", 795, 795 },
    { "15", 796, 796 }, { "16", 799, 799 }, { "17", 793, 794 }, { "18", 781, 788 }, { "19", 700, 743 },
    { "20", 813, 835 }, { "21", 751, 770 }, { "22", 490, 497 }, { "23", 450, 488 }, { "24", 360, 396 },
    { "25", 362, 362 }, { "25", 396, 396 }, { "26", 362, 362 }, { "26", 396, 396 }, { "27", 400, 445 },
    { "28", 500, 535 }, { "29", 560, 591 }, { "30", 403, 403 }, { "31", 682, 682 }, { "32", 670, 695 },
    { "33", 600, 643 }, { "34", 533, 533 }, { "34", 605, 605 }, { "34", 607, 607 }, { "34", 609, 609 },
    { "34", 673, 673 }, { "35", 744, 744 }, { "36", 500, 509 }, { "37", 515, 535 }, { "38", 194, 194 },
};

bool IsPinForm(const QString& pin)
{
    static const QRegularExpression form(QStringLiteral("^[1-9][0-9]{5}$"));
    return form.match(pin).hasMatch();
}

const GstState* stateOf(const QString& typed) { return given(typed).isEmpty() ? nullptr : FindGstState(typed); }

QString taxKindText(TaxMode mode) { return mode == TaxMode::Igst ? QStringLiteral("IGST") : QStringLiteral("CGST and SGST"); }

QString stateName(const GstState* state) { return state ? PlaceOfSupplyText(*state) : QStringLiteral("none"); }

// ---- the company and the period ----

void checkCompany(const ReturnDocuments& d, std::vector<ReturnFinding>& all)
{
    Findings f(all, { Type::Company, {}, 0, d.company ? d.company->name : QString(), {} });
    const QString action = QStringLiteral("Mend it in Company Details.");
    if (!d.company) {
        f.add(EveryFile, FindingKind::Error, QStringLiteral("Company (gstin)"), QStringLiteral("No company is entered."),
            QStringLiteral("Enter the company in Company Details."));
        return;
    }
    const GstinCheck gstin = CheckGstin(d.company->gstin);
    if (!gstin.valid())
        f.add(EveryFile, FindingKind::Error, QStringLiteral("Company's GSTIN (gstin)"),
            gstin.present ? gstin.warning() : QStringLiteral("The company has no GSTIN."), action);
    if (!stateOf(d.company->state))
        f.add(EveryFile, FindingKind::Error, QStringLiteral("Company's State"),
            QStringLiteral("The company's State \"%1\" is not in the list of States.").arg(d.company->state), action);
    if (!d.aboveFiveCrore)
        f.add(ReturnAndEInvoice, FindingKind::Note, QStringLiteral("Turnover band"),
            QStringLiteral("The turnover band is not set, so the HSN codes' length is not checked."),
            QStringLiteral("Set the turnover of the previous year in Company Details."));
}

void checkPeriod(const ReturnDocuments& d, std::vector<ReturnFinding>& all)
{
    Findings f(all, { Type::Return, d.month.from.toString(QStringLiteral("MMyyyy")), 0, {}, d.month.from });
    if (d.today <= d.month.to)
        f.add(ReturnOnly, FindingKind::Warning, QStringLiteral("Return period (fp)"),
            QStringLiteral("The month has not ended yet; documents may still come."),
            QStringLiteral("Check the month again after its last day."));
    if (!d.readOnly.isEmpty())
        f.add(NoFile, FindingKind::Note, QStringLiteral("Data (read-only)"),
            QStringLiteral("The data is checked as it stands, but it cannot be changed: %1.").arg(d.readOnly),
            QStringLiteral("Mending what the check finds (a master record, a note) needs the data writable: make "
                           "the folder or file writable, or work on a copy, and check again."));
    const QDate due(d.month.to.addMonths(1).year(), d.month.to.addMonths(1).month(), ReturnDueDay);
    if (d.today > due.addYears(ReturnYears))
        f.add(ReturnOnly, FindingKind::Error, QStringLiteral("Return period (fp)"),
            QStringLiteral("The return was due on %1; the portal takes no return three years after its due date.")
                .arg(DateText(due)),
            QStringLiteral("No return can be filed for this month."));
}

// ---- document numbers ----

void checkNumberForm(Findings& f, const QString& number, const QString& key, PortalFiles files)
{
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9/-]*$"));
    const QString action = QStringLiteral("Correct the number in the series' settings; a saved document keeps its number, "
                                          "so cancel it and issue it again under a right one.");
    if (number.isEmpty()) {
        f.add(files, FindingKind::Error, key, QStringLiteral("The document has no number."), action);
        return;
    }
    if (number.size() > LongestDocumentNumber)
        f.add(files, FindingKind::Error, key,
            QStringLiteral("The number \"%1\" is %2 characters long; the portal takes at most %3.")
                .arg(number)
                .arg(number.size())
                .arg(LongestDocumentNumber),
            action);
    if (!allowed.match(number).hasMatch())
        f.add(files, FindingKind::Error, key,
            QStringLiteral("The number \"%1\" holds characters other than letters, digits, '/' and '-'.").arg(number),
            action);
    if (number.startsWith(QLatin1Char('/')) || number.startsWith(QLatin1Char('-')))
        f.add(files, FindingKind::Error, key, QStringLiteral("The number \"%1\" starts with '/' or '-'.").arg(number), action);
}

// A number split into its series (what comes before the last digits) and its serial.
struct SeriesNumber {
    QString series;
    qint64 serial = -1; // -1: the number ends in no digit
    int width = 0;
};

SeriesNumber splitNumber(const QString& number)
{
    int start = int(number.size());
    while (start > 0 && number.at(start - 1).isDigit())
        --start;
    SeriesNumber split { number.left(start).toUpper(), -1, int(number.size()) - start };
    if (split.width > 0 && split.width <= 15)
        split.serial = number.mid(start).toLongLong();
    return split;
}

// One outward document as the number checks see it.
struct NumberedDocument {
    CheckedDocument document;
    bool inMonth = false;
};

QString numberOf(const SeriesNumber& split, qint64 serial)
{
    return split.series + QStringLiteral("%1").arg(serial, split.width, 10, QLatin1Char('0'));
}

// No number twice in the financial year (the portal compares numbers without
// regard to letter case), and no gap within a series (said in the return's
// documents issued only; a twice-used number in the files too).
void checkSeries(const std::vector<NumberedDocument>& documents, const QString& key, PortalFiles files,
    std::vector<ReturnFinding>& all)
{
    std::map<int, std::vector<const NumberedDocument*>> byYear;
    for (const NumberedDocument& d : documents)
        if (d.document.date.isValid())
            byYear[FinancialYearOf(d.document.date)].push_back(&d);
    for (const auto& [year, list] : byYear) {
        QSet<QString> seen;
        std::map<QString, std::vector<std::pair<qint64, const NumberedDocument*>>> series;
        for (const NumberedDocument* d : list) {
            const QString folded = d->document.number.toUpper();
            if (seen.contains(folded) && d->inMonth)
                Findings(all, d->document)
                    .add(files, FindingKind::Error, key,
                        QStringLiteral("The number \"%1\" is used twice in the financial year %2.")
                            .arg(d->document.number, FinancialYearText(year)),
                        QStringLiteral("Cancel one of the two and issue it again under a new number."));
            seen.insert(folded);
            const SeriesNumber split = splitNumber(d->document.number);
            if (split.serial >= 0)
                series[split.series].push_back({ split.serial, d });
        }
        for (auto& [name, numbers] : series) {
            std::sort(numbers.begin(), numbers.end(),
                [](const auto& a, const auto& b) { return a.first < b.first; });
            for (std::size_t i = 1; i < numbers.size(); ++i) {
                const qint64 first = numbers[i - 1].first + 1;
                const qint64 last = numbers[i].first - 1;
                const NumberedDocument* after = numbers[i].second;
                if (last < first || !after->inMonth)
                    continue;
                const SeriesNumber split = splitNumber(after->document.number);
                QStringList missing;
                for (qint64 n = first; n <= last && missing.size() < NamedGapNumbers; ++n)
                    missing << numberOf(split, n);
                if (last - first + 1 > NamedGapNumbers)
                    missing << QStringLiteral("... %1").arg(numberOf(split, last));
                Findings(all, after->document)
                    .add(ReturnOnly, FindingKind::Warning, key,
                        QStringLiteral("The series %1 has a gap before this number: %2 missing.")
                            .arg(name.isEmpty() ? QStringLiteral("of numbers") : name, missing.join(QStringLiteral(", "))),
                        QStringLiteral("Say the missing numbers as cancelled in the documents issued (doc_issue), or "
                                       "find the documents that carry them."));
            }
        }
    }
}

// ---- invoices ----

CheckedDocument invoiceDocument(const Invoice& invoice)
{
    return { Type::Invoice, invoice.number, invoice.serial, invoice.buyer.name, invoice.date };
}

bool inMonth(const ReturnDocuments& d, const QDate& day) { return day.isValid() && d.month.contains(day); }

const GstState* placeOfSupply(const Invoice& invoice)
{
    if (const GstState* state = stateOf(invoice.buyer.state))
        return state;
    const QString gstin = NormalizedGstin(given(invoice.buyer.gstin));
    return gstin.size() >= 2 ? GstStateOfCode(gstin.left(2)) : nullptr;
}

// A GSTIN's form: the State's two digits, the PAN (five letters, four digits,
// a letter), the registration's number, a letter ("Z") and the check character.
QString gstinFormIn(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("\\b[0-9]{2}[A-Z]{5}[0-9]{4}[A-Z][1-9A-Z][A-Z][0-9A-Z]\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return form.match(text).captured();
}

// A buyer's finding is mended in Buyer Details, at the invoice's buyer.
MendIn buyerRecord(const Invoice& invoice) { return { MendIn::Master::Buyer, invoice.buyerCode }; }

// A buyer without GSTIN whose details carry one was likely registered: the
// return would report a B2B sale as a sale to an unregistered buyer.
void checkGstinInDetails(const Invoice& invoice, const QString& key, Findings& f)
{
    const InvoiceParty& buyer = invoice.buyer;
    const std::pair<QString, QString> boxes[] = { { QStringLiteral("name"), buyer.name },
        { QStringLiteral("address"), buyer.address }, { QStringLiteral("district"), buyer.dist },
        { QStringLiteral("State"), buyer.state }, { QStringLiteral("PIN"), buyer.pin } };
    for (const auto& [box, text] : boxes)
        if (const QString found = gstinFormIn(text); !found.isEmpty())
            f.add(EveryFile, FindingKind::Error, key,
                QStringLiteral("Invoice %1 is to a buyer without GSTIN, but the buyer's %2 holds \"%3\", which has the "
                               "form of a GSTIN.")
                    .arg(invoice.number, box, found),
                QStringLiteral("If the buyer is registered, enter the GSTIN in Buyer Details, then issue a credit note "
                               "for invoice %1 and a new invoice; else take it out of the buyer's %2.")
                    .arg(invoice.number, box), buyerRecord(invoice));
}

void checkBuyerGstin(const ReturnDocuments& d, const Invoice& invoice, Findings& f)
{
    const QString key = QStringLiteral("Buyer's GSTIN (ctin)");
    const QString action = QStringLiteral("Mend the buyer's GSTIN in Buyer Details, then issue a credit note and a new invoice.");
    if (IsNoGstin(invoice.buyer.gstin)) {
        checkGstinInDetails(invoice, key, f);
        return;
    }
    const GstinCheck check = CheckGstin(invoice.buyer.gstin);
    if (!check.valid()) {
        f.add(EveryFile, FindingKind::Error, key, check.warning(), action, buyerRecord(invoice));
        return;
    }
    const QString gstin = NormalizedGstin(invoice.buyer.gstin);
    const GstState* state = stateOf(invoice.buyer.state);
    if (state && gstin.left(2) != state->code)
        f.add(EveryFile, FindingKind::Error, key,
            QStringLiteral("The GSTIN %1 is registered in %2, but the buyer's State is %3.")
                .arg(gstin, stateName(GstStateOfCode(gstin.left(2))), stateName(state)),
            action, buyerRecord(invoice));
    if (d.company && gstin == NormalizedGstin(d.company->gstin))
        f.add(EveryFile, FindingKind::Error, key, QStringLiteral("The buyer's GSTIN %1 is the company's own.").arg(gstin), action,
            buyerRecord(invoice));
}

void checkPlaceOfSupply(const ReturnDocuments& d, const Invoice& invoice, Findings& f)
{
    const GstState* place = placeOfSupply(invoice);
    // A buyer without GSTIN and State charged CGST and SGST is reported in the company's State.
    const bool localWithoutState = given(invoice.buyer.state).isEmpty() && IsNoGstin(invoice.buyer.gstin)
        && invoice.mode == TaxMode::Cgst;
    if (localWithoutState)
        return;
    if (!place || !stateOf(invoice.buyer.state)) {
        f.add(EveryFile, FindingKind::Error, QStringLiteral("Place of supply (pos)"),
            QStringLiteral("The buyer's State \"%1\" is not in the list of States.").arg(invoice.buyer.state),
            QStringLiteral("Mend the buyer's State in Buyer Details."), buyerRecord(invoice));
        if (!place)
            return;
    }
    const GstState* own = d.company ? stateOf(d.company->state) : nullptr;
    if (!own || invoice.mode == TaxMode::None)
        return;
    const TaxMode expected = own->code == place->code ? TaxMode::Cgst : TaxMode::Igst;
    if (invoice.mode != expected)
        f.add(EveryFile, FindingKind::Error, QStringLiteral("Tax kind (iamt, camt, samt)"),
            QStringLiteral("The place of supply %1 against the company's State %2 asks for %3, but the invoice charges %4.")
                .arg(stateName(place), stateName(own), taxKindText(expected), taxKindText(invoice.mode)),
            QStringLiteral("Issue a credit note for the invoice and a new invoice with the right tax."));
}

void checkPin(const InvoiceParty& party, const QString& key, bool onEwayBill, const MendIn& mendIn, Findings& f)
{
    const QString pin = given(party.pin);
    const FindingKind kind = onEwayBill ? FindingKind::Error : FindingKind::Warning;
    const QString action = QStringLiteral("Mend the PIN in Buyer Details.");
    if (pin.isEmpty()) {
        if (onEwayBill)
            f.add(PinFiles, kind, key, QStringLiteral("No PIN is given; the e-way bill needs one."), action, mendIn);
        return;
    }
    if (!IsPinForm(pin)) {
        f.add(PinFiles, kind, key, QStringLiteral("The PIN \"%1\" is not six digits that do not start with 0.").arg(pin), action, mendIn);
        return;
    }
    const GstState* state = stateOf(party.state);
    if (state && !PinWithinState(pin, state->code))
        f.add(PinFiles, kind, key, QStringLiteral("The PIN %1 is not one of %2's.").arg(pin, state->name), action, mendIn);
}

void checkHsn(const ReturnDocuments& d, const Invoice& invoice, Findings& f)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const bool onEwayBill = invoice.transport.has_value();
    const QString action = QStringLiteral("Mend the item's HSN code in Stock Item Details; the return's HSN summary "
                                          "takes the right code.");
    for (std::size_t i = 0; i < invoice.lines.size(); ++i) {
        const InvoiceLine& line = invoice.lines[i];
        const QString key = QStringLiteral("HSN (hsn_sc), line %1").arg(i + 1);
        const QString hsn = given(line.hsn);
        const MendIn item { MendIn::Master::StockItem, line.description.trimmed() };
        if (hsn.isEmpty()) {
            f.add(EveryFile, FindingKind::Error, key, QStringLiteral("\"%1\" has no HSN code.").arg(line.description), action, item);
            continue;
        }
        if (!digits.match(hsn).hasMatch() || (hsn.size() != 4 && hsn.size() != 6 && hsn.size() != 8)) {
            f.add(EveryFile, FindingKind::Error, key,
                QStringLiteral("The HSN code \"%1\" is not 4, 6 or 8 digits.").arg(hsn), action, item);
            continue;
        }
        if (d.aboveFiveCrore) {
            const QString problem = HsnLengthProblem(hsn, *d.aboveFiveCrore);
            if (!problem.isEmpty())
                f.add(ReturnAndEInvoice, FindingKind::Error, key, problem, action, item);
        }
        if (onEwayBill && hsn.startsWith(QLatin1String("99")))
            f.add(EwayBillOnly, FindingKind::Error, QStringLiteral("HSN (hsnCd), line %1").arg(i + 1),
                QStringLiteral("The service code %1 is on goods that travel on the e-way bill.").arg(hsn), action, item);
    }
}

void checkChargeCodes(const Invoice& invoice, Findings& f)
{
    for (const GridLine& charge : invoice.charges)
        if (charge.amount != 0 && given(charge.hsn).isEmpty())
            f.add(EveryFile, FindingKind::Error, QStringLiteral("HSN (hsn_sc), %1").arg(charge.description),
                QStringLiteral("The charge \"%1\" has no SAC/HSN code.").arg(charge.description),
                QStringLiteral("Give the charge its SAC code (9965 for goods transport, 9985 for packing)."));
}

void checkSeller(const ReturnDocuments& d, const Invoice& invoice, Findings& f)
{
    const QString seller = NormalizedGstin(given(invoice.seller.gstin));
    if (d.company && !seller.isEmpty() && seller != NormalizedGstin(d.company->gstin))
        f.add(EveryFile, FindingKind::Warning, QStringLiteral("Seller's GSTIN (gstin)"),
            QStringLiteral("The invoice was issued under the GSTIN %1, not the company's %2.")
                .arg(seller, NormalizedGstin(d.company->gstin)),
            QStringLiteral("If the company's GSTIN changed, file this invoice in the return of that GSTIN."));
}

void checkRate(const ReturnDocuments& d, const QDate& day, std::optional<double> rate, const QString& key, Findings& f)
{
    if (!rate || !day.isValid())
        return;
    if (!PortalAcceptsRate(*rate))
        f.add(EveryFile, FindingKind::Error, key, QStringLiteral("The portal takes no rate of %1%.").arg(RateText(*rate)),
            QStringLiteral("Issue a credit note for the invoice and a new invoice at the rate in force."));
    else if (!RateInForce(d.rates, *rate, day))
        f.add(EveryFile, FindingKind::Error, key,
            QStringLiteral("The rate of %1% is not in force on %2.").arg(RateText(*rate), DateText(day)),
            QStringLiteral("Issue a credit note for the invoice and a new invoice at the rate in force; "
                           "mend the item's rate in Stock Item Details."));
}

void checkRates(const ReturnDocuments& d, const Invoice& invoice, const QDate& day, Findings& f)
{
    for (std::size_t i = 0; i < invoice.lines.size(); ++i)
        if (invoice.lines[i].amount != 0)
            checkRate(d, day, LineGstRate(invoice, invoice.lines[i]), QStringLiteral("Rate (rt), line %1").arg(i + 1), f);
    for (int charge = 0; charge < 2; ++charge)
        if (invoice.charges[std::size_t(charge)].amount != 0)
            checkRate(d, day, invoice.taxes[std::size_t(TaxOnOthers1 + charge)].rate,
                QStringLiteral("Rate (rt), %1").arg(invoice.charges[std::size_t(charge)].description), f);
}

void checkTablesAndTimes(const ReturnDocuments& d, const Invoice& invoice, const QDate& day, Findings& f)
{
    const GstState* place = placeOfSupply(invoice);
    const GstState* own = d.company ? stateOf(d.company->state) : nullptr;
    const bool registered = !IsNoGstin(invoice.buyer.gstin);
    if (!registered && place && own && place->code != own->code && invoice.totals.grand > LargeInvoiceLimit(day))
        f.add(ReturnOnly, FindingKind::Note, QStringLiteral("Table (b2cl)"),
            QStringLiteral("An inter-State invoice above Rs %1 to a buyer without GSTIN: reported on its own in b2cl.")
                .arg(ShownAmountText(LargeInvoiceLimit(day), true)),
            QStringLiteral("Nothing to do."));
    const bool ewayBillMade = invoice.registration && !invoice.registration->ewbNo.isEmpty();
    if (invoice.transport && !ewayBillMade && day.daysTo(d.today) > EwayBillDays)
        f.add(EwayBillOnly, FindingKind::Error, QStringLiteral("E-way bill (docDate)"),
            QStringLiteral("The invoice is more than %1 days old; the portal makes no e-way bill for it.").arg(EwayBillDays),
            QStringLiteral("Move the goods on a new invoice (after a credit note for this one)."));
    if (registered && !invoice.registration && d.aboveFiveCrore.value_or(false) && day.daysTo(d.today) > EInvoiceDays)
        f.add(EInvoiceOnly, FindingKind::Warning, QStringLiteral("E-invoice (DocDtls.Dt)"),
            QStringLiteral("The invoice is not registered and is more than %1 days old; with a turnover of Rs 10 crore "
                           "or more the portal refuses it.")
                .arg(EInvoiceDays),
            QStringLiteral("If the turnover is below Rs 10 crore, nothing to do; else issue the invoice again."));
}

void checkInvoice(const ReturnDocuments& d, const Invoice& invoice, std::vector<ReturnFinding>& all)
{
    Findings f(all, invoiceDocument(invoice));
    checkNumberForm(f, invoice.number, QStringLiteral("Invoice number (inum)"), EveryFile);
    if (invoice.cancelled())
        return;
    const QDate day = f.document().date;
    checkSeller(d, invoice, f);
    checkBuyerGstin(d, invoice, f);
    checkPlaceOfSupply(d, invoice, f);
    const bool onEwayBill = invoice.transport.has_value();
    checkPin(invoice.buyer, QStringLiteral("Buyer's PIN (toPincode)"), onEwayBill, buyerRecord(invoice), f);
    if (!given(invoice.delivery.name).isEmpty() && given(invoice.delivery.pin) != given(invoice.buyer.pin))
        checkPin(invoice.delivery, QStringLiteral("Delivery PIN (toPincode)"), onEwayBill, {}, f);
    checkHsn(d, invoice, f);
    checkChargeCodes(invoice, f);
    checkRates(d, invoice, day, f);
    checkTablesAndTimes(d, invoice, day, f);
}

// ---- notes ----

CheckedDocument noteDocument(const SavedNote& note)
{
    return { note.credit ? Type::CreditNote : Type::DebitNote, note.number, note.serial, note.invoice.buyerName, note.date };
}

void checkNote(const ReturnDocuments& d, const SavedNote& note, const QSet<QString>& invoiceNumbers,
    std::vector<ReturnFinding>& all)
{
    Findings f(all, noteDocument(note));
    checkNumberForm(f, note.number, QStringLiteral("Note number (nt_num)"), ReturnAndEInvoice);
    if (!invoiceNumbers.contains(note.invoice.number.toUpper())) {
        f.add(ReturnAndEInvoice, FindingKind::Error, QStringLiteral("Invoice (inum)"),
            QStringLiteral("Its invoice %1 is not in the books.").arg(note.invoice.number),
            QStringLiteral("Issue the note again against an invoice that is in the books."));
        return;
    }
    const QDate invoiceDay = note.invoice.date;
    if (!invoiceDay.isValid() || !note.date.isValid())
        return;
    if (note.date < invoiceDay)
        f.add(ReturnAndEInvoice, FindingKind::Error, QStringLiteral("Note date (nt_dt)"),
            QStringLiteral("The note is dated before its invoice (%1).").arg(DateText(invoiceDay)),
            QStringLiteral("Issue the note again with a date on or after its invoice's."));
    const QDate lastDay = LastCreditNoteDay(invoiceDay);
    if (note.credit && note.date > lastDay)
        f.add(ReturnAndEInvoice, FindingKind::Error, QStringLiteral("Note date (nt_dt)"),
            QStringLiteral("A credit note on an invoice of %1 may be declared up to %2 only.")
                .arg(FinancialYearText(FinancialYearOf(invoiceDay)), DateText(lastDay)),
            QStringLiteral("Settle it with the buyer without a credit note in the return."));
    (void)d;
}

// ---- bills ----

void checkBill(const ReturnDocuments& d, const PurchaseBill& bill, std::vector<ReturnFinding>& all)
{
    Findings f(all, { Type::Bill, bill.number, bill.serial, bill.supplierName, bill.date });
    if (!bill.withTax || IsNoGstin(bill.supplierGstin))
        return;
    const QString key = QStringLiteral("Supplier's GSTIN (ctin)");
    const QString action = QStringLiteral("Mend the supplier's GSTIN in Supplier Details; until the bill's GSTIN is "
                                          "right its credit does not match the supplier's 2B.");
    const MendIn supplier { MendIn::Master::Supplier, bill.supplierName };
    const GstinCheck check = CheckGstin(bill.supplierGstin);
    if (!check.valid())
        f.add(NoFile, FindingKind::Warning, key, check.warning(), action, supplier);
    else if (const GstState* state = stateOf(bill.supplierState);
             state && NormalizedGstin(bill.supplierGstin).left(2) != state->code)
        f.add(NoFile, FindingKind::Warning, key,
            QStringLiteral("The GSTIN is registered in %1, but the supplier's State is %2.")
                .arg(stateName(GstStateOfCode(NormalizedGstin(bill.supplierGstin).left(2))), stateName(state)),
            action, supplier);
    for (std::size_t i = 0; i < bill.lines.size(); ++i)
        if (bill.lines[i].taxable != 0 && bill.date.isValid() && !RateInForce(d.rates, bill.lines[i].gstRate, bill.date))
            f.add(NoFile, FindingKind::Warning, QStringLiteral("Rate (rt), line %1").arg(i + 1),
                QStringLiteral("The rate of %1% is not in force on %2.").arg(RateText(bill.lines[i].gstRate), DateText(bill.date)),
                QStringLiteral("Ask the supplier for a note correcting the rate."));
}

// ---- the files ----

// The file's refusals of a missing company or GSTIN and of a month without
// invoices are said above, of the company and the return.
void checkGstr1(const ReturnDocuments& d, bool monthHasInvoices, std::vector<ReturnFinding>& all)
{
    Findings f(all, { Type::File, QStringLiteral("GSTR-1"), 0, {}, d.month.from });
    const bool companyValid = d.company && CheckGstin(d.company->gstin).valid();
    if (!d.gstr1Error.isEmpty() && companyValid && monthHasInvoices)
        f.add(ReturnOnly, FindingKind::Error, QStringLiteral("GSTR-1"), d.gstr1Error, QStringLiteral("Mend what it names."));
    if (d.gstr1)
        CheckGstr1Sums(d, *d.gstr1, all);
}

// The e-invoice of an invoice to a registered buyer and the e-way bill of
// one that travels, as their writers would make them.
void checkInvoiceFiles(const Invoice& invoice, std::vector<ReturnFinding>& all)
{
    if (invoice.cancelled())
        return;
    const CheckedDocument document = invoiceDocument(invoice);
    if (!IsNoGstin(invoice.buyer.gstin))
        CheckEInvoiceSums(document, EInvoiceFigures(invoice), InvoiceValues(invoice), all);
    if (invoice.transport)
        CheckEwayBillSums(document, EwayBillFigures(invoice), invoice.totals.grand, all);
}

void checkNoteFiles(const ReturnDocuments& d, const QHash<QString, const Invoice*>& invoices, std::vector<ReturnFinding>& all)
{
    for (const SaleNote& note : d.saleNotes) {
        const Invoice* original = invoices.value(note.invoiceNumber.toUpper());
        if (original && !IsNoGstin(original->buyer.gstin) && inMonth(d, note.date))
            CheckEInvoiceSums(CheckedSaleNote(note), NoteEInvoiceFigures(note, *original), NoteValues(note), all);
    }
}

} // namespace

QString FindingKindText(FindingKind kind)
{
    switch (kind) {
    case FindingKind::Error:
        return QStringLiteral("Error");
    case FindingKind::Warning:
        return QStringLiteral("Warning");
    case FindingKind::Note:
        return QStringLiteral("Note");
    }
    return {};
}

QString CheckedDocument::text() const
{
    const QString day = DateText(date);
    switch (type) {
    case Type::Company:
        return QStringLiteral("Company %1").arg(party).trimmed();
    case Type::Return:
        return QStringLiteral("Return of %1").arg(number);
    case Type::Invoice:
        return QStringLiteral("Invoice %1 of %2").arg(number, day);
    case Type::CreditNote:
        return QStringLiteral("Credit note %1 of %2").arg(number, day);
    case Type::DebitNote:
        return QStringLiteral("Debit note %1 of %2").arg(number, day);
    case Type::Bill:
        return QStringLiteral("Bill %1 of %2").arg(number, party);
    case Type::File:
        return QStringLiteral("%1 file").arg(number);
    }
    return {};
}

bool PinWithinState(const QString& pin, const QString& stateCode)
{
    bool known = false;
    const int district = pin.left(3).toInt();
    for (const PinRange& range : PinRanges) {
        if (stateCode != QLatin1String(range.code))
            continue;
        known = true;
        if (district >= range.from && district <= range.to)
            return true;
    }
    return !known;
}

std::vector<ReturnFinding> CheckReturn(const ReturnDocuments& d)
{
    std::vector<ReturnFinding> all;
    checkCompany(d, all);
    checkPeriod(d, all);
    const int year = FinancialYearOf(d.month.from);
    std::vector<NumberedDocument> invoiceNumbers;
    QSet<QString> inBooks;
    QHash<QString, const Invoice*> byNumber;
    std::vector<const Invoice*> ofMonth;
    for (const Invoice& invoice : d.invoices) {
        inBooks.insert(invoice.number.toUpper());
        byNumber.insert(invoice.number.toUpper(), &invoice);
        const CheckedDocument document = invoiceDocument(invoice);
        if (!document.date.isValid() || FinancialYearOf(document.date) != year || document.date > d.month.to)
            continue;
        invoiceNumbers.push_back({ document, inMonth(d, document.date) });
        if (inMonth(d, document.date))
            ofMonth.push_back(&invoice);
    }
    std::vector<NumberedDocument> creditNotes;
    std::vector<NumberedDocument> debitNotes;
    std::vector<const SavedNote*> notesOfMonth;
    for (const SavedNote& note : d.notes) {
        const CheckedDocument document = noteDocument(note);
        (note.credit ? creditNotes : debitNotes).push_back({ document, inMonth(d, note.date) });
        if (inMonth(d, note.date))
            notesOfMonth.push_back(&note);
    }
    const qsizetype before = qsizetype(all.size());
    for (const Invoice* invoice : ofMonth) {
        checkInvoice(d, *invoice, all);
        checkInvoiceFiles(*invoice, all);
    }
    checkSeries(invoiceNumbers, QStringLiteral("Invoice number (inum)"), EveryFile, all);
    for (const SavedNote* note : notesOfMonth)
        checkNote(d, *note, inBooks, all);
    checkNoteFiles(d, byNumber, all);
    checkSeries(creditNotes, QStringLiteral("Note number (nt_num)"), ReturnAndEInvoice, all);
    checkSeries(debitNotes, QStringLiteral("Note number (nt_num)"), ReturnAndEInvoice, all);
    int bills = 0;
    for (const PurchaseBill& bill : d.bills)
        if (inMonth(d, bill.date)) {
            checkBill(d, bill, all);
            ++bills;
        }
    checkGstr1(d, !ofMonth.empty(), all);
    if (ofMonth.empty() && notesOfMonth.empty() && bills == 0)
        Findings(all, { Type::Return, d.month.from.toString(QStringLiteral("MMyyyy")), 0, {}, d.month.from })
            .add(ReturnOnly, FindingKind::Note, QStringLiteral("Return period (fp)"),
                QStringLiteral("The month has no invoices, notes or bills."),
                QStringLiteral("File a nil return, or check the month asked for."));
    // A document's findings together, in the order the documents came.
    std::stable_sort(all.begin() + before, all.end(), [](const ReturnFinding& a, const ReturnFinding& b) {
        if (a.document.type != b.document.type)
            return a.document.type < b.document.type;
        if (a.document.date != b.document.date)
            return a.document.date < b.document.date;
        return a.document.serial < b.document.serial;
    });
    return all;
}

namespace {

// The financial year's months up to the month's end: its documents' numbers
// make up the series, and the month's are checked in full.
Period yearToMonth(const Period& month) { return { FinancialYear(FinancialYearOf(month.from)).from, month.to }; }

// Whether a document read with the year lies in the month: its date text read
// the way the files compare dates, as a read of the month alone selects it.
bool keptInMonth(const QString& dateText, const Period& month)
{
    const QDate day = ReadKeptDate(dateText);
    return day.isValid() && day >= month.from && day <= month.to;
}

template <typename Document>
void inSerialOrder(std::vector<Document>& documents)
{
    std::stable_sort(documents.begin(), documents.end(),
        [](const Document& a, const Document& b) { return a.serial < b.serial; });
}

// The invoices the notes correct that are not among those read: any invoice
// in the books, whatever its date, read in one go.
std::vector<Invoice> notesInvoices(Database& db, const std::vector<Invoice>& read, const std::vector<SavedNote>& notes)
{
    QSet<QString> have;
    for (const Invoice& invoice : read)
        have.insert(invoice.number.toUpper());
    QStringList missing;
    for (const SavedNote& note : notes)
        if (const QString number = note.invoice.number.toUpper(); !have.contains(number)) {
            have.insert(number);
            missing << number;
        }
    return missing.isEmpty() ? std::vector<Invoice> {} : LoadInvoicesNumbered(db, missing);
}

// The month's notes on invoices to registered buyers as their e-invoices are
// made from them: each note as LoadSaleNote reads it.
std::vector<SaleNote> saleNotesOf(Database& db, const std::vector<SavedNote>& notes)
{
    std::vector<SaleNote> documents;
    for (const SavedNote& note : notes)
        if (note.invoice.registeredBuyer())
            if (std::optional<SaleNote> document = LoadSaleNote(db, note.number))
                documents.push_back(std::move(*document));
    return documents;
}

} // namespace

// Each period's rows are read once: the financial year's invoices and notes
// up to the month's end (the month's checked in full, and what the GSTR-1
// file and the GSTR-3B worksheet are made from; the rest for their series),
// and the invoices of the notes from any time.
ReturnDocuments LoadReturnDocuments(Database& db, const Period& month, const QDate& today)
{
    ReturnDocuments d;
    d.month = month;
    d.today = today;
    for (DbFile file : AllDbFiles())
        if (const QString reason = db.readOnlyReason(file); !reason.isEmpty() && d.readOnly.isEmpty())
            d.readOnly = QStringLiteral("%1: %2").arg(RelativePath(file), reason);
    d.company = LoadCompany(db);
    d.aboveFiveCrore = LoadFirstCompanyAboveFiveCrore(db);
    d.rates = LoadGstRates(db);
    QStringList dates;
    d.invoices = LoadInvoicesOfPeriod(db, yearToMonth(month), &dates);
    std::vector<SavedInvoice> saved; // the month's, as LoadInvoices reads them
    for (std::size_t i = 0; i < d.invoices.size(); ++i)
        if (keptInMonth(dates[qsizetype(i)], month))
            saved.push_back(SavedInvoiceOf(d.invoices[i], dates[qsizetype(i)]));
    d.notes = LoadNotes(db, yearToMonth(month));
    std::vector<SavedNote> notes; // the month's, as LoadNotes reads them
    std::copy_if(d.notes.begin(), d.notes.end(), std::back_inserter(notes),
        [&](const SavedNote& note) { return keptInMonth(note.dateText, month); });
    if (std::vector<Invoice> more = notesInvoices(db, d.invoices, d.notes); !more.empty()) {
        std::move(more.begin(), more.end(), std::back_inserter(d.invoices));
        inSerialOrder(d.invoices);
    }
    CompleteInvoices(db, d.invoices);
    d.bills = LoadPurchaseBills(db, month.from, month.to);
    // The month's GSTR-1 file and GSTR-3B worksheet as their writers make
    // them (LoadGstr1, LoadGstr3b), from the one read of the month.
    const int year = month.from.year();
    const Gstr1File gstr1 = BuildGstr1Document(d.company, year, month.from.month(), saved, notes);
    // The file's own warnings are the checks above, said per document.
    d.gstr1Error = gstr1.error;
    if (gstr1.ok())
        d.gstr1 = gstr1.document;
    d.b2csNotes = gstr1.b2csNotes;
    const Gstr3b worksheet = BuildGstr3b(year, month.from.month(), saved, {}, notes);
    const Gstr3bFigure* taxable = worksheet.row(QStringLiteral("3.1(a)"));
    const Gstr3bFigure* nilRated = worksheet.row(QStringLiteral("3.1(c)"));
    d.gstr3b = OutwardTable { taxable->taxable, taxable->tax, nilRated->taxable };
    d.saleNotes = saleNotesOf(db, notes);
    return d;
}

std::vector<ReturnFinding> CheckReturnMonth(Database& db, const Period& month, const QDate& today)
{
    return CheckReturn(LoadReturnDocuments(db, month, today));
}

CheckedDocument CheckedInvoice(const Invoice& invoice) { return invoiceDocument(invoice); }

CheckedDocument CheckedSaleNote(const SaleNote& note)
{
    return { note.kind == NoteKind::Credit ? Type::CreditNote : Type::DebitNote, note.number, note.serial,
        note.buyer.name, note.date };
}

namespace {

bool sameDocument(const CheckedDocument& a, const CheckedDocument& b)
{
    return a.type == b.type && a.number.compare(b.number, Qt::CaseInsensitive) == 0;
}

bool goesIntoFile(const ReturnFinding& finding, PortalFileKind file, const std::vector<CheckedDocument>& documents)
{
    if (!finding.files.testFlag(file))
        return false;
    if (file == PortalFileKind::Gstr1 || finding.document.type == Type::Company)
        return true;
    return std::any_of(documents.begin(), documents.end(),
        [&](const CheckedDocument& document) { return sameDocument(document, finding.document); });
}

} // namespace

std::vector<ReturnFinding> FindingsForFile(
    const std::vector<ReturnFinding>& findings, PortalFileKind file, const std::vector<CheckedDocument>& documents)
{
    std::vector<ReturnFinding> picked;
    std::copy_if(findings.begin(), findings.end(), std::back_inserter(picked),
        [&](const ReturnFinding& finding) { return goesIntoFile(finding, file, documents); });
    return picked;
}

std::vector<ReturnFinding> CheckInvoiceFile(
    Database& db, PortalFileKind file, const std::vector<CheckedDocument>& documents, const QDate& today)
{
    std::map<QDate, Period> months;
    for (const CheckedDocument& document : documents)
        if (document.date.isValid()) {
            const Period month = MonthPeriod(document.date.year(), document.date.month());
            months.emplace(month.from, month);
        }
    std::vector<ReturnFinding> findings;
    for (const auto& [first, month] : months) {
        const std::vector<ReturnFinding> ofMonth = FindingsForFile(CheckReturnMonth(db, month, today), file, documents);
        // The company's findings once, however many months the documents span.
        for (const ReturnFinding& finding : ofMonth)
            if (finding.document.type != Type::Company || first == months.begin()->first)
                findings.push_back(finding);
    }
    return findings;
}

bool HasErrors(const std::vector<ReturnFinding>& findings)
{
    return std::any_of(findings.begin(), findings.end(), [](const ReturnFinding& f) { return f.kind == FindingKind::Error; });
}

QString FindingCounts(const std::vector<ReturnFinding>& findings)
{
    const auto count = [&](FindingKind kind) {
        return std::count_if(findings.begin(), findings.end(), [kind](const ReturnFinding& f) { return f.kind == kind; });
    };
    const auto words = [](qsizetype n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    return QStringLiteral("%1, %2, %3")
        .arg(words(count(FindingKind::Error), "error", "errors"), words(count(FindingKind::Warning), "warning", "warnings"),
            words(count(FindingKind::Note), "note", "notes"));
}

QStringList FindingCaptions()
{
    return { QStringLiteral("Kind"), QStringLiteral("Document"), QStringLiteral("Box or key"), QStringLiteral("Problem"),
        QStringLiteral("What to do") };
}

namespace {
QStringList cellsOf(const ReturnFinding& finding)
{
    return { FindingKindText(finding.kind), finding.document.text(), finding.key, finding.problem, finding.action };
}
} // namespace

QString FindingLine(const ReturnFinding& finding) { return cellsOf(finding).join(QStringLiteral(" | ")); }

QString FindingsCsv(const std::vector<ReturnFinding>& findings)
{
    QString text = CsvLine(FindingCaptions());
    for (const ReturnFinding& finding : findings)
        text += CsvLine(cellsOf(finding));
    return text;
}

std::optional<Period> ReadReturnMonth(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(0[1-9]|1[0-2])([0-9]{4})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch() || match.captured(2).toInt() < 2017)
        return std::nullopt;
    return MonthPeriod(match.captured(2).toInt(), match.captured(1).toInt());
}

} // namespace zelva
