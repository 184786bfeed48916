#pragma once
// The GST Rates window (Update menu): the rates in the store, each with its
// first day and, once ended, its last, and whether it is a special rate
// offered only for the items that carry it. A later notified change is added
// by its date (Add), and a rate that the law ends is given its last day (End
// Rate), without a new program. Only the rates the portal accepts go in; the
// store refuses any other, whoever asks. Printed or saved as PDF through the
// report engine.
#include "gst/gstrates.h"
#include "reports/tablereport.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace zelva {

class Database;

class frmGstRates : public QWidget {
    Q_OBJECT
public:
    explicit frmGstRates(Database& db, QWidget* parent = nullptr);

    QTableView* grdRates;
    QLineEdit* txtRate;
    QLineEdit* txtFrom;
    QLineEdit* txtTo;
    QCheckBox* chkSpecial;
    QLineEdit* txtNote;
    QPushButton* cmdAdd;
    QPushButton* cmdEndRate;
    QPushButton* cmdPrint;
    QPushButton* cmdClose;

    const GstRateTable& rates() const { return m_rates; }
    TableReport ratesTable() const;

public slots:
    void cmdAdd_Click();
    void cmdEndRate_Click();

private:
    void showRates();
    // The table with the change, kept whole; false (the operator told why) when refused.
    bool store(const GstRateTable& changed);

    Database& m_db;
    GstRateTable m_rates;
};

} // namespace zelva
