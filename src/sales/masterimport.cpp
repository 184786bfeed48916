#include "sales/masterimport.h"

#include "data/dataerror.h"
#include "data/database.h"
#include "data/audittrail.h"
#include "data/batchinsert.h"
#include "data/recordsource.h"
#include "data/serials.h"
#include "gst/gstrates.h"
#include "gst/gststates.h"
#include "platform/datetext.h"
#include "platform/money.h"
#include "platform/textnum.h"
#include "sales/gstratestore.h"
#include "sales/opening.h"
#include "sales/openingstock.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <optional>

namespace zelva {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("MasterImport", text);
}

const QString GstRateField = QStringLiteral("GstRate");
// A buyer's or supplier's opening balance: one amount, kept as its opening bill (sales/opening.h).
const QString OpeningField = QStringLiteral("OpeningBalance");
// An item's opening cost per unit, kept with its opening stock (sales/openingstock.h).
const QString OpeningCostField = QStringLiteral("OpeningCost");
const QString NotGiven = QStringLiteral("N.A.");

// Where a kind's records are kept and how they are named and coded.
struct MasterTable {
    DbFile file;
    QString table;
    QString codeField;
    QString nameField;
    CodeKind codeKind;
    QStringList numberFields; // blank stores "0", other blanks "N.A."
};

const MasterTable& tableOf(MasterKind kind)
{
    static const MasterTable buyers{DbFile::Customer, "CustomerDetails", "bid", "Name", CodeKind::Buyer, {}};
    static const MasterTable suppliers{DbFile::PurchaseMaster, "Supplier", "SupplierId", "Name", CodeKind::Supplier, {}};
    static const MasterTable items{DbFile::ItemStock, "Stock", "itemcode", "ItemName", CodeKind::Item,
                                   {"Rate", "Quantity"}};
    switch (kind) {
    case MasterKind::Buyer: return buyers;
    case MasterKind::Supplier: return suppliers;
    case MasterKind::Item: break;
    }
    return items;
}

// A header as it is compared: letters and digits only, in small letters.
QString headerKey(const QString& header)
{
    QString key;
    for (const QChar c : header)
        if (c.isLetterOrNumber())
            key += c.toLower();
    return key;
}

// A name as it is compared for doubles: blanks around and case aside.
QString nameKey(const QString& name)
{
    return name.simplified().toCaseFolded();
}

bool isBlank(const QString& value)
{
    return value.trimmed().isEmpty() || value.trimmed() == NotGiven;
}

const ImportColumn* columnOfHeader(MasterKind kind, const QString& header)
{
    const QString key = headerKey(header);
    if (key.isEmpty())
        return nullptr;
    for (const ImportColumn& column : ImportColumns(kind)) {
        if (headerKey(column.header) == key || headerKey(column.field) == key)
            return &column;
        for (const QString& alias : column.aliases)
            if (headerKey(alias) == key)
                return &column;
    }
    return nullptr;
}

// --- the checks of one row ---

struct RowContext {
    MasterKind kind;
    QDate day;
    GstRateTable rates;
    std::optional<bool> aboveFiveCrore;
    std::optional<QDate> booksStart;
};

void checkNumber(ImportRow& row, const ImportColumn& column)
{
    const QString value = row.values.value(column.field);
    double number = 0;
    if (!value.trimmed().isEmpty() && !ReadNumber(value, number))
        row.problems << NotANumberMessage(column.header, value.trimmed());
}

void checkGstEntries(ImportRow& row)
{
    const QString gstin = row.values.value("Gstin");
    const QString state = row.values.value("State");
    const GstinCheck check = CheckGstin(gstin);
    if (!check.warning().isEmpty())
        row.problems << check.warning();
    const GstState* named = isBlank(state) ? nullptr : FindGstState(state);
    if (!isBlank(state) && !named)
        row.problems << StateProblem(state);
    if (const QString problem = GstinStateProblem(gstin, state); !problem.isEmpty())
        row.problems << problem;
}

void checkPin(ImportRow& row)
{
    static const QRegularExpression sixDigits(QStringLiteral("^[0-9]{6}$"));
    const QString pin = row.values.value("Pin").trimmed();
    if (!isBlank(pin) && !sixDigits.match(pin).hasMatch())
        row.problems << tr("The PIN \"%1\" is not six digits.").arg(pin);
}

