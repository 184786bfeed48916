#include "data/schema.h"

#include <algorithm>
#include <iterator>

namespace zelva {

namespace {

FieldDef text(const char* name) { return {QString::fromLatin1(name), FieldKind::Text}; }
FieldDef number(const char* name) { return {QString::fromLatin1(name), FieldKind::Number}; }
FieldDef serial(const char* name) { return {QString::fromLatin1(name), FieldKind::Serial}; }

void addNumbered(std::vector<FieldDef>& fields, const char* stem, int first, int last, FieldKind kind)
{
    for (int i = first; i <= last; ++i)
        fields.push_back({QStringLiteral("%1%2").arg(QLatin1String(stem)).arg(i), kind});
}

std::vector<FieldDef> itemFields()
{
    return {serial("sno"), text("itemcode"), text("ItemName"), text("ItemHsn"),
            number("Rate"), text("Per"), number("Quantity"), text("Remarks")};
}

std::vector<FieldDef> goodsInvoiceFields()
{
    std::vector<FieldDef> f{serial("sno"), text("InvoiceNo")};
    addNumbered(f, "DescriptionOfGoods", 1, 16, FieldKind::Text);
    addNumbered(f, "Hsn", 1, 16, FieldKind::Text);
    addNumbered(f, "Quantity", 1, 7, FieldKind::Number);
    f.push_back(number("TotalQuantity"));
    addNumbered(f, "Per", 1, 15, FieldKind::Text);
    addNumbered(f, "Amount", 1, 16, FieldKind::Number);
    for (const char* name : {"TotalGoodsAmount", "totalamount", "TIgst", "TCgst", "TSgst", "Rate1", "Rate2", "Rate3"})
        f.push_back(number(name));
    addNumbered(f, "rate", 4, 15, FieldKind::Number);
    return f;
}

std::vector<TableDef> buildTables()
{
    std::vector<TableDef> t;
    t.push_back({DbFile::Zlv, "Login", {text("username"), text("Password")}, {}, false});
    // The audit trail (data/audittrail.h): entries numbered from 1, each
    // chained to the one before by its Hash. Only ever appended to.
    t.push_back({DbFile::Zlv, "AuditTrail",
                 {serial("Sno"), text("At"), text("Operator"), text("Computer"), text("TableName"), text("RecordKey"),
                  text("Action"), text("Changes"), text("Hash")},
                 "Sno", false});
    t.push_back({DbFile::Master, "Company",
                 {text("Name"), text("address"), text("Dist"), text("State"), text("Pin"), text("Gstin"),
                  text("contact"), text("Email"), text("Website"), text("BankName"), text("BankAddress"),
                  text("Accountno"), text("ifsc"), serial("sno"), text("CompanyId")},
                 "sno", false, "CompanyId"});
    // A company's UPI ID (printed as a pay QR) and the invoice value from
    // which its goods need an e-way bill, kept by the company's serial.
    t.push_back({DbFile::Master, "CompanyPayment", {serial("sno"), text("UpiId"), number("EwayBillLimit")}, "sno",
                 false});
    // The GST rates as dated data: each whole rate with its first day and, once
    // ended, its last (days as yyyymmdd, 0 while in force); Special marks a
    // rate offered only for the items that carry it. Seeded with the rates the
    // program ships; a later notified change is added to it.
    t.push_back({DbFile::Master, "GstRate",
                 {serial("sno"), number("GstRate"), serial("FromDay"), serial("ToDay"), serial("Special"), text("Note")},
                 "sno", false});
    // A company's counter: the receipt roll's width in mm (58 or 80) and
    // whether a scan anywhere on an invoice form adds its item (1) or only in the goods box (0).
    t.push_back({DbFile::Master, "CompanyCounter", {serial("sno"), serial("RollWidthMm"), serial("ScanAnywhere")},
                 "sno", false});
    // A company's turnover of the previous year above Rs 5 crore (1) or not
    // (0), which decides how many digits an HSN code needs.
    t.push_back({DbFile::Master, "CompanyTurnover", {serial("sno"), serial("AboveFiveCrore")}, "sno", false});
    // The day the books start here, by the company's serial (the first
    // company's is the shop's), as a date text.
    t.push_back({DbFile::Master, "BooksStart", {serial("sno"), text("StartDate")}, "sno", false});
    // What a buyer (PartyKind "B", by its bid) owed the shop, or the shop a
    // supplier ("S", by its SupplierId), on the day the books start here:
    // earlier bills with their own numbers, dates (BillDay yyyymmdd) and
    // amounts in paise, or one amount dated that day. BillKey (kind, party
    // and the number as compared) is unique: a number once per party.
    t.push_back({DbFile::Master, "OpeningBill",
                 {serial("sno"), text("BillKey"), text("PartyKind"), text("PartyCode"), text("BillNo"),
                  text("BillDate"), serial("BillDay"), serial("AmountPaise")},
                 "sno", false, "BillKey"});
    // A bank's statement columns, mapped once per bank: the header of each
    // column the statement's lines are read from, by the bank's name as
    // compared (BankKey, unique).
    t.push_back({DbFile::Master, "BankLayout",
                 {serial("sno"), text("BankKey"), text("BankName"), text("DateColumn"), text("NarrationColumn"),
                  text("ReferenceColumn"), text("DebitColumn"), text("CreditColumn"), text("BalanceColumn")},
                 "sno", false, "BankKey"});
    // The lines of the bank statements imported, in paise, LineDay yyyymmdd.
    // LineKey (bank, day, amounts, balance and reference) is unique: a line
    // imported again is recognised, never kept twice.
    t.push_back({DbFile::Master, "BankStatementLine",
                 {serial("sno"), text("LineKey"), text("BankKey"), text("LineDate"), serial("LineDay"),
                  text("Narration"), text("Reference"), serial("DebitPaise"), serial("CreditPaise"),
                  serial("BalancePaise"), text("ImportedOn"), text("ImportedBy")},
                 "sno", false, "LineKey"});
    // A statement line confirmed as a receipt (Kind "R") or a payment ("P"),
    // by the line's sno and the money's number; each line and each receipt or
    // payment is matched once (MoneyKey: kind and number).
    t.push_back({DbFile::Master, "BankMatch",
                 {serial("LineSno"), text("MoneyKey"), text("Kind"), text("MoneyNo"), text("MatchedOn"),
                  text("MatchedBy")},
                 "LineSno", false, "MoneyKey"});
    t.push_back({DbFile::Customer, "CustomerDetails",
                 {serial("sno"), text("bid"), text("Name"), text("address"), text("Dist"), text("State"),
                  text("Pin"), text("Gstin"), text("Phone"), text("Email"), text("Website"), text("Remarks")},
                 "sno", true, "bid"});
    t.push_back({DbFile::ItemStock, "Stock", itemFields(), "sno", true, "itemcode"});
    // The GST rate of a stock item, by its code; an item saved before rates
    // were kept has none until it is given one.
    t.push_back({DbFile::ItemStock, "StockGstRate", {serial("sno"), text("itemcode"), number("GstRate")}, "sno", false,
                 "itemcode"});
    // The barcodes a stock item is scanned by (EAN-13, EAN-8, UPC-A or the
    // shop's own code), one record each; a barcode belongs to one item.
    t.push_back({DbFile::ItemStock, "StockBarcode", {serial("sno"), text("itemcode"), text("Barcode")}, "sno", false,
                 "Barcode"});
    // The quantity at or below which an item is to be ordered again, by its code.
    t.push_back({DbFile::ItemStock, "StockReorderLevel", {serial("sno"), text("itemcode"), number("ReorderLevel")},
                 "sno", false, "itemcode"});
    // An item's opening stock, by its code: the quantity on hand on the day the
    // books start here and its cost per unit in paise (CostPaise NULL: not known).
    // The quantity itself is in Stock as ever; this keeps what it was then.
    t.push_back({DbFile::ItemStock, "OpeningStock", {serial("sno"), text("itemcode"), number("Quantity"), serial("CostPaise")},
                 "sno", false, "itemcode"});
    t.push_back({DbFile::OtherItemStock, "OtherItemStock", itemFields(), "sno", true, "itemcode"});
    t.push_back({DbFile::Invoice, "BuyerInvoice",
                 {serial("sno"), text("InvoiceNo"), text("InvoiceDate"), text("OrderNo"), text("OrderDate"),
                  text("SuppliersRef"), text("DispatchedThrough"), text("SalerCompany"), text("SalerGstin"),
                  text("bid"), text("BuyerName"), text("BuyerAddress"), text("BuyerDist"), text("buyerstate"),
                  text("BuyerPin"), text("BuyerGstin"), text("BuyerNameD"), text("DeliveryAddress"),
                  text("Dist"), text("State"), text("Pin"), text("Time")},
                 "sno", true, "InvoiceNo"});
    t.push_back({DbFile::Invoice, "GoodsInvoice", goodsInvoiceFields(), {}, false, "InvoiceNo"});
    // A cancelled invoice stays in BuyerInvoice under its number; this is its mark.
    t.push_back({DbFile::Invoice, "CancelledInvoice",
                 {serial("sno"), text("InvoiceNo"), text("CancelDate"), text("CancelTime"), text("Reason"),
                  text("CancelledBy")},
                 "sno", false, "InvoiceNo"});
    // What each goods row of an invoice took off which stock item, so that a
    // cancellation (or a later return) gives back exactly that.
    t.push_back({DbFile::Invoice, "InvoiceStock",
                 {serial("sno"), text("InvoiceNo"), serial("GoodsRow"), text("itemcode"), number("Quantity")},
                 {}, false});
    // A month whose return of outward supplies is filed (yyyymm): its invoices stand.
    t.push_back({DbFile::Invoice, "FiledReturn", {serial("ReturnMonth"), text("FiledOn"), text("FiledBy")},
                 "ReturnMonth", false});
    // A credit or debit note against a saved invoice (Kind "C" or "D"), under
    // its own number series (KindSno counts each kind apart), with its totals.
    t.push_back({DbFile::Invoice, "SaleNote",
                 {serial("sno"), text("NoteNo"), text("Kind"), serial("KindSno"), text("NoteDate"), text("NoteTime"),
                  text("Reason"), serial("InvoiceSno"), text("InvoiceNo"), text("InvoiceDate"), text("bid"),
                  text("BuyerName"), text("BuyerGstin"), text("buyerstate"), text("TaxMode"), number("GstRate"),
                  text("TaxLabel"), number("Taxable"), number("Igst"), number("Cgst"), number("Sgst"),
                  number("Total"), text("IssuedBy")},
                 "sno", false, "NoteNo"});
    // The lines of a note, each against one goods row of its invoice; Returned
    // is the quantity put back into stock (a sales return), to that item.
    t.push_back({DbFile::Invoice, "SaleNoteLine",
                 {serial("sno"), text("NoteNo"), serial("LineNo"), serial("GoodsRow"), text("Description"),
                  text("Hsn"), text("Per"), number("Quantity"), number("Value"), number("FirstTax"), number("Sgst"),
                  text("itemcode"), number("Returned")},
                 {}, false});
    // How an invoice's goods travel (the e-way bill's part B), one record per invoice that has them.
    t.push_back({DbFile::Invoice, "InvoiceTransport",
                 {serial("sno"), text("InvoiceNo"), text("TransMode"), number("DistanceKm"), text("VehicleNo"),
                  text("TransporterId"), text("TransporterName"), text("TransDocNo"), text("TransDocDate")},
                 "sno", false, "InvoiceNo"});
    // What the invoice registration portal gave back for an invoice (its IRN
    // and signed QR code, and the e-way bill made with it).
    t.push_back({DbFile::Invoice, "InvoiceIrn",
                 {serial("sno"), text("InvoiceNo"), text("Irn"), text("AckNo"), text("AckDate"), text("SignedQrCode"),
                  text("EwbNo"), text("EwbDate"), text("EwbValidTill"), text("ImportedOn")},
                 "sno", false, "InvoiceNo"});
    // Each goods line's whole GST rate and its tax in paise (its share of its
    // rate's tax), by the invoice's sno and the line's grid row. An invoice
    // saved before has none: its one goods rate is that of its grid.
    t.push_back({DbFile::Invoice, "InvoiceLineTax",
                 {serial("sno"), text("InvoiceNo"), serial("GoodsRow"), number("GstRate"), serial("IgstPaise"),
                  serial("CgstPaise"), serial("SgstPaise"), serial("CessPaise")},
                 {}, false});
    // What the portal gave back for a credit or debit note's e-invoice, under
    // the note's sno in SaleNote.
    t.push_back({DbFile::Invoice, "SaleNoteIrn",
                 {serial("sno"), text("NoteNo"), text("Irn"), text("AckNo"), text("AckDate"), text("SignedQrCode"),
                  text("ImportedOn")},
                 "sno", false, "NoteNo"});
    // Money received from buyers, in paise: each receipt under its own number
    // (R00001), never edited; a cancelled one keeps its number and its mark.
    t.push_back({DbFile::Invoice, "Receipt",
                 {serial("sno"), text("ReceiptNo"), text("ReceiptDate"), text("Time"), text("bid"), text("BuyerName"),
                  text("Mode"), text("Reference"), text("Bank"), serial("AmountPaise"), text("EnteredBy")},
                 "sno", false, "ReceiptNo"});
    // What of a receipt went to which invoice (paise); the rest is the buyer's advance.
    t.push_back({DbFile::Invoice, "ReceiptAllotment",
                 {serial("sno"), text("ReceiptNo"), serial("InvoiceSno"), text("InvoiceNo"), serial("AmountPaise")},
                 {}, false});
    t.push_back({DbFile::Invoice, "CancelledReceipt",
                 {serial("sno"), text("ReceiptNo"), text("CancelDate"), text("CancelTime"), text("Reason"),
                  text("CancelledBy")},
                 "sno", false, "ReceiptNo"});
    // A buyer's credit limit in paise, by the buyer's serial in CustomerDetails.
    t.push_back({DbFile::Customer, "BuyerCreditLimit", {serial("sno"), text("bid"), serial("LimitPaise")}, "sno", false});
    t.push_back({DbFile::PurchaseMaster, "Purchase",
                 {serial("PSno"), text("PurchaseId"), text("PurchaseDate"), text("PurchaseOrder"),
                  text("PurchaseInvoiceNo"), text("PurchaseInvoiceDate"), text("SupplierName"),
                  text("SupGstinNo"), text("SupAddress"), serial("sno"), text("itemcode"), text("ItemName"),
                  text("ItemHsn"), number("Rate"), text("Per"), number("Quantity"), text("Remarks")},
                 "PSno", true, "PurchaseId"});
    // The suppliers purchases are bought from, on the pattern of the buyers.
    t.push_back({DbFile::PurchaseMaster, "Supplier",
                 {serial("sno"), text("SupplierId"), text("Name"), text("address"), text("State"), text("Gstin"),
                  text("Phone"), text("Email"), text("Remarks")},
                 "sno", false, "SupplierId"});
    // A supplier's bill: its header. BillKey (financial year, supplier and
    // the bill number as compared) is unique: a bill is entered once.
    // BillDay is the bill date as yyyymmdd, the key periods select by.
    t.push_back({DbFile::PurchaseMaster, "PurchaseBill",
                 {serial("sno"), text("BillKey"), text("BillNo"), text("BillDate"), serial("BillDay"),
                  serial("SupplierSno"), text("SupplierName"), text("SupplierGstin"), text("SupplierState"),
                  text("TaxKind"), serial("ReverseCharge"), serial("ItcEligible")},
                 "sno", false, "BillKey"});
    // The GST of each line of a bill: one Purchase record (its PSno), which
    // moved the stock as every purchase does.
    t.push_back({DbFile::PurchaseMaster, "PurchaseBillLine",
                 {serial("PSno"), serial("BillSno"), number("Taxable"), number("GstRate"), number("Igst"),
                  number("Cgst"), number("Sgst")},
                 "PSno", false});
    // A supplier's credit or debit note (Kind "C" or "D") against a stored
    // bill (BillSno), at one of its rates, amounts in paise. NoteKey
    // (financial year, supplier, kind and the number as compared) is unique.
    t.push_back({DbFile::PurchaseMaster, "SupplierNote",
                 {serial("sno"), text("NoteKey"), text("NoteNo"), text("NoteDate"), serial("NoteDay"), text("Kind"),
                  serial("BillSno"), number("GstRate"), serial("TaxablePaise"), serial("IgstPaise"),
                  serial("CgstPaise"), serial("SgstPaise"), text("Reason")},
                 "sno", false, "NoteKey"});
    // Money paid to suppliers, in paise, on the pattern of the receipts: each
    // payment under its own number (V00001), never edited; what of it went to
    // which bill (the rest the supplier's advance); a cancelled one keeps its
    // number and its mark.
    t.push_back({DbFile::PurchaseMaster, "Payment",
                 {serial("sno"), text("PaymentNo"), text("PaymentDate"), text("Time"), serial("SupplierSno"),
                  text("SupplierName"), text("Mode"), text("Reference"), text("Bank"), serial("AmountPaise"),
                  text("EnteredBy")},
                 "sno", false, "PaymentNo"});
    t.push_back({DbFile::PurchaseMaster, "PaymentAllotment",
                 {serial("sno"), text("PaymentNo"), serial("BillSno"), text("BillNo"), serial("AmountPaise")},
                 {}, false});
    t.push_back({DbFile::PurchaseMaster, "CancelledPayment",
                 {serial("sno"), text("PaymentNo"), text("CancelDate"), text("CancelTime"), text("Reason"),
                  text("CancelledBy")},
                 "sno", false, "PaymentNo"});
    t.push_back({DbFile::IssueMaster, "IssueRegister",
                 {serial("ISno"), text("IssueNo"), text("IssueDate"), text("IssueTime"), text("IssueSlipNo"),
                  text("IssueTo"), text("IssuedBy"), serial("sno"), text("itemcode"), text("ItemName"),
                  text("ItemHsn"), number("Rate"), text("Per"), number("Quantity"), text("Remarks"),
                  serial("issuedd"), serial("issuemm"), serial("issueyy")},
                 "ISno", true, "IssueNo"});
    return t;
}

QString sqlType(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text: return QStringLiteral("TEXT");
    case FieldKind::Number: return QStringLiteral("REAL");
    case FieldKind::Serial: return QStringLiteral("INTEGER");
    }
    return QStringLiteral("TEXT");
}

QString quoted(const QString& name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QStringList columnsOf(const QString& table, const char* alias, const QStringList& skip)
{
    QStringList columns;
    for (const FieldDef& f : FindTable(table)->fields)
        if (!skip.contains(f.name))
            columns << QStringLiteral("%1.%2").arg(QLatin1String(alias), quoted(f.name));
    return columns;
}

// Whole numbers from a date text "dd/mm/yyyy", whatever the one-character
// separator and also when day or month were typed with one digit ("5/1/2026").
// CAST takes the leading digits of a text; ltrim drops them to reach the next
// part. NULL stays NULL.
QString afterFirstPart(const QString& text)
{
    return QStringLiteral("substr(ltrim(%1, '0123456789'), 2)").arg(text);
}

QString dayOf(const QString& column) { return DateDaySql(column); }
QString monthOf(const QString& column) { return DateMonthSql(column); }
QString yearOf(const QString& column) { return DateYearSql(column); }

} // namespace

QString DateDaySql(const QString& column)
{
    return QStringLiteral("CAST(trim(%1) AS INTEGER)").arg(column);
}

QString DateMonthSql(const QString& column)
{
    return QStringLiteral("CAST(%1 AS INTEGER)").arg(afterFirstPart(QStringLiteral("trim(%1)").arg(column)));
}

QString DateYearSql(const QString& column)
{
    return QStringLiteral("CAST(%1 AS INTEGER)").arg(afterFirstPart(afterFirstPart(QStringLiteral("trim(%1)").arg(column))));
}

QString DateKeySql(const QString& column)
{
    return QStringLiteral("(%1 * 10000 + %2 * 100 + %3)").arg(DateYearSql(column), DateMonthSql(column), DateDaySql(column));
}

QString PurchaseDayKeySql() { return DateKeySql(QStringLiteral("\"PurchaseDate\"")); }

QString IssueDayKeySql() { return QStringLiteral("(\"issueyy\" * 10000 + \"issuemm\" * 100 + \"issuedd\")"); }

const std::vector<DbFile>& AllDbFiles()
{
    static const std::vector<DbFile> files{DbFile::Zlv, DbFile::Master, DbFile::Customer, DbFile::Invoice,
                                           DbFile::ItemStock, DbFile::OtherItemStock, DbFile::PurchaseMaster,
                                           DbFile::IssueMaster};
    return files;
}

QString RelativePath(DbFile file)
{
    switch (file) {
    case DbFile::Zlv: return QStringLiteral("ZLV.db");
    case DbFile::Master: return QStringLiteral("Database/Master.db");
    case DbFile::Customer: return QStringLiteral("Database/Customer.db");
    case DbFile::Invoice: return QStringLiteral("Database/Invoice.db");
    case DbFile::ItemStock: return QStringLiteral("Database/ItemStock.db");
    case DbFile::OtherItemStock: return QStringLiteral("Database/OtherItemStock.db");
    case DbFile::PurchaseMaster: return QStringLiteral("Database/PurchaseMaster.db");
    case DbFile::IssueMaster: return QStringLiteral("Database/IssueMaster.db");
    }
    return {};
}

QString SchemaName(DbFile file)
{
    if (file == DbFile::Zlv)
        return QStringLiteral("main");
    const QString path = RelativePath(file);
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1).chopped(3);
}

