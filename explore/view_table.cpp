#include "view_table.h"

#include "typed_numbers.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>
#include <map>

namespace explore {

namespace {

// Sample positions are sums of steps (-5 + 50 * 0.1 is -4.4e-16, not 0; 3 * 0.1 is
// 0.30000000000000004): a position within rounding noise of a whole nanometre is that
// nanometre (and never a negative zero); any other stays as computed.
double tidyPosition(double metres)
{
    const double nanometres = std::round(metres * 1e9) / 1e9;
    const bool noise = std::abs(metres - nanometres) <= 1e-12 * std::max(1.0, std::abs(metres));
    return noise ? nanometres + 0.0 : metres;
}

} // namespace

TableData TableFor(ViewKind kind, const Exploration &exploration, const QLocale &locale)
{
    TableData table;
    switch (kind) {
    case ViewKind::Distance: {
        const DistanceProfile &profile = exploration.distance;
        table.headers << QStringLiteral("afstand x (m)");
        for (size_t s = 0; s < profile.heights.size(); ++s) {
            table.headers << (exploration.input.storage.indoor
                                  ? QStringLiteral("niveau op halve gebouwhoogte (kW/m²)")
                                  : QStringLiteral("punt %1 op %2 m (kW/m²)")
                                        .arg(s + 1)
                                        .arg(ShortestNumber(profile.heights[s], locale)));
        }
        if (!profile.envelope.empty())
            table.headers << QStringLiteral("omhullende (kW/m²)");
        table.headers << QStringLiteral("hoogste (kW/m²)");
        for (size_t d = 0; d < profile.distances.size(); ++d) {
            std::vector<double> row {tidyPosition(profile.distances[d])};
            for (const auto &series : profile.levels)
                row.push_back(series[d]);
            if (!profile.envelope.empty())
                row.push_back(profile.envelope[d]);
            row.push_back(profile.highest[d]);
            table.rows.push_back(row);
        }
        table.decimals.assign(size_t(table.headers.size()), 3);
        break;
    }
    case ViewKind::Height: {
        table.headers << QStringLiteral("hoogte z (m)") << QStringLiteral("niveau (kW/m²)");
        for (size_t i = 0; i < exploration.height.heights.size(); ++i)
            table.rows.push_back({tidyPosition(exploration.height.heights[i]), exploration.height.levels[i]});
        table.decimals = {3, 3};
        break;
    }
    case ViewKind::Plan: {
        table.headers << QStringLiteral("x (m)") << QStringLiteral("y (m)")
                      << QStringLiteral("hoogste niveau (kW/m²)");
        const engine::ScalarGrid &grid = exploration.plan.grid;
        for (int j = 0; !TableWaits(kind, exploration) && j < grid.ny; ++j) {
            for (int i = 0; i < grid.nx; ++i)
                table.rows.push_back({tidyPosition(grid.x0 + i * grid.dx),
                                      tidyPosition(grid.y0 + j * grid.dy), grid.value(i, j)});
        }
        table.decimals = {3, 3, 3};
        break;
    }
    }
    return table;
}

bool TableWaits(ViewKind kind, const Exploration &exploration)
{
    // Only exact levels are numbers to read; the picture before them is not.
    return kind == ViewKind::Plan && !exploration.planFinal;
}

QByteArray TableCsv(const TableData &table, CsvStyle style)
{
    const bool dutch = style == CsvStyle::Dutch;
    const QLocale numbers = dutch ? QLocale(QLocale::Dutch, QLocale::Netherlands) : QLocale::c();
    const QChar separator = dutch ? QLatin1Char(';') : QLatin1Char(',');
    const QString lineEnd = dutch ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QStringList quoted;
    for (const QString &header : table.headers)
        quoted << QLatin1Char('"') + QString(header).replace(QLatin1Char('"'), QStringLiteral("\"\""))
                + QLatin1Char('"');
    QString csv = quoted.join(separator) + lineEnd;
    for (const auto &row : table.rows) {
        QStringList cells;
        // The engine's numbers as computed, not as shown; a cell the method could not
        // compute stays empty.
        for (const double value : row)
            cells << (std::isfinite(value) ? ShortestNumber(value, numbers) : QString());
        csv += cells.join(separator) + lineEnd;
    }
    return (dutch ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + csv.toUtf8();
}

QString TableText(const TableData &table, const QModelIndexList &selection, const QLocale &locale)
{
    std::map<int, std::map<int, QString>> cells;
    std::map<int, bool> columns;
    auto cell = [&](int r, int c) {
        const double value = table.rows[size_t(r)][size_t(c)];
        return Number(value, locale, table.decimals[size_t(c)]);
    };
    if (selection.isEmpty()) {
        for (int c = 0; c < table.headers.size(); ++c)
            columns[c] = true;
        for (size_t r = 0; r < table.rows.size(); ++r) {
            for (int c = 0; c < table.headers.size(); ++c)
                cells[int(r)][c] = cell(int(r), c);
        }
    } else {
        for (const QModelIndex &index : selection) {
            cells[index.row()][index.column()] = cell(index.row(), index.column());
            columns[index.column()] = true;
        }
    }
    QStringList lines;
    QStringList header;
    for (const auto &column : columns)
        header << table.headers[column.first];
    lines << header.join(QLatin1Char('\t'));
    for (const auto &row : cells) {
        QStringList line;
        for (const auto &column : columns) {
            const auto found = row.second.find(column.first);
            line << (found == row.second.end() ? QString() : found->second);
        }
        lines << line.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void ViewTableModel::setTable(TableData table)
{
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

int ViewTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_table.rows.size());
}

int ViewTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_table.headers.size());
}

QVariant ViewTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const double value = m_table.rows[size_t(index.row())][size_t(index.column())];
    if (role == Qt::DisplayRole)
        return Number(value, QLocale(), m_table.decimals[size_t(index.column())]);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::UserRole)
        return value;
    return {};
}

QVariant ViewTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_table.headers.value(section);
    return section + 1;
}

ViewTableView::ViewTableView(QWidget *parent)
    : QTableView(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setToolTip(QStringLiteral("Ctrl+C kopieert de selectie (of de hele tabel) als tekst met tabs."));
}

void ViewTableView::copySelection()
{
    const auto *tableModel = qobject_cast<const ViewTableModel *>(model());
    if (!tableModel)
        return;
    QApplication::clipboard()->setText(
        TableText(tableModel->table(),
                  selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList(), locale()));
}

void ViewTableView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace explore
