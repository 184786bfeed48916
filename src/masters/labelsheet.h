#pragma once
// A sheet of item labels as it is printed: each label its barcode (EAN-13,
// EAN-8 and UPC-A codes as such, the shop's own codes as Code 128) with the
// code written beneath it, the item's name and its price. A long name takes
// as many lines and as small a font as it needs to show whole. The page is
// the paper's size, in the screen's pixels, drawn by ui/printing.h's
// PrintWidgetPages with no margin, so that every label sits where the
// sheet's own label is.
#include "sales/itemlabels.h"
#include "ui/printing.h"

#include <QWidget>
#include <vector>

namespace zelva {

enum class Symbology;
Symbology SymbologyOf(BarcodeKind kind);

class LabelSheetPage : public QWidget, public DrawnSurface {
    Q_OBJECT
public:
    // The labels in the order they are printed; the first at startPosition
    // (from 0) of the first sheet.
    LabelSheetPage(const LabelLayout& layout, std::vector<ItemLabel> labels, int startPosition,
                   QWidget* parent = nullptr);
    int sheetCount() const;
    void showSheet(int sheet);
    void paintPage(QPainter& painter, double fontScale) const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void paintLabel(QPainter& painter, const QRectF& rect, const ItemLabel& label, double fontScale) const;

    LabelLayout m_layout;
    std::vector<ItemLabel> m_labels;
    int m_start;
    int m_sheet = 0;
};

} // namespace zelva
