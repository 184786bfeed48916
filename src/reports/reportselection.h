#pragma once
// What the stock, purchase and issue report forms share: a modal dialog with a
// title, a frame of options, Show and Close (Close is also Esc). Show reads the
// report's rows; with none it says " Nothing to show" and stays open for
// another choice; with rows it opens a report window in the main window's
// window area (reportArea) holding those rows, tells its opener through
// reportWindowOpened, and closes itself. Each report window holds its own
// rows, so any number of reports, of one kind or several, can be open at once.
#include "data/database.h"
#include "ui/report.h"

#include <QDialog>
#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace zelva {

class ReportWindow;

class ReportSelection : public QDialog {
    Q_OBJECT
public:
    QLabel* lblTitle;
    QGroupBox* fracommand;
    QPushButton* cmdShow;
    QPushButton* cmdClose;

signals:
    void reportWindowOpened(zelva::ReportWindow* window);

protected:
    ReportSelection(Database& db, QWidget* reportArea, const QString& caption, const QString& title, QWidget* parent);
    // The frame's layout, where each form puts its options.
    QVBoxLayout* options() const { return m_options; }
    // The report's rows for the current choice; nullopt when the choice was
    // refused (the form has told the operator).
    virtual std::optional<report::ReportRows> reportRows() = 0;
    // The layout over those rows (its footer totals them).
    virtual report::ReportLayout reportLayout(const report::ReportRows& rows) const = 0;
    Database& db() const { return m_db; }

private:
    void cmdShow_Click();
    void placeOverParent();

    Database& m_db;
    QWidget* m_reportArea;
    QVBoxLayout* m_options;
};

// Opens a report window over the rows in the window area (reportArea), its
// PDF offered in the data folder's Prints folder; with no rows it says
// " Nothing to show" and returns nullptr.
ReportWindow* OpenReportOrTell(
    QWidget* reportArea, report::ReportLayout layout, report::ReportRows rows, const QString& dataFolder);

// The rows a query gives, as the report engine takes them.
template <typename Rows> report::ReportRows AsReportRows(Rows rows)
{
    return report::ReportRows(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
}

} // namespace zelva
