#include "sales/firstrun.h"

#include "data/database.h"
#include "data/schema.h"
#include "sales/opening.h"

#include <QSqlQuery>

namespace zelva {

namespace {

// Whether the table holds a record other than its placeholder.
bool holdsRecords(Database& db, DbFile file, const char* table, const char* serialField)
{
    QSqlQuery q = db.run(QStringLiteral("SELECT 1 FROM \"%1\".\"%2\" WHERE \"%3\" <> 0 LIMIT 1")
                             .arg(SchemaName(file), QLatin1String(table), QLatin1String(serialField)),
                         {}, QStringLiteral("read how far the books are set up"), file);
    return q.next();
}

} // namespace

bool FirstRunProgress::setUp() const
{
    return isDone(FirstRunStep::Company) && isDone(FirstRunStep::Buyers) && isDone(FirstRunStep::Items) &&
           isDone(FirstRunStep::FirstInvoice);
}

FirstRunProgress LoadFirstRunProgress(Database& db)
{
    FirstRunProgress progress;
    const auto set = [&](FirstRunStep step, bool done) { progress.done[static_cast<std::size_t>(step)] = done; };
    set(FirstRunStep::Company, holdsRecords(db, DbFile::Master, "Company", "sno"));
    set(FirstRunStep::Buyers, holdsRecords(db, DbFile::Customer, "CustomerDetails", "sno"));
    set(FirstRunStep::Items, holdsRecords(db, DbFile::ItemStock, "Stock", "sno"));
    set(FirstRunStep::OpeningBalances, BooksStartDay(db).has_value());
    set(FirstRunStep::FirstInvoice, holdsRecords(db, DbFile::Invoice, "BuyerInvoice", "sno"));
    return progress;
}

} // namespace zelva
