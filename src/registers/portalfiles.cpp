#include "registers/portalfiles.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "gst/gststates.h"
#include "platform/datetext.h"
#include "registers/csvfile.h"
#include "registers/uqc.h"
#include "sales/companypayment.h"
#include "sales/invoicestore.h"
#include "sales/salenotestore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSqlQuery>
#include <cmath>

namespace zelva {

namespace {

using namespace invoicegrid;

constexpr int LongestAddressLine = 100;
const QString NotGiven = QStringLiteral("N.A.");

QJsonValue money(Paise paise) { return ToRupees(paise); }
double rounded(double value, int decimals) { return std::round(value * std::pow(10, decimals)) / std::pow(10, decimals); }

QString given(const QString& text)
{
    const QString trimmed = text.trimmed();
    return trimmed == NotGiven ? QString() : trimmed;
}

double wholeRate(const Invoice& invoice, TaxBase base)
{
    const ChargedTax& tax = invoice.taxes[base];
    return tax.rated() && invoice.mode != TaxMode::None ? *tax.rate : 0;
}

// A charge's tax rows as heads. An invoice without a tax mode has its charge's
// first row carried as CGST, as its items always carried it.
TaxHeads chargeTax(const Invoice& invoice, TaxBase base)
{
    if (invoice.mode == TaxMode::None)
        return {0, invoice.taxes[base].first.amount, 0, 0};
    return invoice.taxRows(base);
}

std::vector<FileItem> supplyItems(const Invoice& invoice)
{
    std::vector<FileItem> items;
    for (const InvoiceLine& line : invoice.lines) {
        FileItem item;
        item.name = line.description.trimmed();
        item.hsn = given(line.hsn);
        item.service = IsServiceCode(item.hsn);
        item.quantity = line.quantity;
        item.unitCode = item.service ? ServiceQuantityCode() : UnitQuantityCode(line.unit);
        item.unitPrice = line.rate;
        item.gross = line.amount;
        item.discount = line.discount;
        item.taxable = line.taxable();
        item.gstRate = invoice.mode != TaxMode::None ? LineGstRate(invoice, line).value_or(0) : 0;
        item.tax = LineTaxHeads(invoice, line);
        items.push_back(item);
    }
    for (TaxBase base : {TaxOnOthers1, TaxOnOthers2}) {
        const GridLine& charge = invoice.charges[base - TaxOnOthers1];
        const ChargedTax& tax = invoice.taxes[base];
        if (charge.amount == 0 && tax.first.amount == 0 && tax.second.amount == 0)
            continue;
        FileItem item;
        item.name = given(charge.description);
        item.hsn = given(charge.hsn);
        item.service = IsServiceCode(item.hsn);
        item.quantity = 1;
        item.unitCode = QStringLiteral("OTH"); // a charge has no unit of its own
        item.unitPrice = ToRupees(charge.amount);
        item.gross = item.taxable = charge.amount;
        item.gstRate = wholeRate(invoice, base);
        item.tax = chargeTax(invoice, base);
        items.push_back(item);
    }
    return items;
}

// The document's items, and its values added up from them.
FileFigures figuresOf(const Invoice& invoice)
{
    FileFigures v;
    v.items = supplyItems(invoice);
    for (const FileItem& item : v.items) {
        v.taxable += item.taxable;
        v.tax += item.tax;
    }
    v.rounding = invoice.rounding.amount;
    v.total = v.taxable + v.tax.total() + v.rounding;
    v.interState = invoice.mode == TaxMode::Igst;
    return v;
}

// A party's address as the portals take it: the first line, and the rest.
std::pair<QString, QString> addressLines(const QString& address)
{
    static const QRegularExpression lineBreaks(QStringLiteral("[\r\n]+"));
    QStringList lines = given(address).split(lineBreaks, Qt::SkipEmptyParts);
    for (QString& line : lines)
        line = line.trimmed();
    const QString first = lines.isEmpty() ? QString() : lines.takeFirst();
    return {first.left(LongestAddressLine), lines.join(QStringLiteral(", ")).left(LongestAddressLine)};
}

// A saved date the portals can take: a calendar day of a four-digit year (a
// kept text "5/3/27" reads as a day of the year 27, which no portal takes).
bool portalDay(const QDate& date) { return date.isValid() && date.year() >= 1000; }
QString portalDate(const QDate& date) { return date.toString(QStringLiteral("dd/MM/yyyy")); }

// Collects the problems of one document, each naming it.
class Checks {
public:
    explicit Checks(QString document)
        : m_document(std::move(document))
    {
    }
    void add(const QString& problem) { problems << QStringLiteral("%1: %2").arg(m_document, problem); }
    // A PIN of six digits as a number; 0 (and a problem) otherwise.
    int pin(const QString& text, const QString& whose)
    {
        static const QRegularExpression sixDigits(QStringLiteral("^[1-9][0-9]{5}$"));
        if (sixDigits.match(text.trimmed()).hasMatch())
            return text.trimmed().toInt();
        add(QStringLiteral("the %1's PIN \"%2\" is not six digits.").arg(whose, given(text)));
        return 0;
    }
    // The State's code; "" (and a problem) when neither the State nor the GSTIN names one.
    QString stateCode(const QString& state, const QString& gstin, const QString& whose)
    {
        if (const GstState* found = FindGstState(state))
            return found->code;
        if (const GstState* ofGstin = GstStateOfCode(NormalizedGstin(gstin).left(2)))
            return ofGstin->code;
        add(QStringLiteral("the %1's State \"%2\" is not known.").arg(whose, given(state)));
        return {};
    }
    QString gstin(const QString& typed, const QString& whose)
    {
        const GstinCheck check = CheckGstin(typed);
        if (!check.valid())
            add(QStringLiteral("the %1's GSTIN \"%2\" is not valid.").arg(whose, given(typed)));
        return NormalizedGstin(typed);
    }
    QStringList problems;

private:
    QString m_document;
};

bool deliveryDiffers(const Invoice& invoice)
{
    const InvoiceParty& d = invoice.delivery;
    const InvoiceParty& b = invoice.buyer;
    return !given(d.name).isEmpty() && (d.name != b.name || d.address != b.address || d.pin != b.pin);
}

// The checks both files share: a saved, uncancelled invoice with a date and
// items whose values add up to its total.
void checkDocument(const Invoice& invoice, const FileFigures& values, Checks& checks)
{
    if (invoice.cancelled())
        checks.add(QStringLiteral("it is cancelled."));
    if (!portalDay(invoice.date))
        checks.add(QStringLiteral("its date as saved names no calendar day: it needs a date dd/mm/yyyy."));
    if (values.items.empty())
        checks.add(QStringLiteral("it has no goods."));
    if (values.total != invoice.totals.grand)
        checks.add(QStringLiteral("its items add up to %1, not to its total %2.")
                       .arg(AmountText(values.total), AmountText(invoice.totals.grand)));
}

// ------------------------------------------------------------ e-way bill

QJsonArray ewayItems(const FileFigures& figures)
{
    QJsonArray list;
    for (const FileItem& item : figures.items) {
        const EwayItemRates rates = EwayRates(item, figures.interState);
        list.append(QJsonObject{{QStringLiteral("itemNo"), list.size() + 1},
                                {QStringLiteral("productName"), item.name},
                                {QStringLiteral("productDesc"), item.name},
                                {QStringLiteral("hsnCode"), item.hsn.toLongLong()},
                                {QStringLiteral("quantity"), rounded(item.quantity, 3)},
                                {QStringLiteral("qtyUnit"), item.unitCode},
                                {QStringLiteral("taxableAmount"), money(item.taxable)},
                                {QStringLiteral("cgstRate"), rates.cgst},
                                {QStringLiteral("sgstRate"), rates.sgst},
                                {QStringLiteral("igstRate"), rates.igst},
                                {QStringLiteral("cessRate"), 0}});
    }
    return list;
}

QJsonObject ewayBill(const Invoice& invoice, Paise limit, Checks& checks)
{
    const FileFigures values = figuresOf(invoice);
    checkDocument(invoice, values, checks);
    if (invoice.totals.grand <= limit)
        checks.add(QStringLiteral("its value %1 is not above the e-way bill limit %2.")
                       .arg(AmountText(invoice.totals.grand), AmountText(limit)));
    InvoiceTransport transport;
    if (!invoice.transport)
        checks.add(QStringLiteral("it has no transport details (mode, distance, vehicle or transporter)."));
    else
        transport = *invoice.transport;
    for (const QString& problem : TransportProblems(transport))
        if (invoice.transport)
            checks.add(problem);
    for (const FileItem& item : values.items)
        if (item.hsn.isEmpty() || item.hsn.toLongLong() == 0)
            checks.add(QStringLiteral("\"%1\" has no HSN code.").arg(item.name));

    const InvoiceParty& seller = invoice.seller;
    const InvoiceParty& buyer = invoice.buyer;
    const bool shipped = deliveryDiffers(invoice);
    const InvoiceParty& to = shipped ? invoice.delivery : buyer;
    const QString fromGstin = checks.gstin(seller.gstin, QStringLiteral("seller"));
    const QString fromState = checks.stateCode(seller.state, seller.gstin, QStringLiteral("seller"));
    const bool registered = !IsNoGstin(buyer.gstin);
    const QString toGstin = registered ? checks.gstin(buyer.gstin, QStringLiteral("buyer")) : QStringLiteral("URP");
    const QString toState = checks.stateCode(buyer.state, buyer.gstin, QStringLiteral("buyer"));
    const QString actToState = shipped ? checks.stateCode(to.state, QString(), QStringLiteral("delivery address"))
                                       : toState;
    const auto [fromAddr1, fromAddr2] = addressLines(seller.address);
    const auto [toAddr1, toAddr2] = addressLines(to.address);
    const int fromPin = checks.pin(seller.pin, QStringLiteral("seller"));
    const int toPin = checks.pin(to.pin, shipped ? QStringLiteral("delivery address") : QStringLiteral("buyer"));

    return QJsonObject{{QStringLiteral("userGstin"), fromGstin},
                       {QStringLiteral("supplyType"), QStringLiteral("O")},
                       {QStringLiteral("subSupplyType"), 1},
                       {QStringLiteral("docType"), QStringLiteral("INV")},
                       {QStringLiteral("docNo"), invoice.number},
                       {QStringLiteral("docDate"), portalDate(invoice.date)},
                       {QStringLiteral("fromGstin"), fromGstin},
                       {QStringLiteral("fromTrdName"), seller.name},
                       {QStringLiteral("fromAddr1"), fromAddr1},
                       {QStringLiteral("fromAddr2"), fromAddr2},
                       {QStringLiteral("fromPlace"), given(seller.dist)},
                       {QStringLiteral("fromPincode"), fromPin},
                       {QStringLiteral("fromStateCode"), fromState.toInt()},
                       {QStringLiteral("actFromStateCode"), fromState.toInt()},
                       {QStringLiteral("toGstin"), toGstin},
                       {QStringLiteral("toTrdName"), buyer.name},
                       {QStringLiteral("toAddr1"), toAddr1},
                       {QStringLiteral("toAddr2"), toAddr2},
                       {QStringLiteral("toPlace"), given(to.dist)},
                       {QStringLiteral("toPincode"), toPin},
                       {QStringLiteral("toStateCode"), toState.toInt()},
                       {QStringLiteral("actToStateCode"), actToState.toInt()},
                       {QStringLiteral("transactionType"), shipped ? 2 : 1},
                       {QStringLiteral("totalValue"), money(values.taxable)},
                       {QStringLiteral("cgstValue"), money(values.tax.cgst)},
                       {QStringLiteral("sgstValue"), money(values.tax.sgst)},
                       {QStringLiteral("igstValue"), money(values.tax.igst)},
                       {QStringLiteral("cessValue"), money(0)},
                       {QStringLiteral("otherValue"), money(values.rounding)},
                       {QStringLiteral("totInvValue"), money(values.total)},
                       {QStringLiteral("transMode"), TransportModeCode(transport.mode)},
                       {QStringLiteral("transDistance"), transport.distanceKm},
                       {QStringLiteral("transporterId"), transport.transporterId},
                       {QStringLiteral("transporterName"), transport.transporterName},
                       {QStringLiteral("transDocNo"), transport.docNo},
                       {QStringLiteral("transDocDate"), portalDate(transport.docDate)},
                       {QStringLiteral("vehicleNo"), transport.vehicleNo},
                       {QStringLiteral("vehicleType"), QStringLiteral("R")},
                       {QStringLiteral("itemList"), ewayItems(values)}};
}

// ------------------------------------------------------------ e-invoice

QJsonArray eInvoiceItems(const std::vector<FileItem>& items)
{
    QJsonArray list;
    for (const FileItem& item : items)
        list.append(QJsonObject{{QStringLiteral("SlNo"), QString::number(list.size() + 1)},
                                {QStringLiteral("IsServc"), item.service ? QStringLiteral("Y") : QStringLiteral("N")},
                                {QStringLiteral("PrdDesc"), item.name},
                                {QStringLiteral("HsnCd"), item.hsn},
                                {QStringLiteral("Qty"), rounded(item.quantity, 3)},
                                {QStringLiteral("Unit"), item.unitCode},
                                {QStringLiteral("UnitPrice"), rounded(item.unitPrice, 3)},
                                {QStringLiteral("TotAmt"), money(item.gross)},
                                {QStringLiteral("Discount"), money(item.discount)},
                                {QStringLiteral("AssAmt"), money(item.taxable)},
                                {QStringLiteral("GstRt"), item.gstRate},
                                {QStringLiteral("IgstAmt"), money(item.tax.igst)},
                                {QStringLiteral("CgstAmt"), money(item.tax.cgst)},
                                {QStringLiteral("SgstAmt"), money(item.tax.sgst)},
                                {QStringLiteral("TotItemVal"), money(item.total())}});
    return list;
}

// The e-invoice's second address line is 3 to 100 characters: a shorter one is left out.
constexpr int ShortestEInvoiceAddr2 = 3;

QJsonObject partyDetails(const InvoiceParty& party, const QString& gstin, const QString& stateCode, int pin)
{
    const auto [addr1, addr2] = addressLines(party.address);
    QJsonObject details{{QStringLiteral("LglNm"), party.name},
                        {QStringLiteral("Addr1"), addr1},
                        {QStringLiteral("Loc"), given(party.dist)},
                        {QStringLiteral("Pin"), pin},
                        {QStringLiteral("Stcd"), stateCode}};
    if (addr2.size() >= ShortestEInvoiceAddr2)
        details.insert(QStringLiteral("Addr2"), addr2);
    if (!gstin.isEmpty())
        details.insert(QStringLiteral("Gstin"), gstin);
    return details;
}

// The schema gives each transport text a least length, so an empty one is
// left out rather than written as "".
QJsonObject ewbDetails(const InvoiceTransport& t)
{
    QJsonObject details{{QStringLiteral("TransMode"), QString::number(TransportModeCode(t.mode))},
                        {QStringLiteral("Distance"), t.distanceKm},
                        {QStringLiteral("VehType"), QStringLiteral("R")}};
    const std::pair<const char*, QString> texts[] = {{"TransId", t.transporterId}, {"TransName", t.transporterName},
                                                     {"TransDocNo", t.docNo},      {"TransDocDt", portalDate(t.docDate)},
                                                     {"VehNo", t.vehicleNo}};
    for (const auto& [key, value] : texts)
        if (!value.trimmed().isEmpty())
            details.insert(QLatin1String(key), value.trimmed());
    return details;
}

PortalFile fileOf(const QJsonObject& root, const QStringList& problems)
{
    PortalFile file;
    file.problems = problems;
    if (problems.isEmpty())
        file.json = QJsonDocument(root).toJson(QJsonDocument::Indented);
    return file;
}

PortalFile failed(const QString& problem) { return {{}, {problem}}; }

PortalFile saved(PortalFile file, const QString& path, const MayWrite& mayWrite,
    const std::vector<CheckedDocument>& documents)
{
    if (file.ok() && mayWrite && !mayWrite(documents))
        return {};
    if (file.ok())
        if (const QString written = SaveFileWhole(path, file.json); !written.isEmpty())
            return failed(written);
    return file;
}

template <typename Build>
PortalFile guarded(Build build)
{
    try {
        return build();
    } catch (const DataError& error) {
        return failed(error.message());
    }
}

} // namespace

QString DocumentTypeCode(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Invoice: return QStringLiteral("INV");
    case DocumentKind::CreditNote: return QStringLiteral("CRN");
    case DocumentKind::DebitNote: return QStringLiteral("DBN");
    }
    return {};
}