void checkItem(ImportRow& row, const RowContext& context)
{
    if (context.aboveFiveCrore) {
        const QString problem = HsnLengthProblem(row.values.value("ItemHsn"), *context.aboveFiveCrore);
        if (!problem.isEmpty())
            row.problems << problem;
    }
    const QString cost = row.values.value(OpeningCostField).trimmed();
    Paise unitCost = 0;
    if (!cost.isEmpty() && ReadAmount(cost, unitCost) && unitCost < 0)
        row.problems << tr("The opening cost %1 is below nothing.").arg(cost);
    const QString typed = row.values.value(GstRateField).trimmed();
    double rate = 0;
    if (typed.isEmpty() || !ReadNumber(typed, rate))
        return; // a blank rate is none; a text that is not a number is named already
    if (!PortalAcceptsRate(rate))
        row.problems << tr("The GST portal does not accept a rate of %1%.").arg(typed);
    else if (!RateInForce(context.rates, rate, context.day))
        row.problems << tr("A GST rate of %1% is not in force on %2.").arg(typed, DateText(context.day));
}

void checkOpening(ImportRow& row, const RowContext& context)
{
    const QString typed = row.values.value(OpeningField).trimmed();
    Paise amount = 0;
    if (typed.isEmpty() || !ReadAmount(typed, amount))
        return; // none given; a text that is not a number is named already
    if (amount < 0)
        row.problems << tr("The opening balance %1 is below nothing.").arg(typed);
    else if (amount > 0 && !context.booksStart)
        row.problems << tr("An opening balance needs the day the books start here, on Company Details.");
}

void checkRow(ImportRow& row, const RowContext& context)
{
    for (const ImportColumn& column : ImportColumns(context.kind))
        if (column.number)
            checkNumber(row, column);
    if (context.kind == MasterKind::Item) {
        checkItem(row, context);
        return;
    }
    checkGstEntries(row);
    if (context.kind == MasterKind::Buyer)
        checkPin(row);
    checkOpening(row, context);
}

struct ExistingRecord {
    qint64 key;
    QString code;
};

// The masters' names as compared, with their records; the placeholder aside.
QHash<QString, ExistingRecord> existingNames(Database& db, const MasterTable& table)
{
    RecordSource source(db);
    source.bind(table.file, table.table);
    std::vector<qint64> keys;
    const auto values = source.readList({"sno", table.nameField, table.codeField}, keys);
    QHash<QString, ExistingRecord> names;
    for (size_t i = 0; i < keys.size(); ++i)
        if (values[0][i].toLongLong() != 0)
            names.insert(nameKey(values[1][i].toString()), {keys[i], values[2][i].toString()});
    return names;
}

// Which column each header cell gives; "" for none. problem names a column given twice.
QStringList columnsOfHeader(MasterKind kind, const QStringList& header, const ColumnMapping& mapping, QString& problem)
{
    QStringList columns;
    QHash<QString, QString> cellOfColumn;
    for (const QString& cell : header) {
        const ImportColumn* column = nullptr;
        if (mapping.contains(cell)) {
            const QString mapped = mapping.value(cell);
            column = mapped.isEmpty() ? nullptr : columnOfHeader(kind, mapped);
        } else {
            column = columnOfHeader(kind, cell);
        }
        const QString given = column ? column->header : QString();
        if (column && cellOfColumn.contains(given) && problem.isEmpty())
            problem = tr("The columns \"%1\" and \"%2\" both give %3: map one of them to another column or to none.")
                          .arg(cellOfColumn.value(given), cell, given);
        if (column)
            cellOfColumn.insert(given, cell);
        columns << given;
    }
    if (problem.isEmpty() && cellOfColumn.isEmpty())
        problem = tr("The first row is not a header row: none of its cells names a column (%1, ...).")
                      .arg(ImportColumns(kind).front().header);
    else if (problem.isEmpty() && !cellOfColumn.contains(ImportColumns(kind).front().header))
        problem = tr("No column gives %1: name or map one.").arg(ImportColumns(kind).front().header);
    return columns;
}

QString fieldOfHeader(MasterKind kind, const QString& header)
{
    const ImportColumn* column = header.isEmpty() ? nullptr : columnOfHeader(kind, header);
    return column ? column->field : QString();
}

// --- storing ---

