// How long the report engine takes to write a PDF: a stock-style report of
// 500 and 5,000 rows (8 columns) and a 16-row invoice page three times, each
// beside the same texts drawn with a bare QPainter onto the same kind of
// QPdfWriter. The engine should stay within twice the bare drawing, and 5,000
// rows should take about ten times 500.
#include "timing.h"
#include "ui/report.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace zelva::report;

namespace {

constexpr int Repeats = 5;

ReportLayout stockLayout()
{
    ReportLayout layout;
    layout.caption = "Stock Report";
    layout.width = 10395;
    layout.margins = { 700, 700, 700, 700 };
    layout.pageHeader = { 330,
        { Label { "Stock Report", { 0, 0, 10365, 285 }, Font { "Arial", 9.75, true, true }, Align::Center } } };
    layout.detail.height = 300;
    for (int c = 0; c < 8; ++c)
        layout.detail.values.push_back(ValueBox { QString("c%1").arg(c), { c * 1290.0, 0, 1200, 240 }, {},
            c >= 5 ? Align::Right : Align::Left, c >= 5 ? Format::Amount : Format::AsHeld });
    layout.pageFooter = { 528, { Label { "Page footer", { 0, 0, 10368, 240 }, {}, Align::Center } } };
    return layout;
}

ReportRows stockRows(int count)
{
    ReportRows rows;
    for (int i = 0; i < count; ++i) {
        ReportRow row;
        row["c0"] = i;
        row["c1"] = QString("G%1").arg(i, 5, 10, QChar('0'));
        row["c2"] = QString("Stock item number %1").arg(i);
        row["c3"] = "Nos";
        row["c4"] = "84713010";
        row["c5"] = i * 1.5;
        row["c6"] = 1234.5 + i;
        row["c7"] = 99999.99;
        rows.push_back(row);
    }
    return rows;
}

// An invoice-sized page: sixteen rows of seven boxes and the blocks around them.
ReportLayout invoiceLayout()
{
    ReportLayout layout = stockLayout();
    layout.caption = "Tax Invoice";
    layout.detail = { 14667 };
    const double lefts[] = { 0, 720, 5328, 6480, 7344, 8352, 9072 };
    const double widths[] = { 570, 4455, 990, 720, 870, 720, 1155 };
    for (int k = 0; k < 16; ++k)
        for (int c = 0; c < 7; ++c)
            layout.detail.values.push_back(
                ValueBox { QString("g%1").arg(c), { lefts[c], 4608.0 + 432 * k, widths[c], 240 }, {}, Align::Left });
    for (int b = 0; b < 30; ++b)
        layout.detail.labels.push_back(
            Label { QString("Label %1").arg(b), { (b % 2) * 6048.0, 144.0 * b, 3000, 240 } });
    return layout;
}

ReportRows invoiceRows()
{
    ReportRows rows;
    for (int i = 0; i < 3; ++i)
        rows.push_back({ { "g0", 1 }, { "g1", "Steel bolts, 12 mm" }, { "g2", "73181500" }, { "g3", 150 },
            { "g4", 333.33 }, { "g5", "Nos" }, { "g6", 49999.5 } });
    return rows;
}

// The same texts at the same places, drawn straight onto the painter.
void drawBare(QPdfWriter& writer, const ReportLayout& layout, const ReportRows& rows)
{
    const Paper paper;
    const std::vector<ReportPage> pages = PaginateReport(layout, rows, paper);
    QPainter painter(&writer);
    const double unit = writer.logicalDpiX() / 1440.0;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        for (const PlacedText& text : pages[i].texts) {
            QFont font(text.font.family);
            font.setPointSizeF(text.font.pointSize);
            painter.setFont(font);
            const QRectF& r = text.rect;
            painter.drawText(
                QRectF(r.x() * unit, r.y() * unit, r.width() * unit, r.height() * unit), Qt::AlignLeft, text.text);
        }
    }
}

template <typename Work> double bestOf(Work work)
{
    return bench::Best(bench::TimeRuns(Repeats, work));
}

void compare(const char* name, const ReportLayout& layout, const ReportRows& rows, const QString& folder)
{
    const double engine = bestOf([&] {
        QPdfWriter writer(folder + "/engine.pdf");
        writer.setPageSize(QPageSize(QPageSize::A4));
        RenderReport(writer, layout, rows);
    });
    const double bare = bestOf([&] {
        QPdfWriter writer(folder + "/bare.pdf");
        writer.setPageSize(QPageSize(QPageSize::A4));
        drawBare(writer, layout, rows);
    });
    std::printf("%-28s engine %8.1f ms   bare QPainter %8.1f ms   ratio %.2f\n", name, engine, bare, engine / bare);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    compare("stock report, 500 rows", stockLayout(), stockRows(500), dir.path());
    compare("stock report, 5000 rows", stockLayout(), stockRows(5000), dir.path());
    compare("invoice page x3", invoiceLayout(), invoiceRows(), dir.path());
    return 0;
}