const std::vector<TableDef>& AllTables()
{
    static const std::vector<TableDef> tables = buildTables();
    return tables;
}

const TableDef* FindTable(const QString& name)
{
    for (const TableDef& t : AllTables())
        if (t.name == name)
            return &t;
    return nullptr;
}

QString CreateTableSql(const TableDef& table)
{
    QStringList columns;
    for (const FieldDef& f : table.fields)
        columns << QStringLiteral("%1 %2").arg(quoted(f.name), sqlType(f.kind));
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1.%2 (%3) STRICT")
        .arg(quoted(SchemaName(table.file)), quoted(table.name), columns.join(QStringLiteral(", ")));
}

std::vector<ViewDef> FileViews()
{
    // Every purchase but the placeholder, with its date as whole numbers.
    const QString purchases =
        QStringLiteral("SELECT %1, %2 AS Purchasedd, %3 AS Purchasemm, %4 AS Purchaseyy FROM Purchase AS p "
                       "WHERE p.PSno <> 0")
            .arg(columnsOf("Purchase", "p", {}).join(QStringLiteral(", ")), dayOf("p.PurchaseDate"),
                 monthOf("p.PurchaseDate"), yearOf("p.PurchaseDate"));
    // One row per saved invoice (a header without its goods still shows).
    QStringList columns{QStringLiteral("b.\"sno\" AS Sno"), QStringLiteral("b.\"InvoiceNo\" AS InvoiceNo")};
    columns << columnsOf("BuyerInvoice", "b", {"sno", "InvoiceNo"});
    columns << columnsOf("GoodsInvoice", "g", {"sno", "InvoiceNo"});
    const QString printInvoice = QStringLiteral("SELECT %1 FROM BuyerInvoice AS b LEFT JOIN GoodsInvoice AS g ON "
                                                "g.sno = b.sno WHERE b.sno <> 0 ORDER BY b.sno, b.rowid")
                                     .arg(columns.join(QStringLiteral(", ")));
    // A cancelled invoice is counted apart and adds nothing.
    const auto total = [](const char* field) {
        return QStringLiteral("ROUND(COALESCE(SUM(CASE WHEN c.sno IS NULL THEN g.%1 END), 0.0), 2)")
            .arg(QLatin1String(field));
    };
    const QString monthly =
        QStringLiteral("SELECT %1 AS Year, %2 AS Month, COUNT(*) - COUNT(c.sno) AS Invoices, %3 AS GoodsValue, "
                       "%4 AS CGST, %5 AS SGST, %6 AS IGST, %7 AS InvoiceTotal, COUNT(c.sno) AS Cancelled "
                       "FROM BuyerInvoice AS b LEFT JOIN GoodsInvoice AS g ON g.sno = b.sno LEFT JOIN "
                       "CancelledInvoice AS c ON c.sno = b.sno WHERE b.sno <> 0 GROUP BY 1, 2 ORDER BY 1, 2")
            .arg(yearOf("b.InvoiceDate"), monthOf("b.InvoiceDate"), total("TotalGoodsAmount"), total("TCgst"),
                 total("TSgst"), total("TIgst"), total("totalamount"));
    return {{DbFile::PurchaseMaster, QStringLiteral("PurchaseRegister"), purchases},
            {DbFile::Invoice, QStringLiteral("PrintInvoice"), printInvoice},
            {DbFile::Invoice, QStringLiteral("MonthlyReport"), monthly}};
}