PortalFile BuildEwayBills(const std::vector<Invoice>& invoices, Paise limit)
{
    QJsonArray bills;
    QStringList problems;
    for (const Invoice& invoice : invoices) {
        Checks checks(QStringLiteral("Invoice %1").arg(invoice.number));
        bills.append(ewayBill(invoice, limit, checks));
        problems << checks.problems;
    }
    if (invoices.empty())
        problems << QStringLiteral("There is no invoice to write an e-way bill for.");
    return fileOf({{QStringLiteral("version"), QLatin1String(EwayBillFileVersion)}, {QStringLiteral("billLists"), bills}},
                  problems);
}

namespace {

QJsonObject eInvoiceOf(const Invoice& document, DocumentKind kind, Checks& checks)
{
    const FileFigures values = figuresOf(document);
    checkDocument(document, values, checks);
    const InvoiceParty& seller = document.seller;
    const InvoiceParty& buyer = document.buyer;
    if (IsNoGstin(buyer.gstin))
        checks.add(QStringLiteral("the buyer has no GSTIN: only a supply to a registered buyer (B2B) takes an e-invoice."));
    const QString sellerGstin = checks.gstin(seller.gstin, QStringLiteral("seller"));
    const QString buyerGstin = IsNoGstin(buyer.gstin) ? QString() : checks.gstin(buyer.gstin, QStringLiteral("buyer"));
    const QString sellerState = checks.stateCode(seller.state, seller.gstin, QStringLiteral("seller"));
    const QString buyerState = checks.stateCode(buyer.state, buyer.gstin, QStringLiteral("buyer"));
    const int sellerPin = checks.pin(seller.pin, QStringLiteral("seller"));
    const int buyerPin = checks.pin(buyer.pin, QStringLiteral("buyer"));
    for (const FileItem& item : values.items)
        if (item.hsn.isEmpty())
            checks.add(QStringLiteral("\"%1\" has no HSN/SAC code.").arg(item.name));

    QJsonObject buyerDetails = partyDetails(buyer, buyerGstin, buyerState, buyerPin);
    buyerDetails.insert(QStringLiteral("Pos"), buyerState);
    QJsonObject root{
        {QStringLiteral("Version"), QLatin1String(EInvoiceSchemaVersion)},
        {QStringLiteral("TranDtls"),
         QJsonObject{{QStringLiteral("TaxSch"), QStringLiteral("GST")},
                     {QStringLiteral("SupTyp"), QStringLiteral("B2B")},
                     {QStringLiteral("RegRev"), QStringLiteral("N")},
                     {QStringLiteral("IgstOnIntra"), QStringLiteral("N")}}},
        {QStringLiteral("DocDtls"),
         QJsonObject{{QStringLiteral("Typ"), DocumentTypeCode(kind)},
                     {QStringLiteral("No"), document.number},
                     {QStringLiteral("Dt"), portalDate(document.date)}}},
        {QStringLiteral("SellerDtls"), partyDetails(seller, sellerGstin, sellerState, sellerPin)},
        {QStringLiteral("BuyerDtls"), buyerDetails},
        {QStringLiteral("ItemList"), eInvoiceItems(values.items)},
        {QStringLiteral("ValDtls"),
         QJsonObject{{QStringLiteral("AssVal"), money(values.taxable)},
                     {QStringLiteral("CgstVal"), money(values.tax.cgst)},
                     {QStringLiteral("SgstVal"), money(values.tax.sgst)},
                     {QStringLiteral("IgstVal"), money(values.tax.igst)},
                     {QStringLiteral("OthChrg"), money(0)},
                     {QStringLiteral("RndOffAmt"), money(values.rounding)},
                     {QStringLiteral("TotInvVal"), money(values.total)}}}};
    if (deliveryDiffers(document)) {
        const InvoiceParty& to = document.delivery;
        const QString toState = checks.stateCode(to.state, QString(), QStringLiteral("delivery address"));
        root.insert(QStringLiteral("ShipDtls"),
                    partyDetails(to, QString(), toState, checks.pin(to.pin, QStringLiteral("delivery address"))));
    }
    if (document.transport) {
        for (const QString& problem : TransportProblems(*document.transport))
            checks.add(problem);
        root.insert(QStringLiteral("EwbDtls"), ewbDetails(*document.transport));
    }
    return root;
}

// A note in the shape of an invoice: its lines as the goods, each taxed at
// its invoice line's rate, between the invoice's seller and buyer (the note
// keeps only the buyer's name, GSTIN and State).
Invoice noteAsInvoice(const SaleNote& note, const Invoice& original)
{
    Invoice document;
    document.serial = note.serial;
    document.number = note.number;
    document.date = note.date;
    document.seller = original.seller;
    document.buyerCode = note.buyerCode;
    document.buyer = original.buyer;
    document.mode = note.mode;
    document.taxes[TaxOnGoods].rate = note.rate;
    for (const NoteLine& line : note.lines) {
        InvoiceLine goods;
        goods.description = line.description;
        goods.hsn = line.hsn;
        const bool valueOnly = line.quantity <= 0;
        goods.unit = valueOnly ? QStringLiteral("OTH") : line.unit;
        goods.quantity = valueOnly ? 1 : line.quantity;
        goods.rate = ToRupees(line.value) / goods.quantity;
        goods.amount = line.value;
        goods.gstRate = line.gstRate; // its invoice line's
        goods.firstTax = line.firstTax;
        goods.sgst = line.sgst;
        document.lines.push_back(goods);
    }
    document.totals.goods = note.taxable;
    document.totals.grand = note.total;
    return document;
}

} // namespace

