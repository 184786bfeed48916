#pragma once
// Tools, Import: buyers, suppliers or stock items from a CSV file or an .xlsx
// workbook. The operator picks the kind, the file and (for a workbook) the
// sheet, maps a column of another name once, and sees every row with what it
// becomes and its problems before Import stores the good rows, all or none.
// The rows left out and an empty template of each kind can be saved as CSV.
#include "sales/masterimport.h"

#include <QWidget>
#include <vector>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace zelva {

class Database;

class frmImport : public QWidget {
    Q_OBJECT
public:
    explicit frmImport(Database& db, QWidget* parent = nullptr);

    QComboBox* cboKind;
    QLineEdit* txtFile;
    QPushButton* cmdBrowse;
    QComboBox* cboSheet;
    QRadioButton* optUpdate;
    QRadioButton* optSkip;
    QTableWidget* grdMapping; // a file's header and the column it gives (cboMapping_i)
    QTableWidget* grdPreview;
    QLabel* lblSummary;
    QPushButton* cmdImport;
    QPushButton* cmdSaveRejected;
    QPushButton* cmdSaveTemplate;
    QPushButton* cmdClose;

    // What Browse and the save buttons do once the operator has named a file.
    bool openFile(const QString& path);
    bool saveRejectedTo(const QString& path);
    bool saveTemplateTo(const QString& path);
    const ImportPreview& preview() const { return m_preview; }

signals:
    // Records were stored: the master forms and lists read them afresh.
    void recordsImported();

private slots:
    void cmdBrowse_Click();
    void cmdImport_Click();
    void cmdSaveRejected_Click();
    void cmdSaveTemplate_Click();

private:
    MasterKind kind() const;
    void readSheet();
    void fillMapping();
    void refreshPreview();
    void showPreview();
    int fillPreviewRows(); // the rows shown
    ColumnMapping mapping() const;
    bool saveRows(const QString& path, const std::vector<QStringList>& rows);

    Database& m_db;
    std::vector<QStringList> m_cells;
    ImportPreview m_preview;
    QString m_readProblem;
};

} // namespace zelva