QStringList CreateViewSql(DbFile file)
{
    QStringList statements;
    for (const ViewDef& view : FileViews())
        if (view.file == file)
            statements << QStringLiteral("CREATE VIEW IF NOT EXISTS %1.%2 AS %3")
                              .arg(quoted(SchemaName(file)), quoted(view.name), view.select);
    return statements;
}

QString ConnectionPrintInvoiceSelect()
{
    // The company record of the invoice's seller: the first of its name and
    // GSTIN, else the first of its name.
    const QString company = quoted(SchemaName(DbFile::Master)) + QStringLiteral(".Company");
    const QString firstOfName =
        QStringLiteral("(SELECT rowid FROM %1 WHERE Name = p.SalerCompany %2 ORDER BY sno, rowid LIMIT 1)");
    return QStringLiteral("SELECT p.*, c.address AS SalerAddress, c.Dist AS SalerDist, c.State AS SalerState, "
                          "c.Pin AS SalerPin FROM %1.\"PrintInvoice\" AS p LEFT JOIN %2 AS c ON c.rowid = "
                          "coalesce(%3, %4) ORDER BY p.Sno")
        .arg(quoted(SchemaName(DbFile::Invoice)), company,
             firstOfName.arg(company, QStringLiteral("AND Gstin IS NOT DISTINCT FROM p.SalerGstin")),
             firstOfName.arg(company, QString()));
}

