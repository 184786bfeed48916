// The opening balances as the operator enters them: the day the books start
// on Company Details, then a buyer's or supplier's one amount or earlier
// bills in the Opening Balance window of its form.
#include "masterdriver.h"

#include "data/database.h"
#include "sales/opening.h"

#include <QDialogButtonBox>
#include <QTableWidget>

using namespace testing;
using namespace zelva;

namespace {

// The Company record and its books-start day, as Company Details leaves them.
void booksStartOn(Database& db, const QDate& day)
{
    AddRecord(db, Kind("company"), 1, "Zelva Traders");
    Transaction t(db, "set up the test");
    StoreBooksStartDayWithin(db, 1, day);
    t.commit();
}

void setCell(QTableWidget* grid, int row, int column, const QString& text) { grid->item(row, column)->setText(text); }

void pressOk(QDialog* dialog)
{
    click(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok));
}

PartyKind partyOf(const QString& kind) { return kind == "buyer" ? PartyKind::Buyer : PartyKind::Supplier; }

} // namespace

class OpeningFormTest : public QObject {
    Q_OBJECT
private slots:
    // A date that is none is refused naming its box, nothing stored; the day
    // typed is stored with the company and shown again.
    void booksStartOnCompanyDetails()
    {
        Session s("company");
        s.startNew();
        s.enter("txtName", "Zelva Traders");
        s.type("txtAddress", "12 Anna Salai");
        s.enter("txtState", "Tamil Nadu");
        s.enter("txtBooksStart", "31/11/2026");
        s.press("cmdSave");
        QCOMPARE(s.messages.last(), "The day the books start here \"31/11/2026\" is not a date dd/mm/yyyy (Books start on).");
        QVERIFY(!s.stored("Name", 1).isValid());
        s.enter("txtBooksStart", "1/11/2026");
        s.press("cmdSave");
        QCOMPARE(s.messages.last(), "Saved Successfully");
        QCOMPARE(BooksStartDay(*s.data.db), std::optional<QDate>(QDate(2026, 11, 1)));
        s.press("cmdShow");
        QCOMPARE(s.text("txtBooksStart"), "01/11/2026");
    }

    void openingBalanceOnTheForm_data() { AddFormColumn({"buyer", "supplier"}); }
    // One amount in the row offered, then two earlier bills; a bill dated
    // after the books start is refused with the window kept and nothing stored.
    void openingBalanceOnTheForm()
    {
        QFETCH(QString, kind);
        Session s(kind, 1);
        s.press("cmdOpeningBalance");
        QCOMPARE(s.messages.last(), QString("Show the %1 whose opening balance to enter first.").arg(kind));
        s.browseByName();
        s.pickListed("Name 1");
        s.press("cmdOpeningBalance");
        QCOMPARE(s.messages.last(), "Give the day the books start here on Company Details first (Books start on).");
        booksStartOn(*s.data.db, QDate(2026, 11, 1));
        const QString code = s.codeOf(1);

        withModal([&] { s.press("cmdOpeningBalance"); },
                  [&](QDialog* dialog) {
                      auto* grid = need<QTableWidget>(dialog, "grdOpeningBills");
                      QCOMPARE(grid->rowCount(), 1);
                      QCOMPARE(grid->item(0, 0)->text(), "Opening");
                      QCOMPARE(grid->item(0, 1)->text(), "01/11/2026");
                      QCOMPARE(grid->currentColumn(), 2); // the amount is what is typed
                      setCell(grid, 0, 2, "1234.56");
                      pressOk(dialog);
                  });
        QCOMPARE(LoadOpeningBills(*s.data.db, partyOf(kind), code),
                 (std::vector<OpeningBill>{{1, "Opening", QDate(2026, 11, 1), 123456}}));

        withModal([&] { s.press("cmdOpeningBalance"); },
                  [&](QDialog* dialog) {
                      auto* grid = need<QTableWidget>(dialog, "grdOpeningBills");
                      QCOMPARE(grid->item(0, 2)->text(), "1234.56");
                      click(need<QPushButton>(dialog, "cmdRemoveBill"));
                      QCOMPARE(grid->rowCount(), 0);
                      for (const QStringList& bill : {QStringList{"B-17", "10/08/2026", "150"},
                                                      QStringList{"B-19", "02/11/2026", "99"},
                                                      QStringList{"B-21", "20/10/2026", "75.50"}}) {
                          click(need<QPushButton>(dialog, "cmdAddBill"));
                          for (int column = 0; column < 3; ++column)
                              setCell(grid, grid->rowCount() - 1, column, bill[column]);
                      }
                      pressOk(dialog);
                      QVERIFY(dialog->isVisible());
                      QCOMPARE(s.messages.last(), "Opening bill 2 (B-19) is dated 02/11/2026, after the day the books "
                                                  "start here, 01/11/2026 (Bill Date).");
                      QCOMPARE(int(LoadOpeningBills(*s.data.db, partyOf(kind), code).size()), 1);
                      setCell(grid, 1, 2, ""); // a row without an amount is no bill
                      pressOk(dialog);
                      QVERIFY(!dialog->isVisible());
                  });
        const std::vector<OpeningBill> stored = LoadOpeningBills(*s.data.db, partyOf(kind), code);
        QCOMPARE(int(stored.size()), 2);
        QCOMPARE(stored[0].number, "B-17");
        QCOMPARE(stored[0].amount, 15000);
        QCOMPARE(stored[1].date, QDate(2026, 10, 20));
        QCOMPARE(stored[1].amount, 7550);
    }
};

QTEST_MAIN(OpeningFormTest)
#include "test_openingform.moc"