// What a row stores in its record, by field.
QHash<QString, QVariant> recordValues(MasterKind kind, const ImportRow& row, bool isNew)
{
    const MasterTable& table = tableOf(kind);
    QHash<QString, QVariant> values;
    for (const ImportColumn& column : ImportColumns(kind)) {
        if (column.field == GstRateField || column.field == OpeningField || column.field == OpeningCostField)
            continue;
        // A new item comes with its opening stock on hand, as its form stores
        // it; after that stock moves only through its own changes, so an
        // update keeps the quantity on hand.
        if (column.field == "Quantity") {
            if (isNew)
                values.insert(column.field, Val(row.values.value(column.field)));
            continue;
        }
        const QString text = row.values.value(column.field).trimmed();
        if (text.isEmpty() && !isNew)
            continue; // an empty cell keeps what is stored
        // What the form stores for a blank box: "0" for a number, else "N.A.".
        if (table.numberFields.contains(column.field))
            values.insert(column.field, text.isEmpty() ? 0.0 : Val(text));
        else
            values.insert(column.field, text.isEmpty() ? NotGiven : text);
    }
    return values;
}

void writeValues(RecordSource& source, MasterKind kind, const ImportRow& row)
{
    const QHash<QString, QVariant> values = recordValues(kind, row, false);
    for (auto value = values.constBegin(); value != values.constEnd(); ++value)
        source.setValue(value.key(), value.value());
}

// The rate a row gives its item; nothing when it keeps the one stored.
std::optional<std::optional<double>> rateOf(const ImportRow& row)
{
    if (!row.values.contains(GstRateField))
        return std::nullopt;
    const QString typed = row.values.value(GstRateField).trimmed();
    if (typed.isEmpty() && row.existingKey >= 0)
        return std::nullopt; // an empty cell keeps the item's rate
    return typed.isEmpty() ? std::nullopt : std::optional<double>(Val(typed));
}

void storeRate(Database& db, const ImportRow& row, const QString& code)
{
    if (const auto rate = rateOf(row))
        StoreItemGstRateWithin(db, code, *rate);
}

// An opening balance given replaces the party's opening bills with that one
// amount (nothing for 0); an empty cell keeps them.
void storeOpening(Database& db, MasterKind kind, const ImportRow& row, const QString& code, const QString& operation)
{
    const QString typed = row.values.value(OpeningField).trimmed();
    Paise amount = 0;
    if (kind == MasterKind::Item || typed.isEmpty() || !ReadAmount(typed, amount))
        return;
    std::vector<OpeningBill> bills;
    if (amount > 0)
        bills.push_back(OneOpeningAmount(amount, BooksStartDay(db).value_or(QDate())));
    const QString refused = StoreOpeningBillsWithin(
        db, kind == MasterKind::Buyer ? PartyKind::Buyer : PartyKind::Supplier, code, bills);
    if (!refused.isEmpty())
        throw DataError(operation, db.placeOf(DbFile::Master), tr("%1 (row %2): %3").arg(code).arg(row.line).arg(refused));
}

// An update with an Opening Cost given changes the item's cost only (an
// item of no opening stock kept takes what it had before its recorded
// movements); an empty cell keeps the opening stock.
class OpeningStockImport {
public:
    explicit OpeningStockImport(Database& db) : m_db(db) {}

    void store(const ImportRow& row, const QString& code, double onHand)
    {
        if (row.values.value(OpeningCostField).trimmed().isEmpty())
            return;
        const std::optional<Paise> cost = OpeningCostTyped(row.values.value(OpeningCostField));
        const std::optional<OpeningStock> kept = LoadOpeningStock(m_db, code);
        StoreOpeningStockWithin(m_db, code, OpeningStock{kept ? kept->quantity : openingOf(code, onHand), cost});
    }

private:
    double openingOf(const QString& code, double onHand)
    {
        if (!m_movementsRead) {
            m_movements = LoadStockMovements(m_db);
            m_movementsRead = true;
        }
        return OpeningQuantityFrom(onHand, m_movements.value(code));
    }

    Database& m_db;
    QHash<QString, StockMovements> m_movements; // read once, when first wanted
    bool m_movementsRead = false;
};