PortalFile BuildEInvoice(const Invoice& document, DocumentKind kind)
{
    Checks checks(QStringLiteral("%1 %2").arg(DocumentTypeCode(kind), document.number));
    const QJsonObject root = eInvoiceOf(document, kind, checks);
    return fileOf(root, checks.problems);
}

namespace {

DocumentKind noteKind(const SaleNote& note)
{
    return note.kind == NoteKind::Credit ? DocumentKind::CreditNote : DocumentKind::DebitNote;
}

QJsonObject noteEInvoiceOf(const SaleNote& note, const Invoice& original, Checks& checks)
{
    QJsonObject root = eInvoiceOf(noteAsInvoice(note, original), noteKind(note), checks);
    if (!portalDay(original.date))
        checks.add(QStringLiteral("the date of its invoice %1 as saved names no calendar day.").arg(original.number));
    const QJsonObject preceding{{QStringLiteral("InvNo"), original.number},
                                {QStringLiteral("InvDt"), portalDate(original.date)}};
    root.insert(QStringLiteral("RefDtls"), QJsonObject{{QStringLiteral("PrecDocDtls"), QJsonArray{preceding}}});
    return root;
}

} // namespace

PortalFile BuildNoteEInvoice(const SaleNote& note, const Invoice& original)
{
    Checks checks(QStringLiteral("%1 %2").arg(DocumentTypeCode(noteKind(note)), note.number));
    const QJsonObject root = noteEInvoiceOf(note, original, checks);
    return fileOf(root, checks.problems);
}

