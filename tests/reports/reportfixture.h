#pragma once
// Stock items, purchases and issues written the way the stock and purchase
// forms save them, and the report windows a report form opened.
#include "data/storetest.h"
#include "platform/datetext.h"
#include "ui/reportwindow.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace testing {

inline void addStockItem(zelva::Database& db, int sno, const QString& name, double quantity)
{
    zelva::RecordSource stock(db);
    stock.bind(zelva::DbFile::ItemStock, "Stock");
    if (sno == 0) { // the placeholder is there already: give it a quantity in a band
        stock.edit();
        stock.setValue("Quantity", quantity);
        stock.update();
        return;
    }
    addRecord(stock, { { "sno", sno }, { "itemcode", QString("G%1").arg(sno, 5, 10, QChar('0')) }, { "ItemName", name },
                         { "ItemHsn", "8471" }, { "Rate", 100.0 }, { "Per", "Nos." }, { "Quantity", quantity },
                         { "Remarks", "N.A." } });
}

// A purchase line as the purchase form stores it; sno 0 for a new item.
inline void addPurchase(zelva::Database& db, int psno, int sno, const QString& item, const QDate& day)
{
    zelva::RecordSource purchase(db);
    purchase.bind(zelva::DbFile::PurchaseMaster, "Purchase");
    addRecord(purchase, { { "PSno", psno },
             { "PurchaseId", QString("P%1").arg(psno, 5, 10, QChar('0')) }, { "PurchaseDate", zelva::DateText(day) },
             { "PurchaseOrder", QString("PO-%1").arg(psno) }, { "PurchaseInvoiceNo", QString("SUP/%1").arg(psno) },
             { "PurchaseInvoiceDate", "01/01/2026" }, { "SupplierName", "Metro Supply" }, { "sno", sno },
             { "itemcode", "G00001" }, { "ItemName", item }, { "ItemHsn", "8471" }, { "Rate", 250.5 },
             { "Per", "Nos." }, { "Quantity", 4.0 }, { "Remarks", "N.A." } });
}

// An issue as the issue form stores it: its day also as three numbers.
inline void addIssue(zelva::Database& db, int isno, int sno, const QString& item, const QDate& day)
{
    zelva::RecordSource issue(db);
    issue.bind(zelva::DbFile::IssueMaster, "IssueRegister");
    addRecord(issue,
        { { "ISno", isno }, { "IssueNo", QString("I%1").arg(isno, 5, 10, QChar('0')) },
            { "IssueDate", zelva::DateText(day) }, { "IssueTime", "10:00:00" }, { "IssueTo", "Workshop" },
            { "IssuedBy", "Anil" }, { "sno", sno }, { "itemcode", "G00001" }, { "ItemName", item }, { "Rate", 75.25 },
            { "Quantity", 2.0 }, { "Remarks", "N.A." }, { "issuedd", day.day() }, { "issuemm", day.month() },
            { "issueyy", day.year() } });
}

inline QList<zelva::ReportWindow*> reportWindows(QMdiArea& area)
{
    QList<zelva::ReportWindow*> windows;
    for (QMdiSubWindow* frame : area.subWindowList())
        if (auto* window = qobject_cast<zelva::ReportWindow*>(frame->widget()))
            windows << window;
    return windows;
}

// Closes the report window as its close box does, and lets it go.
inline void closeReport(zelva::ReportWindow* window)
{
    window->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The values a report window shows in one column, page after page.
inline QStringList shownColumn(const zelva::ReportWindow& window, const QString& column)
{
    QStringList values;
    for (const zelva::report::ReportPage& page : window.pages())
        for (const zelva::report::PlacedText& text : page.texts)
            if (text.column == column)
                values << text.text;
    return values;
}

} // namespace testing