// The new records of an import, gathered row by row and written together:
// each record under the next free code, an item's rate and opening stock
// (its quantity on hand in the new record, as the item form stores it, and
// kept with its cost), and their audit entries in the order storing them one
// by one logs them. What the codes and the kept rates need is read once,
// before the first row.
class NewRecords {
public:
    NewRecords(Database& db, MasterKind kind, QString operation)
        : m_kind(kind)
        , m_table(tableOf(kind))
        , m_operation(std::move(operation))
        , m_audit(db)
        , m_records(db, m_table.file, m_table.table, m_audit)
    {
        if (kind == MasterKind::Item) {
            m_rates.emplace(db, m_audit);
            m_opening.emplace(db, m_audit);
        }
        QSqlQuery codes = db.run(QStringLiteral("SELECT \"%1\" FROM \"%2\".\"%3\"")
                                     .arg(m_table.codeField, SchemaName(m_table.file), m_table.table),
                                 {}, m_operation, m_table.file);
        while (codes.next())
            m_codesTaken.insert(codes.value(0).toString());
        m_serial = NextSerial(db, m_table.file, m_table.table, "sno") - 1;
    }

    // Gathers the row as a new record; gives its code.
    QString add(const ImportRow& row)
    {
        // Inside the transaction no other copy adds a record: the serials
        // after the highest are free, and their codes unless a record has one.
        do
            ++m_serial;
        while (m_codesTaken.contains(RecordCode(m_table.codeKind, m_serial)));
        const QString code = RecordCode(m_table.codeKind, m_serial);
        m_codesTaken.insert(code);
        QHash<QString, QVariant> values = recordValues(m_kind, row, true);
        values.insert("sno", m_serial);
        values.insert(m_table.codeField, code);
        m_records.add(values);
        if (m_kind == MasterKind::Item) {
            if (const auto rate = rateOf(row))
                m_rates->store(code, *rate);
            const double quantity = values.value("Quantity").toDouble();
            const std::optional<Paise> cost = OpeningCostTyped(row.values.value(OpeningCostField));
            if (quantity != 0 || cost)
                m_opening->store(code, OpeningStock{quantity, cost});
        }
        return code;
    }

    void write()
    {
        m_records.write();
        if (m_rates)
            m_rates->write();
        if (m_opening)
            m_opening->write();
        m_audit.write();
    }

private:
    MasterKind m_kind;
    const MasterTable& m_table;
    QString m_operation;
    AuditBatch m_audit;
    RecordAppender m_records;
    std::optional<ItemGstRateBatch> m_rates;
    std::optional<OpeningStockBatch> m_opening;
    QSet<QString> m_codesTaken;
    qint64 m_serial = 0;
};

QString kindWord(MasterKind kind, int count)
{
    switch (kind) {
    case MasterKind::Buyer: return count == 1 ? tr("buyer") : tr("buyers");
    case MasterKind::Supplier: return count == 1 ? tr("supplier") : tr("suppliers");
    case MasterKind::Item: break;
    }
    return count == 1 ? tr("stock item") : tr("stock items");
}

} // namespace

const std::vector<ImportColumn>& ImportColumns(MasterKind kind)
{
    static const std::vector<ImportColumn> buyers{
        {"Name", tr("Name"), {tr("Buyer Name"), tr("Buyer")}},
        {"address", tr("Address"), {}},
        {"Dist", tr("District"), {tr("City")}},
        {"State", tr("State"), {}},
        {"Pin", tr("Pin"), {tr("PIN Code"), tr("Pincode")}},
        {"Gstin", tr("GSTIN/UIN"), {tr("GSTIN"), tr("GST No.")}},
        {"Phone", tr("Contact No."), {tr("Phone"), tr("Mobile")}},
        {"Email", tr("eMail"), {}},
        {"Website", tr("Website"), {}},
        {"Remarks", tr("Remarks"), {}},
        {OpeningField, tr("Opening Balance"), {tr("Opening Amount"), tr("Opening")}, true}};
    static const std::vector<ImportColumn> suppliers{
        {"Name", tr("Name"), {tr("Supplier Name"), tr("Supplier")}},
        {"address", tr("Address"), {}},
        {"State", tr("State"), {}},
        {"Gstin", tr("GSTIN"), {tr("GSTIN/UIN"), tr("GST No.")}},
        {"Phone", tr("Contact No."), {tr("Phone"), tr("Mobile")}},
        {"Email", tr("eMail"), {}},
        {"Remarks", tr("Remarks"), {}},
        {OpeningField, tr("Opening Balance"), {tr("Opening Amount"), tr("Opening")}, true}};
    static const std::vector<ImportColumn> items{
        {"ItemName", tr("Item Name"), {tr("Item"), tr("Name")}},
        {"ItemHsn", tr("HSN/ SAC"), {tr("HSN"), tr("SAC"), tr("HSN Code")}},
        {GstRateField, tr("GST Rate %"), {tr("GST Rate"), tr("GST")}, true},
        {"Rate", tr("Rate (Rs.)"), {tr("Rate"), tr("Price")}, true},
        {"Per", tr("Per"), {tr("Unit")}},
        {"Quantity", tr("Opening Quantity"), {tr("Quantity"), tr("Stock")}, true},
        {OpeningCostField, tr("Opening Cost"), {tr("Cost"), tr("Cost Price"), tr("Opening Rate")}, true},
        {"Remarks", tr("Remarks"), {}}};
    switch (kind) {
    case MasterKind::Buyer: return buyers;
    case MasterKind::Supplier: return suppliers;
    case MasterKind::Item: break;
    }
    return items;
}

