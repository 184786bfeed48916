#pragma once
// Pieces an invoice page is built from: the A4 page in twips, boxes and labels
// placed on it, the ruled lines drawn behind them, and the rate lists.
#include "ui/printing.h"

#include <QComboBox>
#include <QLine>
#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace zelva::invoicepage {

using zelva::RuledSurface;

// The A4 page in twips, and where its printable area starts.
constexpr int PageWidth = 11906;
constexpr int PageHeight = 16838;
constexpr int Margin = 700;
constexpr int ContentWidth = 10395;
constexpr int RowHeight = 330;

struct Column {
    int left;
    int width;
};

// Twips to screen pixels.
int px(int twips);
// Places a widget at a position of the printable area, in twips.
void place(QWidget* w, int left, int top, int width, int height = RowHeight);

QLabel* addLabel(
    QWidget* page, QAnyStringView caption, int left, int top, int width, Qt::Alignment align = Qt::AlignLeft);
QLineEdit* addBox(
    QWidget* page, QAnyStringView name, int left, int top, int width, bool readOnly = false, Qt::Alignment align = {});
// A caption and the box it names, on one line of the page.
QLineEdit* addLabelled(QWidget* page, QAnyStringView caption, int labelLeft, int top, int labelWidth,
    QAnyStringView name, int boxLeft, int boxWidth, bool readOnly = false);
// A box of several lines: an address, or a text that wraps onto its next line.
QPlainTextEdit* addLines(
    QWidget* page, QAnyStringView name, int left, int top, int width, bool readOnly, int height = 560);
QFont styled(const QWidget* page, bool bold, bool underline = false, double scale = 1);

// The white page with the ruled lines of the printed invoice behind the boxes.
class RuledPage : public QWidget, public RuledSurface {
public:
    explicit RuledPage(QWidget* parent = nullptr);
    // A line from (x1, y1) to (x2, y2) in twips of the printable area.
    void rule(int x1, int y1, int x2, int y2) { m_rules.emplace_back(x1, y1, x2, y2); }
    void paintRules(QPainter& painter) const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::vector<QLine> m_rules;
};

// A rate list: the operator picks an entry; only the program writes other text
// into it (the SGST label that follows the CGST choice, "N.A.").
class PickCombo : public QComboBox {
public:
    explicit PickCombo(QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace zelva::invoicepage
