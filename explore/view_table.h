#pragma once

#include "view_painter.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>

#include <vector>

namespace explore {

// The numbers behind one view: a header per column (with units) and rows of values.
struct TableData
{
    QStringList headers;
    std::vector<std::vector<double>> rows;
    std::vector<int> decimals; // per column
};

// The numbers behind a view; the heights in the headers ("punt 1 op 2,5 m") are written
// in `locale`, as the cells are.
TableData TableFor(ViewKind kind, const Exploration &exploration, const QLocale &locale);
// True while the view's numbers are not yet there to read: the plan's until they are
// exact (its picture comes first). Its table has no rows until then.
bool TableWaits(ViewKind kind, const Exploration &exploration);

enum class CsvStyle {
    // For a spreadsheet in Dutch: semicolons, decimal commas, UTF-8 with a byte order mark
    // (so that a spreadsheet reads "kW/m²" right), CRLF line ends.
    Dutch,
    // For scripts: commas, decimal points, UTF-8 without a byte order mark, LF line ends.
    Point,
};

// CSV of a table with one header line. Every number is the shortest text that reads back
// as the same double; no exponents, no negative zero.
QByteArray TableCsv(const TableData &table, CsvStyle style);

// Tab-separated text in the user's locale, as a spreadsheet takes it from the clipboard.
QString TableText(const TableData &table, const QModelIndexList &selection, const QLocale &locale);

class ViewTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setTable(TableData table);
    const TableData &table() const { return m_table; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TableData m_table;
};

// A table whose selection Ctrl+C copies as text (all of it when nothing is selected).
class ViewTableView : public QTableView
{
    Q_OBJECT

public:
    explicit ViewTableView(QWidget *parent = nullptr);
    void copySelection();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace explore
