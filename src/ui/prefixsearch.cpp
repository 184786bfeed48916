#include "ui/prefixsearch.h"

#include <QApplication>
#include <QStringListModel>
#include <QTimer>
#include <algorithm>

namespace zelva {

PrefixIndex::PrefixIndex(const QStringList& entries)
{
    m_sorted.reserve(size_t(entries.size()));
    for (int row = 0; row < int(entries.size()); ++row)
        m_sorted.emplace_back(entries[row].toCaseFolded(), row);
    std::sort(m_sorted.begin(), m_sorted.end());
}

int PrefixIndex::firstFrom(const QString& prefix, int start) const
{
    const QString folded = prefix.toCaseFolded();
    // The entries beginning with the prefix sit together from its place in the order on.
    auto entry = std::lower_bound(m_sorted.begin(), m_sorted.end(), std::pair<QString, int>(folded, -1));
    int firstAfter = -1;
    int first = -1;
    for (; entry != m_sorted.end() && entry->first.startsWith(folded); ++entry) {
        const int row = entry->second;
        if (row >= start && (firstAfter < 0 || row < firstAfter))
            firstAfter = row;
        if (first < 0 || row < first)
            first = row;
    }
    return firstAfter >= 0 ? firstAfter : first;
}

void PrefixSearchView::setModel(QAbstractItemModel* model)
{
    if (QAbstractItemModel* old = this->model())
        disconnect(old, nullptr, this, nullptr);
    QListView::setModel(model);
    m_indexStale = true;
    if (!model)
        return;
    const auto stale = [this] {
        m_indexStale = true;
        if (m_indexingWhenIdle)
            return;
        m_indexingWhenIdle = true;
        QTimer::singleShot(0, this, [this] { // ready before the operator's first key
            m_indexingWhenIdle = false;
            index();
        });
    };
    connect(model, &QAbstractItemModel::modelReset, this, stale);
    connect(model, &QAbstractItemModel::rowsInserted, this, stale);
    connect(model, &QAbstractItemModel::rowsRemoved, this, stale);
    connect(model, &QAbstractItemModel::rowsMoved, this, stale);
    connect(model, &QAbstractItemModel::dataChanged, this, stale);
    connect(model, &QAbstractItemModel::layoutChanged, this, stale);
}

QStringList PrefixSearchView::entries() const
{
    if (auto* list = qobject_cast<QStringListModel*>(model()); list && modelColumn() == 0)
        return list->stringList();
    QStringList entries;
    const int rows = model()->rowCount(rootIndex());
    entries.reserve(rows);
    for (int row = 0; row < rows; ++row)
        entries << model()->index(row, modelColumn(), rootIndex()).data(Qt::DisplayRole).toString();
    return entries;
}

const PrefixIndex& PrefixSearchView::index()
{
    if (!m_indexStale || !model())
        return m_index;
    m_indexStale = false;
    QStringList now = entries();
    if (now != m_indexed) {
        m_index = PrefixIndex(now);
        m_indexed = std::move(now);
    }
    return m_index;
}

// As QAbstractItemView does it: keys within the keyboard input interval make
// one search; a new search, or the same key again ("aaa"), starts after the
// current entry, so repeating a key steps through the entries it begins.
void PrefixSearchView::keyboardSearch(const QString& search)
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    if (rows == 0)
        return;
    const bool fresh = search.isEmpty() || !m_sinceKey.isValid()
                       || m_sinceKey.elapsed() > QApplication::keyboardInputInterval();
    m_sinceKey.start();
    bool skipCurrent = false;
    if (fresh) {
        m_typed = search;
        skipCurrent = currentIndex().isValid();
    } else {
        m_typed += search;
    }
    const bool sameKey = m_typed.size() > 1 && m_typed.count(m_typed.back()) == m_typed.size();
    skipCurrent = skipCurrent || sameKey;
    int start = currentIndex().isValid() ? currentIndex().row() : 0;
    if (skipCurrent)
        start = start + 1 < rows ? start + 1 : 0;
    const int row = index().firstFrom(sameKey ? QString(m_typed.front()) : m_typed, start);
    if (row >= 0)
        setCurrentIndex(model()->index(row, modelColumn(), rootIndex()));
}

} // namespace zelva