QStringList CreateConnectionViewSql()
{
    return {QStringLiteral("CREATE TEMP VIEW IF NOT EXISTS \"PrintInvoice\" AS ") + ConnectionPrintInvoiceSelect()};
}

// GoodsInvoice is never scanned for a serial but holds one record per
// invoice, found by the invoice's serial.
static QString indexedSerial(const TableDef& table)
{
    return table.name == QLatin1String("GoodsInvoice") ? QStringLiteral("sno") : table.serialField;
}

std::vector<IndexDef> UniqueIndexes(const TableDef& table)
{
    std::vector<IndexDef> indexes;
    for (const QString& field : {indexedSerial(table), table.codeField})
        if (!field.isEmpty())
            indexes.push_back({QStringLiteral("uq_%1_%2").arg(table.name, field), table.name, field});
    return indexes;
}

QString CreateIndexSql(DbFile file, const IndexDef& index)
{
    return QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS %1.%2 ON %3 (%4)")
        .arg(quoted(SchemaName(file)), quoted(index.name), quoted(index.table), quoted(index.field));
}

QString OldSerialIndexName(const TableDef& table)
{
    const QString field = indexedSerial(table);
    return field.isEmpty() ? QString() : QStringLiteral("idx_%1_%2").arg(table.name, field);
}

