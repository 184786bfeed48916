#pragma once
// The report window: a child window of the main window that previews a report
// over its rows (on A4; each page laid out and drawn when it comes into sight),
// pages through it, zooms to the page width, the whole page or in steps,
// prints through the system's print dialog (the default printer chosen) and
// saves the report as a PDF (offered in the data folder's Prints folder, named
// after the report and the day). It holds its own rows, so several can be open
// at once; closing it lets them go and emits closed(), which its opener
// connects to the main window (menu entries unavailable while one is open).
#include "ui/report.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace zelva {

class ReportPreview;

class ReportWindow : public QWidget {
    Q_OBJECT
public:
    // Opens at the page that shows row startRow (from 0).
    ReportWindow(report::ReportLayout layout, report::ReportRows rows, QString pdfFolder, int startRow = 0,
        QWidget* parent = nullptr);
    ~ReportWindow() override;

    // Shows the window inside the multiple-document area that holds opener
    // (or on its own when opener is in none) and returns it.
    static ReportWindow* Open(QWidget* opener, report::ReportLayout layout, report::ReportRows rows,
        const QString& pdfFolder, int startRow = 0);

    int pageCount() const;
    int currentPage() const; // from 1
    const std::vector<report::ReportPage>& pages() const;

    // The name Save as PDF offers: "<caption> <yyyy-mm-dd>.pdf" in the Prints folder.
    QString defaultPdfPath() const;
    // Writes the whole report to path; false (and a message) when it cannot.
    bool savePdf(const QString& path);

    QPushButton* cmdFirst;
    QPushButton* cmdPrevious;
    QPushButton* cmdNext;
    QPushButton* cmdLast;
    QLabel* lblPage;
    QPushButton* cmdFitWidth;
    QPushButton* cmdFitPage;
    QPushButton* cmdZoomOut;
    QPushButton* cmdZoomIn;
    QPushButton* cmdPrint;
    QPushButton* cmdSavePdf;
    QPushButton* cmdClose;
    ReportPreview* preview;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void goToPage(int page);
    void showPageNumber();
    void cmdPrint_Click();
    void cmdSavePdf_Click();

    report::ReportLayout m_layout;
    QString m_pdfFolder;
    bool m_closed = false;
};

} // namespace zelva
