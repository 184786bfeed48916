#pragma once
// One seven-line invoice worked on the tax-invoice form, timed: New Invoice,
// then (untimed) a buyer, seven goods lines and a GST rate (none when the
// lines keep their items' own rates), then Save. Shared by the benchmarks of
// the files and of the server.
#include "invoice/frmtaxinvoice.h"
#include "timing.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

struct InvoiceTimes {
    double newInvoiceMs;
    double saveMs;
    bool saved;
};

// Round r picks buyer 2r and the items at every 1400th place of the list, so
// a list of 10,000 items is needed. beforeSave runs just before Save is pressed.
enum class GoodsRate { Chosen, ItemsOwn };
inline InvoiceTimes WorkOneInvoice(frmTaxInvoice& form, int round, const std::function<void()>& beforeSave = {},
                                   GoodsRate goodsRate = GoodsRate::Chosen)
{
    QElapsedTimer timer;
    timer.start();
    form.cmdNewInvoice->click();
    const double newInvoice = MsSince(timer);

    const int buyer = (2 * round) % form.cboBuyerName->count();
    form.cboBuyerName->setCurrentIndex(buyer);
    form.cboBuyerName_Click(buyer);
    for (int line = 1; line <= 7; ++line) {
        const int index = line * 1400 - 1;
        form.cboDescriptionOfGoods->setCurrentIndex(index);
        form.cboDescriptionOfGoods_Click(index);
        form.txtQuantity[0]->setText(QStringLiteral("2"));
        form.cmdAdd->click();
    }
    if (goodsRate == GoodsRate::Chosen) {
        form.cboGoodsCgst->setCurrentIndex(3);
        form.cboGoodsCgst_Click(3);
    }
    if (beforeSave)
        beforeSave();
    timer.restart();
    form.cmdSave->click();
    return {newInvoice, MsSince(timer), !form.invoicePending()};
}

} // namespace bench
