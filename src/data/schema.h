#pragma once
// The eight database files, their tables and fields.
#include <QString>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace zelva {

enum class DbFile { Zlv, Master, Customer, Invoice, ItemStock, OtherItemStock, PurchaseMaster, IssueMaster };

const std::vector<DbFile>& AllDbFiles();
// Path relative to the data folder, "/" separated ("Database/Invoice.db").
QString RelativePath(DbFile file);
// The name the file is attached under on the shared connection.
QString SchemaName(DbFile file);

enum class FieldKind { Text, Number, Serial };

struct FieldDef {
    QString name;
    FieldKind kind;
};

struct TableDef {
    DbFile file;
    QString name;
    std::vector<FieldDef> fields;
    QString serialField; // empty when New never scans the table
    bool placeholder;    // created with a record of serial 0
    QString codeField = {}; // the record code kept unique beside the serial
};

const std::vector<TableDef>& AllTables();
// The table of that name (exact case), nullptr when there is none.
const TableDef* FindTable(const QString& name);

// CREATE statements for the file's tables, views and indexes (IF NOT EXISTS),
// qualified with the file's schema name.
QString CreateTableSql(const TableDef& table);
QStringList CreateViewSql(DbFile file);
// The read-only views a file holds, each as the SELECT that makes it (over
// the file's own tables, unqualified), shared by both stores.
struct ViewDef {
    DbFile file;
    QString name;
    QString select;
};
std::vector<ViewDef> FileViews();
// The unique indexes on the table's serial and code (none for Login): no two
// records share a serial or a code. And all of a file's.
struct IndexDef {
    QString name;
    QString table;
    QString field;
};
std::vector<IndexDef> UniqueIndexes(const TableDef& table);
QString CreateIndexSql(DbFile file, const IndexDef& index);
// The plain indexes a table's records are looked up by another record's
// serial through (an invoice's stock takings, its notes, a note's lines), so
// that a save reads only its own rows however many the books hold. Both
// stores make them whatever the version (IF NOT EXISTS).
std::vector<IndexDef> LookupIndexes(const QString& table);
// The plain serial index files of version 1 carry ("" when none).
QString OldSerialIndexName(const TableDef& table);

// A stored date text ("dd/mm/yyyy", any one-character separator, one-digit day
// or month allowed) as SQL expressions over the column: day, month, year as
// whole numbers, and the day's key yyyymmdd for ranges. BuyerInvoice is
// indexed on the key of InvoiceDate, so a query that compares
// DateKeySql("InvoiceDate") (qualified or not) reads only the rows in range.
QString DateDaySql(const QString& column);
QString DateMonthSql(const QString& column);
QString DateYearSql(const QString& column);
QString DateKeySql(const QString& column);

// The day keys (yyyymmdd) the purchase and issue reports select periods by:
// a purchase by the key of its PurchaseDate text (the column as the
// PurchaseRegister view shows it), an issue by its stored issueyy, issuemm
// and issuedd. Both tables are indexed on these expressions.
QString PurchaseDayKeySql();
QString IssueDayKeySql();

// The steps that bring a file of an older version (0: made elsewhere or
// before versions were kept) up to SchemaVersion, after its tables exist.
QStringList UpgradeSql(DbFile file, int fromVersion);

// Views that join files: a view stored in one file cannot read another, so
// these live on the connection only (TEMP) and are made afresh at each open.
// PrintInvoice here is the file's PrintInvoice with the seller's address,
// Dist, State and Pin from the company record the invoice names.
QStringList CreateConnectionViewSql();
QString ConnectionPrintInvoiceSelect();

// 1: the tables and views; 2: the invoices indexed by date; 3: unique serials
// and codes; 4: cancelled invoices, the stock each invoice took off and the
// months whose return is filed (new tables), the monthly view leaving the
// cancelled invoices' values out; 5: credit and debit notes against saved
// invoices and their lines (new tables SaleNote and SaleNoteLine); 6: receipts,
// what of each went to which invoice, cancelled receipts and the buyers' credit
// limits (new tables); 8: each invoice's transport details and its registration
// (IRN, acknowledgement, signed QR code), a company's UPI ID and e-way bill
// limit (new tables).
constexpr int UniqueCodesVersion = 3;
constexpr int CancelledInvoicesVersion = 4;
constexpr int SaleNotesVersion = 5;
constexpr int ReceiptsVersion = 6;
// 7: input tax: the suppliers (Supplier), the purchase bills (PurchaseBill)
// and the GST of each purchase line (PurchaseBillLine, keyed by the
// Purchase record's PSno); new tables in PurchaseMaster, Purchase unchanged.
constexpr int PurchaseTaxVersion = 7;
constexpr int EInvoiceVersion = 8;
// 9: the GST rates as dated data (GstRate), each stock item's rate
// (StockGstRate) and the company's turnover band (CompanyTurnover); new
// tables, the old ones unchanged.
constexpr int GstRatesVersion = 9;
// 10: the suppliers' credit and debit notes against their bills (new table
// SupplierNote in PurchaseMaster); a bill's ItcEligible holds its kind of
// credit (1 eligible, 0 blocked as before, 2 reversed for now, 3 ineligible).
constexpr int SupplierNotesVersion = 10;
// 11: the audit trail (AuditTrail in ZLV.db, a new table), indexed by record and time.
constexpr int AuditTrailVersion = 11;
// 12: the portal's answer to a credit or debit note's e-invoice (SaleNoteIrn).
constexpr int NoteRegistrationVersion = 12;
// 13: the stock items' barcodes and reorder levels, the company's receipt roll
// and scanning (new tables StockBarcode, StockReorderLevel, CompanyCounter).
constexpr int BarcodesVersion = 13;
// 14: payments to suppliers, what of each went to which bill, cancelled
// payments (new tables Payment, PaymentAllotment, CancelledPayment in
// PurchaseMaster).
constexpr int PaymentsVersion = 14;
// 15: each invoice line's GST rate and tax (InvoiceLineTax, a new table); the
// grid keeps the goods' tax rows as their sums.
constexpr int InvoiceLineTaxVersion = 15;
// 16: the day the books start here (BooksStart) and the buyers' and
// suppliers' opening bills (OpeningBill), new tables in Master.
constexpr int OpeningBalancesVersion = 16;
// 17: bank statements: each bank's statement columns (BankLayout), the
// statement lines imported (BankStatementLine) and those confirmed as a
// receipt or a payment (BankMatch), new tables in Master.
constexpr int BankStatementVersion = 17;
// 18: the stock items' opening stock, the quantity on hand on the day the
// books start here and its cost per unit (OpeningStock, a new table in ItemStock).
constexpr int OpeningStockVersion = 18;
// The latest of the steps above, whatever order they were added in.
constexpr int SchemaVersion =
    std::max({PaymentsVersion, InvoiceLineTaxVersion, OpeningBalancesVersion, BankStatementVersion, OpeningStockVersion});
// The longest unit ("Per") an item may have: what an invoice line's Per box holds.
constexpr int LongestUnit = 12;

} // namespace zelva
