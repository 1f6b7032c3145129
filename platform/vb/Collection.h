#pragma once
// VB's keyed Collection: items in insertion order, reached by position from 1 or by text key.
// Keys compare without regard to case over all of Unicode. A present key on Add raises 457, a
// missing key 5, a position outside 1..Count 9. The same item may be added many times without key.
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

#include "platform/vb/VbError.h"

namespace vb {

inline QString collectionKey(const QString& key) { return key.toCaseFolded(); }

template <typename T>
class Collection {
 public:
  int Count() const { return static_cast<int>(m_items.size()); }

  // Adds `item` at the end, under `key` when it is not empty.
  void Add(T item, const QString& key = {}) {
    if (!key.isEmpty()) {
      const QString k = collectionKey(key);
      if (m_index.contains(k)) raise(ErrDuplicateKey);
      m_items.push_back({key, std::move(item)});
      m_index.insert(k, m_items.size() - 1);
    } else {
      m_items.push_back({QString(), std::move(item)});
    }
  }

  T& Item(int position) {
    if (position < 1 || position > Count()) raise(ErrSubscript);
    return m_items[position - 1].value;
  }
  const T& Item(int position) const { return const_cast<Collection*>(this)->Item(position); }

  T& Item(const QString& key) {
    auto it = m_index.constFind(collectionKey(key));
    if (it == m_index.constEnd()) raise(ErrInvalidCall);
    return m_items[*it].value;
  }
  const T& Item(const QString& key) const { return const_cast<Collection*>(this)->Item(key); }

  // Not part of VB's Collection; saves the try/catch of a look-up that may fail.
  bool Contains(const QString& key) const { return m_index.contains(collectionKey(key)); }
  // The key an item was added under, as written (empty for items without key).
  const QString& KeyAt(int position) const {
    if (position < 1 || position > Count()) raise(ErrSubscript);
    return m_items[position - 1].key;
  }

  void Remove(int position) {
    if (position < 1 || position > Count()) raise(ErrSubscript);
    eraseAt(static_cast<size_t>(position - 1));
  }
  void Remove(const QString& key) {
    auto it = m_index.constFind(collectionKey(key));
    if (it == m_index.constEnd()) raise(ErrInvalidCall);
    eraseAt(*it);
  }
  void Clear() {
    m_items.clear();
    m_index.clear();
  }

  // Range-for over the items in order.
  struct Entry {
    QString key;
    T value;
  };
  auto begin() { return m_items.begin(); }
  auto end() { return m_items.end(); }
  auto begin() const { return m_items.begin(); }
  auto end() const { return m_items.end(); }

 private:
  void eraseAt(size_t i) {
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(i));
    m_index.clear();
    for (size_t j = 0; j < m_items.size(); ++j)
      if (!m_items[j].key.isEmpty()) m_index.insert(collectionKey(m_items[j].key), j);
  }

  std::vector<Entry> m_items;
  QHash<QString, size_t> m_index;
};

}  // namespace vb
