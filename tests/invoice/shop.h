#pragma once
// A shop written straight into its files (a company in Kerala, buyers, stock
// items), and a tax invoice worked on its form as the operator works it.
#include "support/formdriver.h"

#include <QPushButton>
#include <QtTest>

namespace testing {

inline void addSeller(zelva::Database& db)
{
    db.run("INSERT INTO Master.Company (Name, address, Dist, State, Pin, Gstin, sno, CompanyId) VALUES "
           "('Zelva Traders', '12 Beach Road', 'Ernakulam', 'Kerala', '682001', '32AAAAA0000A1Z5', 1, 'C00001')",
           {}, "add company", zelva::DbFile::Master);
}

inline void addBuyer(zelva::Database& db, int sno, const QString& name, const QString& state,
                     const QVariant& address = "1 Main St")
{
    db.run("INSERT INTO Customer.CustomerDetails (sno, bid, Name, address, Dist, State, Pin, Gstin) "
           "VALUES (?, ?, ?, ?, 'Dist of ' || ?, ?, '600001', 'GST-' || ?)",
           {sno, QString("C%1").arg(sno, 5, 10, QChar('0')), name, address, name, state, name}, "add buyer",
           zelva::DbFile::Customer);
}

inline void addItem(zelva::Database& db, int sno, const QString& name, double rate, double quantity,
                    const QString& hsn = "8544")
{
    db.run("INSERT INTO ItemStock.Stock (sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks) "
           "VALUES (?, ?, ?, ?, ?, 'Nos.', ?, 'N.A.')",
           {sno, QString("G%1").arg(sno, 5, 10, QChar('0')), name, hsn, rate, quantity}, "add item",
           zelva::DbFile::ItemStock);
}

// New Invoice for the buyer (and another delivery party when named), the
// goods lines (item, quantity), the goods rate when named, Save.
inline void sellOn(QWidget* form, const QString& buyer, const QList<QPair<QString, QString>>& lines,
                   const QString& rate = {}, const QString& delivery = {})
{
    click(need<QPushButton>(form, "cmdNewInvoice"));
    QVERIFY(pick(need<QComboBox>(form, "cboBuyerName"), buyer));
    if (!delivery.isEmpty())
        QVERIFY(pick(need<QComboBox>(form, "cboBuyerNameD"), delivery));
    for (const auto& [item, quantity] : lines) {
        QVERIFY(pick(need<QComboBox>(form, "cboDescriptionOfGoods"), item));
        typeInto(need(form, "txtQuantity_0"), quantity);
        click(need<QPushButton>(form, "cmdAdd"));
    }
    if (!rate.isEmpty())
        QVERIFY(pick(need<QComboBox>(form, "cboGoodsCgst"), rate));
    click(need<QPushButton>(form, "cmdSave"));
}

} // namespace testing
