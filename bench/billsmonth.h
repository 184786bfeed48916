#pragma once
// A month of 2,000 purchase bills (two lines each, August 2026), seeded
// straight into the files, and the bare SQLite query that reads their rows:
// what the benchmarks of the month's bills measure against.
#include "data/database.h"
#include "data/serials.h"
#include "gst/gststates.h"
#include "sales/purchasebill.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <cstdio>

namespace bench {

using namespace zelva;

inline constexpr int MonthBills = 2000;
inline const QString CompanyGstin = QStringLiteral("33AAACH7409R1Z8");

inline QString supplierGstin(int i)
{
    const QString first14 = QStringLiteral("%1AABCS%2K1Z").arg(i % 2 ? "29" : "33").arg(1000 + i % 300, 4, 10, QChar('0'));
    return first14 + GstinCheckCharacter(first14);
}

inline PurchaseBill billOf(int i)
{
    PurchaseBill b;
    b.number = QStringLiteral("B/%1").arg(i);
    b.date = QDate(2026, 8, 1 + i % 31);
    b.supplierName = QStringLiteral("Supplier %1").arg(i % 300);
    b.supplierGstin = supplierGstin(i);
    b.supplierState = i % 2 ? QStringLiteral("Karnataka") : QStringLiteral("Tamil Nadu");
    b.reverseCharge = i % 50 == 0;
    b.credit = i % 40 != 0 ? CreditKind::Eligible : CreditKind::Blocked;
    for (auto [taxable, rate] : {std::pair{Paise(123456 + i), 18.0}, std::pair{Paise(50000), 5.0}}) {
        PurchaseBillLine line;
        line.itemName = QStringLiteral("Item %1").arg(i % 97);
        line.quantity = 1;
        line.rate = ToRupees(taxable);
        line.taxable = taxable;
        line.gstRate = rate;
        b.lines.push_back(line);
    }
    ComputePurchaseTaxes(b, QStringLiteral("Tamil Nadu"), CompanyGstin);
    return b;
}

inline void seedBills(Database& db)
{
    Transaction t(db, "seed bills");
    qint64 serial = 1;
    for (int i = 1; i <= MonthBills; ++i) {
        PurchaseBill b = billOf(i);
        b.serial = i;
        db.run("INSERT INTO PurchaseMaster.PurchaseBill (sno, BillKey, BillNo, BillDate, BillDay, SupplierSno, "
               "SupplierName, SupplierGstin, SupplierState, TaxKind, ReverseCharge, ItcEligible) VALUES (?, ?, ?, ?, "
               "?, 0, ?, ?, ?, ?, ?, ?)",
               {b.serial, PurchaseBillKey(b), b.number, b.date.toString("dd/MM/yyyy"),
                b.date.year() * 10000 + b.date.month() * 100 + b.date.day(), b.supplierName, b.supplierGstin,
                b.supplierState, b.mode == TaxMode::Igst ? "IGST" : "CGST", b.reverseCharge ? 1 : 0,
                b.credit == CreditKind::Eligible ? 1 : 0},
               "seed", DbFile::PurchaseMaster);
        for (PurchaseBillLine& line : b.lines) {
            line.purchaseSerial = serial++;
            db.run("INSERT INTO PurchaseMaster.Purchase (PSno, PurchaseId, PurchaseDate, PurchaseInvoiceNo, "
                   "PurchaseInvoiceDate, SupplierName, SupGstinNo, ItemName, Rate, Quantity) VALUES (?, ?, ?, ?, ?, "
                   "?, ?, ?, ?, ?)",
                   {line.purchaseSerial, RecordCode(CodeKind::Purchase, line.purchaseSerial),
                    b.date.toString("dd/MM/yyyy"), b.number, b.date.toString("dd/MM/yyyy"), b.supplierName,
                    b.supplierGstin, line.itemName, line.rate, line.quantity},
                   "seed", DbFile::PurchaseMaster);
            db.run("INSERT INTO PurchaseMaster.PurchaseBillLine (PSno, BillSno, Taxable, GstRate, Igst, Cgst, Sgst) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?)",
                   {line.purchaseSerial, b.serial, ToRupees(line.taxable), line.gstRate, ToRupees(line.tax.igst),
                    ToRupees(line.tax.cgst), ToRupees(line.tax.sgst)},
                   "seed", DbFile::PurchaseMaster);
        }
    }
    t.commit();
}

// The month's bill rows, every column read, nothing computed.
inline void bareBillQuery(const Database& db)
{
    QSqlQuery query(db.connection());
    query.setForwardOnly(true);
    query.prepare("SELECT b.*, l.*, p.\"SupAddress\", p.\"itemcode\", p.\"ItemName\", p.\"ItemHsn\", p.\"Per\", "
                  "p.\"Rate\", p.\"Quantity\" FROM PurchaseMaster.PurchaseBill AS b JOIN "
                  "PurchaseMaster.PurchaseBillLine AS l ON l.BillSno = b.sno JOIN PurchaseMaster.Purchase AS p ON "
                  "p.PSno = l.PSno WHERE b.BillDay BETWEEN 20260801 AND 20260831");
    query.exec();
    const int count = query.record().count();
    int rows = 0;
    while (query.next()) {
        for (int c = 0; c < count; ++c)
            query.value(c);
        ++rows;
    }
    if (rows != 2 * MonthBills)
        std::printf("bare bill query found %d rows\n", rows);
}

} // namespace bench