QString MasterKindText(MasterKind kind)
{
    switch (kind) {
    case MasterKind::Buyer: return tr("Buyers");
    case MasterKind::Supplier: return tr("Suppliers");
    case MasterKind::Item: break;
    }
    return tr("Stock Items");
}

std::vector<QStringList> ImportTemplate(MasterKind kind)
{
    QStringList header;
    for (const ImportColumn& column : ImportColumns(kind))
        header << column.header;
    switch (kind) {
    case MasterKind::Buyer:
        return {header, {"Sri Murugan Stores", "12, Gandhi Road", "Madurai", "Tamil Nadu", "625001", "33AAAPL1234C1ZL",
                         "9876543210", "murugan@example.com", "N.A.", "", ""}};
    case MasterKind::Supplier:
        return {header, {"Deccan Paper Mills", "Plot 4, Industrial Area", "Karnataka", "29AAACD1234F1Z3",
                         "8012345678", "sales@example.com", "", ""}};
    case MasterKind::Item: break;
    }
    return {header, {"A4 Copier Paper 75 gsm", "48025690", "18", "245.50", "Ream", "120", "210.00", ""}};
}

QString ImportRow::becomes() const
{
    if (!problems.isEmpty())
        return tr("left out");
    if (skipped)
        return tr("skipped: %1 has this name").arg(existingCode);
    return existingKey >= 0 ? tr("update %1").arg(existingCode) : tr("new");
}

QString ImportRow::reason() const
{
    if (skipped && problems.isEmpty())
        return tr("The name is in the masters already (%1); skipped.").arg(existingCode);
    return problems.join(QLatin1Char(' '));
}

int ImportPreview::goodRows() const
{
    return int(std::count_if(rows.begin(), rows.end(), [](const ImportRow& row) { return row.good(); }));
}

ImportPreview PreviewMasterImport(Database& db, MasterKind kind, const std::vector<QStringList>& rows,
                                  const ColumnMapping& mapping, ExistingName existing, const QDate& day,
                                  const std::function<bool(int)>& progress)
{
    ImportPreview preview;
    preview.kind = kind;
    if (rows.empty()) {
        preview.problem = tr("The file holds no rows.");
        return preview;
    }
    preview.header = rows.front();
    preview.columnOfCell = columnsOfHeader(kind, preview.header, mapping, preview.problem);
    if (!preview.problem.isEmpty())
        return preview;
    if (rows.size() == 1) {
        preview.problem = tr("The file has a header row but no rows under it.");
        return preview;
    }
    const MasterTable& table = tableOf(kind);
    const QHash<QString, ExistingRecord> inMasters = existingNames(db, table);
    RowContext context{kind, day, {}, {}, {}};
    if (kind == MasterKind::Item) {
        context.rates = LoadGstRates(db);
        context.aboveFiveCrore = LoadFirstCompanyAboveFiveCrore(db);
    } else {
        context.booksStart = BooksStartDay(db);
    }
    QStringList fields;
    for (const QString& header : preview.columnOfCell)
        fields << fieldOfHeader(kind, header);
    QHash<QString, int> lineOfName;
    for (size_t i = 1; i < rows.size(); ++i) {
        if (progress && i % 500 == 0 && !progress(int(i))) {
            preview.problem = tr("The check was cancelled: nothing is stored.");
            return preview;
        }
        ImportRow row;
        row.line = int(i) + 1;
        row.cells = rows[i];
        if (std::all_of(row.cells.begin(), row.cells.end(), [](const QString& c) { return c.trimmed().isEmpty(); }))
            continue; // an empty line between the rows is no row
        for (int c = 0; c < fields.size(); ++c)
            if (!fields[c].isEmpty())
                row.values.insert(fields[c], c < row.cells.size() ? row.cells[c].trimmed() : QString());
        const QString name = row.values.value(table.nameField).simplified();
        row.values.insert(table.nameField, name);
        if (name.isEmpty())
            row.problems << tr("The row has no %1.").arg(ImportColumns(kind).front().header);
        else if (lineOfName.contains(nameKey(name)))
            row.problems << tr("The name is also in row %1 of the file.").arg(lineOfName.value(nameKey(name)));
        else
            lineOfName.insert(nameKey(name), row.line);
        if (const auto found = inMasters.constFind(nameKey(name)); !name.isEmpty() && found != inMasters.constEnd()) {
            row.existingKey = found->key;
            row.existingCode = found->code;
            row.skipped = existing == ExistingName::Skip;
        }
        checkRow(row, context);
        preview.rows.push_back(std::move(row));
    }
    return preview;
}

