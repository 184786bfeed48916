#pragma once
// Type-ahead in a long list (buyers, 100,000 stock items): the keys typed
// into a closed list pick the first entry, from the one after the current on
// and round again from the top, whose text begins with them (case aside),
// the way any Qt list does it; but the entries are looked up in a sorted
// index, not read one by one at every key, so a key costs the same with ten
// entries or a hundred thousand. The index is made when the list is idle
// after a filling, and only when the entries differ from those indexed (a
// form fills its lists again at each new document).
#include <QElapsedTimer>
#include <QListView>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace zelva {

// The entries sorted by their case-folded text, each with its row.
class PrefixIndex {
public:
    explicit PrefixIndex(const QStringList& entries = {});
    // The first row from start on (then from row 0) whose entry begins with
    // prefix, case aside; -1 when none does.
    int firstFrom(const QString& prefix, int start) const;

private:
    std::vector<std::pair<QString, int>> m_sorted;
};

// The list a long combo box drops down, searching its entries by PrefixIndex.
class PrefixSearchView : public QListView {
public:
    using QListView::QListView;
    void setModel(QAbstractItemModel* model) override;
    void keyboardSearch(const QString& search) override;

private:
    const PrefixIndex& index();
    QStringList entries() const;

    PrefixIndex m_index;
    QStringList m_indexed; // the entries m_index was made of
    bool m_indexStale = true;
    bool m_indexingWhenIdle = false;
    QString m_typed;          // the keys of the search under way
    QElapsedTimer m_sinceKey; // since its last key
};

} // namespace zelva