std::vector<IndexDef> LookupIndexes(const QString& table)
{
    static const std::vector<IndexDef> all{{QStringLiteral("idx_InvoiceStock_sno"), QStringLiteral("InvoiceStock"), QStringLiteral("sno")},
                                           {QStringLiteral("idx_SaleNote_invoice"), QStringLiteral("SaleNote"), QStringLiteral("InvoiceSno")},
                                           {QStringLiteral("idx_SaleNoteLine_sno"), QStringLiteral("SaleNoteLine"), QStringLiteral("sno")},
                                           {QStringLiteral("idx_PaymentAllotment_sno"), QStringLiteral("PaymentAllotment"), QStringLiteral("sno")},
                                           {QStringLiteral("idx_PaymentAllotment_bill"), QStringLiteral("PaymentAllotment"), QStringLiteral("BillSno")},
                                           {QStringLiteral("idx_InvoiceLineTax_sno"), QStringLiteral("InvoiceLineTax"), QStringLiteral("sno")},
                                           {QStringLiteral("idx_OpeningBill_party"), QStringLiteral("OpeningBill"), QStringLiteral("PartyCode")},
                                           {QStringLiteral("idx_BankStatementLine_bank"), QStringLiteral("BankStatementLine"), QStringLiteral("BankKey")}};
    std::vector<IndexDef> of;
    std::copy_if(all.begin(), all.end(), std::back_inserter(of), [&](const IndexDef& i) { return i.table == table; });
    return of;
}