EwayItemRates EwayRates(const FileItem& item, bool interState)
{
    const double half = interState ? 0 : HalfRate(item.gstRate);
    return {half, half, interState ? item.gstRate : 0.0};
}

FileFigures EwayBillFigures(const Invoice& invoice) { return figuresOf(invoice); }

FileFigures EInvoiceFigures(const Invoice& document) { return figuresOf(document); }

FileFigures NoteEInvoiceFigures(const SaleNote& note, const Invoice& original)
{
    return figuresOf(noteAsInvoice(note, original));
}

PortalFile SaveEwayBillOfInvoice(Database& db, const QString& number, const QString& path, const MayWrite& mayWrite)
{
    return guarded([&] {
        const std::optional<Invoice> invoice = LoadInvoice(db, number);
        if (!invoice)
            return failed(QStringLiteral("There is no saved invoice %1.").arg(number));
        return saved(BuildEwayBills({*invoice}, LoadFirstCompanyPayment(db).ewayBillLimit), path, mayWrite,
            {CheckedInvoice(*invoice)});
    });
}

PortalFile SaveEwayBillsOfDay(Database& db, const QDate& day, const QString& path, const MayWrite& mayWrite)
{
    return guarded([&] {
        const Paise limit = LoadFirstCompanyPayment(db).ewayBillLimit;
        QStringList numbers;
        QSqlQuery q = db.run(QStringLiteral("SELECT b.\"InvoiceNo\" FROM \"%1\".\"BuyerInvoice\" AS b JOIN \"%1\".\"GoodsInvoice\" "
                                            "AS g ON g.\"sno\" = b.\"sno\" WHERE b.\"sno\" <> 0 AND %2 = ? AND "
                                            "g.\"totalamount\" > ? AND NOT EXISTS (SELECT 1 FROM \"%1\".\"CancelledInvoice\" "
                                            "AS c WHERE c.\"sno\" = b.\"sno\") ORDER BY b.\"sno\"")
                                 .arg(SchemaName(DbFile::Invoice), DateKeySql(QStringLiteral("b.\"InvoiceDate\""))),
                             {DayKey(day), ToRupees(limit)},
                             QStringLiteral("read the invoices"), DbFile::Invoice);
        while (q.next())
            numbers << q.value(0).toString();
        if (numbers.isEmpty())
            return failed(QStringLiteral("No invoice of %1 is worth more than the e-way bill limit %2.")
                              .arg(portalDate(day), AmountText(limit)));
        std::vector<Invoice> invoices;
        std::vector<CheckedDocument> documents;
        for (const QString& number : numbers)
            if (std::optional<Invoice> invoice = LoadInvoice(db, number)) {
                documents.push_back(CheckedInvoice(*invoice));
                invoices.push_back(std::move(*invoice));
            }
        return saved(BuildEwayBills(invoices, limit), path, mayWrite, documents);
    });
}

PortalFile SaveEInvoice(Database& db, const QString& number, const QString& path, const MayWrite& mayWrite)
{
    return guarded([&] {
        const std::optional<Invoice> invoice = LoadInvoice(db, number);
        if (!invoice)
            return failed(QStringLiteral("There is no saved invoice %1.").arg(number));
        return saved(BuildEInvoice(*invoice), path, mayWrite, {CheckedInvoice(*invoice)});
    });
}

PortalFile SaveNoteEInvoice(Database& db, const QString& noteNumber, const QString& path, const MayWrite& mayWrite)
{
    return guarded([&] {
        const std::optional<SaleNote> note = LoadSaleNote(db, noteNumber);
        if (!note)
            return failed(QStringLiteral("There is no saved note %1.").arg(noteNumber));
        const std::optional<Invoice> original = LoadInvoice(db, note->invoiceNumber);
        if (!original)
            return failed(QStringLiteral("Note %1: its invoice %2 is not saved.").arg(noteNumber, note->invoiceNumber));
        return saved(BuildNoteEInvoice(*note, *original), path, mayWrite, {CheckedSaleNote(*note)});
    });
}

} // namespace zelva