QString ImportResult::text(const ImportPreview& preview) const
{
    QString text = tr("Imported %1 %2: %3 new, %4 updated.")
                       .arg(added + updated)
                       .arg(kindWord(preview.kind, added + updated))
                       .arg(added)
                       .arg(updated);
    if (const int left = preview.leftOutRows())
        text += ' ' + (left == 1 ? tr("1 row was left out.") : tr("%1 rows were left out.").arg(left));
    return text;
}

ImportResult StoreMasterImport(Database& db, const ImportPreview& preview, const std::function<bool(int)>& progress)
{
    const QString operation = tr("import the %1").arg(kindWord(preview.kind, 2));
    if (!preview.problem.isEmpty())
        throw DataError(operation, db.placeOf(tableOf(preview.kind).file), preview.problem);
    const MasterTable& table = tableOf(preview.kind);
    ImportResult result;
    const LargeWriteCache cache(db, {table.file, DbFile::Zlv}); // the records and their audit entries
    Transaction transaction(db, operation);
    RecordSource source(db);
    source.bind(table.file, table.table);
    NewRecords newRecords(db, preview.kind, operation);
    int done = 0;
    OpeningStockImport openingStock(db);
    for (const ImportRow& row : preview.rows) {
        if (!row.good())
            continue;
        if (progress && ++done % 500 == 0 && !progress(done))
            return ImportResult{0, 0, true}; // the transaction rolls back
        QString code = row.existingCode;
        if (row.existingKey >= 0) {
            // An update goes record by record, after what was gathered (the trail keeps the rows' order).
            newRecords.write();
            // The key alone could be a record added since under the key of one that went.
            if (!source.moveToKey(row.existingKey) || source.value(table.codeField).toString() != row.existingCode)
                throw DataError(operation, db.placeOf(table.file),
                                tr("%1 (row %2) is no longer in the masters").arg(row.existingCode).arg(row.line));
            source.edit();
            writeValues(source, preview.kind, row);
            source.update();
            ++result.updated;
            storeRate(db, row, code);
            if (preview.kind == MasterKind::Item)
                openingStock.store(row, code, source.value("Quantity").toDouble());
        } else {
            code = newRecords.add(row);
            ++result.added;
        }
        if (preview.kind != MasterKind::Item && !row.values.value(OpeningField).trimmed().isEmpty()) {
            newRecords.write(); // the bills are logged after their party
            storeOpening(db, preview.kind, row, code, operation);
        }
    }
    newRecords.write();
    transaction.commit();
    return result;
}

std::vector<QStringList> RejectedRows(const ImportPreview& preview)
{
    std::vector<QStringList> rows{preview.header + QStringList{tr("Reason")}};
    for (const ImportRow& row : preview.rows) {
        if (row.good())
            continue;
        QStringList cells = row.cells;
        while (cells.size() < preview.header.size())
            cells << QString();
        rows.push_back(cells << row.reason());
    }
    return rows;
}

} // namespace zelva