QStringList UpgradeSql(DbFile file, int fromVersion)
{
    QStringList statements;
    // Version 2: registers and the return read one period of invoices by date.
    if (fromVersion < 2 && file == DbFile::Invoice)
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1.\"idx_BuyerInvoice_datekey\" ON \"BuyerInvoice\" (%2)")
                          .arg(quoted(SchemaName(file)), DateKeySql(QStringLiteral("\"InvoiceDate\"")));
    // The purchase and issue reports read one period by its day key. The
    // index is made whatever the version (IF NOT EXISTS: nothing to do once
    // there), so files already at the current version get it as well.
    const auto dayKeyIndex = [&](const char* table, const QString& key) {
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1.\"idx_%2_daykey\" ON \"%2\" (%3)")
                          .arg(quoted(SchemaName(file)), QLatin1String(table), key);
    };
    if (file == DbFile::PurchaseMaster)
        dayKeyIndex("Purchase", PurchaseDayKeySql());
    if (file == DbFile::IssueMaster)
        dayKeyIndex("IssueRegister", IssueDayKeySql());
    // A month's bills by their day, and the lines of a bill.
    if (file == DbFile::PurchaseMaster) {
        dayKeyIndex("PurchaseBill", QStringLiteral("\"BillDay\""));
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1.\"idx_PurchaseBillLine_bill\" ON "
                                     "\"PurchaseBillLine\" (\"BillSno\")")
                          .arg(quoted(SchemaName(file)));
        // A month's supplier notes by their day, and a bill's notes.
        dayKeyIndex("SupplierNote", QStringLiteral("\"NoteDay\""));
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1.\"idx_SupplierNote_bill\" ON \"SupplierNote\" "
                                     "(\"BillSno\")")
                          .arg(quoted(SchemaName(file)));
    }
    // A record's history and a period of the trail are read by these.
    if (file == DbFile::Zlv) {
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1.\"idx_AuditTrail_record\" ON \"AuditTrail\" "
                                     "(\"TableName\", \"RecordKey\")")
                          .arg(quoted(SchemaName(file)));
        statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1.\"idx_AuditTrail_at\" ON \"AuditTrail\" (\"At\")")
                          .arg(quoted(SchemaName(file)));
    }
    for (const TableDef& table : AllTables())
        if (table.file == file)
            for (const IndexDef& index : LookupIndexes(table.name))
                statements << QStringLiteral("CREATE INDEX IF NOT EXISTS %1.%2 ON %3 (%4)")
                                  .arg(quoted(SchemaName(file)), quoted(index.name), quoted(index.table),
                                       quoted(index.field));
    // Version 12: the registration of a note (SaleNoteIrn) is a new table, made
    // as missing tables are, on the server too.
    // Version 13: the items' barcodes (StockBarcode) and reorder levels
    // (StockReorderLevel) and the company's counter settings (CompanyCounter)
    // are new tables, made as missing tables are, on the server too; so are
    // version 14's payments and version 15's InvoiceLineTax, with its lookup
    // index above.
    // Version 16: the books-start day (BooksStart) and the opening bills
    // (OpeningBill) are new tables, made as missing tables are, on the server too.
    // Version 17: the banks' statement columns (BankLayout), the statement
    // lines imported (BankStatementLine, with its lookup index above) and the
    // lines confirmed as receipts or payments (BankMatch) are new tables, made
    // as missing tables are, on the server too.
    // Version 18: the items' opening stock (OpeningStock), a new table made the same way.
    // Version 4: the monthly view made again to leave cancelled invoices' values out
    // (the new tables themselves are made as missing tables are).
    if (fromVersion > 0 && fromVersion < CancelledInvoicesVersion && file == DbFile::Invoice) {
        statements << QStringLiteral("DROP VIEW IF EXISTS %1.\"MonthlyReport\"").arg(quoted(SchemaName(file)));
        statements << CreateViewSql(file).filter(QStringLiteral("\"MonthlyReport\""));
    }
    return statements;
}

} // namespace zelva
