#pragma once
// The class library's containers, thin over the standard library.
//
// Misuse never leads to undefined behaviour:
// - arrays: GetAt out of range gives a default-valued element, SetAt out of range does nothing,
//   ElementAt/operator[] out of range give a scratch element that is not part of the array;
//   RemoveAt/InsertAt clamp their arguments;
// - lists and maps: a null or stale POSITION is checked against the live entries and never
//   followed into freed memory; reads through it give a scratch default-valued element and set
//   the position to null, changes through it do nothing. (A stale position whose memory went to
//   a newer entry names that entry.)
// Block sizes and hash table sizes are accepted for source compatibility and otherwise ignored.
// Maps iterate in insertion order. Containers of pointers never delete what they point to.

#include <memory>
#include <new>
#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/object.h"
#include "platform/strings.h"
#include "platform/types.h"

struct PlatformPositionTag;
// An opaque place in a list or map; null means "none" (before the start or past the end).
using POSITION = PlatformPositionTag*;

namespace platform::detail {

// A doubly linked chain of owned nodes addressed by POSITION; positions are checked against the
// live nodes, so a stale one is never followed into freed memory.
template <class Payload>
class LinkedNodes {
public:
  struct Node {
    Payload payload;
    Node* prev{nullptr};
    Node* next{nullptr};
  };

  LinkedNodes() = default;
  LinkedNodes(const LinkedNodes&) = delete;
  LinkedNodes& operator=(const LinkedNodes&) = delete;

  INT_PTR Size() const { return static_cast<INT_PTR>(m_nodes.size()); }
  Node* Head() const { return m_head; }
  Node* Tail() const { return m_tail; }
  // The live node at pos, or null for a null or stale position.
  Node* Find(POSITION pos) const;
  static POSITION ToPosition(const Node* node) { return reinterpret_cast<POSITION>(const_cast<Node*>(node)); }
  // Inserts after `after`, or at the head when after is null.
  Node* InsertAfter(Node* after, Payload payload);
  // Inserts before `before`, or at the tail when before is null.
  Node* InsertBefore(Node* before, Payload payload);
  void Erase(Node* node);
  void Clear();

private:
  Node* Adopt(std::unique_ptr<Node> node);

  std::unordered_map<const Node*, std::unique_ptr<Node>> m_nodes;  // owner and validity check
  Node* m_head{nullptr};
  Node* m_tail{nullptr};
};

// Runs a growth step, turning the standard library's allocation failures into the class
// library's memory exception.
template <class Step>
void Grow(Step step) {
  try {
    step();
  } catch (const std::bad_alloc&) {
    AfxThrowMemoryException();
  } catch (const std::length_error&) {
    AfxThrowMemoryException();
  }
}

}  // namespace platform::detail

// A growable array of TYPE, indexed from 0.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
  CArray() = default;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_items.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  BOOL IsEmpty() const { return m_items.empty(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }
  // Grows with default-valued elements or cuts to newSize (a negative size empties the array).
  void SetSize(INT_PTR newSize, INT_PTR growBy = -1);
  void FreeExtra() { m_items.shrink_to_fit(); }
  void RemoveAll() { m_items.clear(); }

  // The element at index, or a default value out of range.
  TYPE GetAt(INT_PTR index) const;
  // Replaces the element at index; out of range does nothing.
  void SetAt(INT_PTR index, ARG_TYPE value);
  // The element at index; out of range a scratch element outside the array.
  TYPE& ElementAt(INT_PTR index);
  const TYPE& ElementAt(INT_PTR index) const;
  TYPE& operator[](INT_PTR index) { return ElementAt(index); }
  const TYPE& operator[](INT_PTR index) const { return ElementAt(index); }
  TYPE* GetData() { return m_items.data(); }
  const TYPE* GetData() const { return m_items.data(); }

  // Sets the element at index, growing the array as needed; a negative index does nothing.
  void SetAtGrow(INT_PTR index, ARG_TYPE value);
  // Appends value; returns its index.
  INT_PTR Add(ARG_TYPE value);
  // Appends the elements of source; returns the index of the first appended one.
  INT_PTR Append(const CArray& source);
  // Makes this array a copy of source.
  void Copy(const CArray& source);
  // Inserts count copies of value before index; an index past the end first grows the array to
  // index. A negative index or count does nothing.
  void InsertAt(INT_PTR index, ARG_TYPE value, INT_PTR count = 1);
  // Inserts the elements of source before startIndex (clamped to 0..size).
  void InsertAt(INT_PTR startIndex, const CArray* source);
  // Removes count elements from index; the range is clamped to the elements present.
  void RemoveAt(INT_PTR index, INT_PTR count = 1);

private:
  bool Contains(INT_PTR index) const { return index >= 0 && index < GetSize(); }
  TYPE& Scratch() const;

  std::vector<TYPE> m_items;
  mutable TYPE m_scratch{};  // handed out for out-of-range access, reset each time
};

// A doubly linked list of TYPE.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
public:
  explicit CList(INT_PTR blockSize = 10) { (void)blockSize; }

  INT_PTR GetCount() const { return m_nodes.Size(); }
  INT_PTR GetSize() const { return m_nodes.Size(); }
  BOOL IsEmpty() const { return m_nodes.Size() == 0; }

  // Head and tail of an empty list are a scratch default value.
  TYPE& GetHead();
  const TYPE& GetHead() const;
  TYPE& GetTail();
  const TYPE& GetTail() const;
  // Removes and returns the head (tail); an empty list gives a default value.
  TYPE RemoveHead();
  TYPE RemoveTail();
  POSITION AddHead(ARG_TYPE value);
  POSITION AddTail(ARG_TYPE value);
  // Copies the elements of other in front of (behind) this list's, keeping their order.
  void AddHead(const CList* other);
  void AddTail(const CList* other);
  void RemoveAll() { m_nodes.Clear(); }

  POSITION GetHeadPosition() const { return Position(m_nodes.Head()); }
  POSITION GetTailPosition() const { return Position(m_nodes.Tail()); }
  // The element at pos; pos moves to the next (previous) element or null.
  TYPE& GetNext(POSITION& pos);
  const TYPE& GetNext(POSITION& pos) const;
  TYPE& GetPrev(POSITION& pos);
  const TYPE& GetPrev(POSITION& pos) const;
  TYPE& GetAt(POSITION pos);
  const TYPE& GetAt(POSITION pos) const;
  void SetAt(POSITION pos, ARG_TYPE value);
  void RemoveAt(POSITION pos);
  // Inserts before (after) pos; a null or stale pos inserts at the head (tail).
  POSITION InsertBefore(POSITION pos, ARG_TYPE value);
  POSITION InsertAfter(POSITION pos, ARG_TYPE value);

  // First element equal to value after startAfter (from the head when null); null when none.
  POSITION Find(ARG_TYPE value, POSITION startAfter = nullptr) const;
  // Position of the element at index from the head; null when out of range.
  POSITION FindIndex(INT_PTR index) const;

private:
  using Nodes = platform::detail::LinkedNodes<TYPE>;
  using Node = typename Nodes::Node;
  static POSITION Position(const Node* node) { return node ? Nodes::ToPosition(node) : nullptr; }
  TYPE& Scratch() const;
  TYPE& Step(POSITION& pos, bool forward) const;

  Nodes m_nodes;
  mutable TYPE m_scratch{};  // handed out for reads through a bad position, reset each time
};

// A map from KEY to VALUE (unique keys).
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
public:
  explicit CMap(INT_PTR blockSize = 10) { (void)blockSize; }

  INT_PTR GetCount() const { return m_entries.Size(); }
  INT_PTR GetSize() const { return m_entries.Size(); }
  BOOL IsEmpty() const { return m_entries.Size() == 0; }

  // Copies the value of key into value and returns TRUE; FALSE (value untouched) when absent.
  BOOL Lookup(ARG_KEY key, VALUE& value) const;
  // Adds or replaces the value of key.
  void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }
  // The value of key, added default-valued when absent.
  VALUE& operator[](ARG_KEY key);
  // FALSE when the key was absent.
  BOOL RemoveKey(ARG_KEY key);
  void RemoveAll();

  // Iteration: null when the map is empty. Removing the entry just returned is safe.
  POSITION GetStartPosition() const;
  // Gives the entry at pos and moves pos to the next entry or null; a bad pos sets it to null
  // and leaves key and value untouched.
  void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const;

  void InitHashTable(UINT hashSize, BOOL allocNow = TRUE) { (void)hashSize; (void)allocNow; }
  UINT GetHashTableSize() const { return static_cast<UINT>(m_index.bucket_count()); }

private:
  using Nodes = platform::detail::LinkedNodes<std::pair<KEY, VALUE>>;
  using Node = typename Nodes::Node;

  Nodes m_entries;
  std::unordered_map<KEY, Node*> m_index;
};

class CObArray : public CArray<CObject*, CObject*> {};
class CPtrArray : public CArray<void*, void*> {};
class CStringArray : public CArray<CString, const CString&> {};
class CByteArray : public CArray<BYTE, BYTE> {};
class CWordArray : public CArray<WORD, WORD> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
class CUIntArray : public CArray<UINT, UINT> {};

class CObList : public CList<CObject*, CObject*> {
public:
  using CList::CList;
};
class CPtrList : public CList<void*, void*> {
public:
  using CList::CList;
};
class CStringList : public CList<CString, const CString&> {
public:
  using CList::CList;
};

class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
public:
  using CMap::CMap;
};
class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
public:
  using CMap::CMap;
};
class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
public:
  using CMap::CMap;
};
class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
public:
  using CMap::CMap;
};
class CMapStringToOb : public CMap<CString, const char*, CObject*, CObject*> {
public:
  using CMap::CMap;
};
class CMapStringToPtr : public CMap<CString, const char*, void*, void*> {
public:
  using CMap::CMap;
};
class CMapStringToString : public CMap<CString, const char*, CString, const char*> {
public:
  using CMap::CMap;
};

// ---- Template definitions ----

namespace platform::detail {

template <class Payload>
typename LinkedNodes<Payload>::Node* LinkedNodes<Payload>::Find(POSITION pos) const {
  if (!pos) return nullptr;
  auto it = m_nodes.find(reinterpret_cast<const Node*>(pos));
  return it == m_nodes.end() ? nullptr : it->second.get();
}

template <class Payload>
typename LinkedNodes<Payload>::Node* LinkedNodes<Payload>::Adopt(std::unique_ptr<Node> node) {
  Node* raw = node.get();
  m_nodes.emplace(raw, std::move(node));
  return raw;
}

template <class Payload>
typename LinkedNodes<Payload>::Node* LinkedNodes<Payload>::InsertAfter(Node* after, Payload payload) {
  Node* node = Adopt(std::make_unique<Node>(Node{std::move(payload)}));
  node->prev = after;
  node->next = after ? after->next : m_head;
  (node->prev ? node->prev->next : m_head) = node;
  (node->next ? node->next->prev : m_tail) = node;
  return node;
}

template <class Payload>
typename LinkedNodes<Payload>::Node* LinkedNodes<Payload>::InsertBefore(Node* before, Payload payload) {
  return InsertAfter(before ? before->prev : m_tail, std::move(payload));
}

template <class Payload>
void LinkedNodes<Payload>::Erase(Node* node) {
  (node->prev ? node->prev->next : m_head) = node->next;
  (node->next ? node->next->prev : m_tail) = node->prev;
  m_nodes.erase(node);
}

template <class Payload>
void LinkedNodes<Payload>::Clear() {
  m_nodes.clear();
  m_head = m_tail = nullptr;
}

}  // namespace platform::detail

// CArray

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR newSize, INT_PTR growBy) {
  (void)growBy;
  platform::detail::Grow([&] { m_items.resize(newSize > 0 ? static_cast<std::size_t>(newSize) : 0); });
}

template <class TYPE, class ARG_TYPE>
TYPE& CArray<TYPE, ARG_TYPE>::Scratch() const {
  m_scratch = TYPE{};
  return m_scratch;
}

template <class TYPE, class ARG_TYPE>
TYPE CArray<TYPE, ARG_TYPE>::GetAt(INT_PTR index) const {
  return Contains(index) ? m_items[static_cast<std::size_t>(index)] : TYPE{};
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAt(INT_PTR index, ARG_TYPE value) {
  if (Contains(index)) m_items[static_cast<std::size_t>(index)] = value;
}

template <class TYPE, class ARG_TYPE>
TYPE& CArray<TYPE, ARG_TYPE>::ElementAt(INT_PTR index) {
  return Contains(index) ? m_items[static_cast<std::size_t>(index)] : Scratch();
}

template <class TYPE, class ARG_TYPE>
const TYPE& CArray<TYPE, ARG_TYPE>::ElementAt(INT_PTR index) const {
  return Contains(index) ? m_items[static_cast<std::size_t>(index)] : Scratch();
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR index, ARG_TYPE value) {
  if (index < 0) return;
  TYPE copy = value;  // value may live in this array
  if (index >= GetSize()) SetSize(index + 1);
  m_items[static_cast<std::size_t>(index)] = std::move(copy);
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Add(ARG_TYPE value) {
  TYPE copy = value;  // value may live in this array
  platform::detail::Grow([&] { m_items.push_back(std::move(copy)); });
  return GetUpperBound();
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& source) {
  INT_PTR first = GetSize();
  std::vector<TYPE> copy = source.m_items;  // source may be this array
  platform::detail::Grow([&] { m_items.insert(m_items.end(), copy.begin(), copy.end()); });
  return first;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& source) {
  if (&source != this) m_items = source.m_items;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR index, ARG_TYPE value, INT_PTR count) {
  if (index < 0 || count <= 0) return;
  TYPE copy = value;  // value may live in this array
  if (index > GetSize()) SetSize(index);
  platform::detail::Grow([&] {
    m_items.insert(m_items.begin() + index, static_cast<std::size_t>(count), copy);
  });
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR startIndex, const CArray* source) {
  if (!source) return;
  INT_PTR at = startIndex < 0 ? 0 : (startIndex > GetSize() ? GetSize() : startIndex);
  std::vector<TYPE> copy = source->m_items;  // source may be this array
  platform::detail::Grow([&] { m_items.insert(m_items.begin() + at, copy.begin(), copy.end()); });
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR index, INT_PTR count) {
  if (index < 0 || count <= 0 || index >= GetSize()) return;
  INT_PTR last = (count > GetSize() - index) ? GetSize() : index + count;
  m_items.erase(m_items.begin() + index, m_items.begin() + last);
}

// CList

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::Scratch() const {
  m_scratch = TYPE{};
  return m_scratch;
}

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::GetHead() {
  return m_nodes.Head() ? m_nodes.Head()->payload : Scratch();
}

template <class TYPE, class ARG_TYPE>
const TYPE& CList<TYPE, ARG_TYPE>::GetHead() const {
  return m_nodes.Head() ? m_nodes.Head()->payload : Scratch();
}

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::GetTail() {
  return m_nodes.Tail() ? m_nodes.Tail()->payload : Scratch();
}

template <class TYPE, class ARG_TYPE>
const TYPE& CList<TYPE, ARG_TYPE>::GetTail() const {
  return m_nodes.Tail() ? m_nodes.Tail()->payload : Scratch();
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead() {
  Node* head = m_nodes.Head();
  if (!head) return TYPE{};
  TYPE value = std::move(head->payload);
  m_nodes.Erase(head);
  return value;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail() {
  Node* tail = m_nodes.Tail();
  if (!tail) return TYPE{};
  TYPE value = std::move(tail->payload);
  m_nodes.Erase(tail);
  return value;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddHead(ARG_TYPE value) {
  TYPE copy = value;
  return Position(m_nodes.InsertAfter(nullptr, std::move(copy)));
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddTail(ARG_TYPE value) {
  TYPE copy = value;
  return Position(m_nodes.InsertBefore(nullptr, std::move(copy)));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(const CList* other) {
  if (!other) return;
  std::vector<TYPE> copy;  // other may be this list
  for (Node* n = other->m_nodes.Head(); n; n = n->next) copy.push_back(n->payload);
  for (auto it = copy.rbegin(); it != copy.rend(); ++it) m_nodes.InsertAfter(nullptr, std::move(*it));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(const CList* other) {
  if (!other) return;
  std::vector<TYPE> copy;  // other may be this list
  for (Node* n = other->m_nodes.Head(); n; n = n->next) copy.push_back(n->payload);
  for (auto& value : copy) m_nodes.InsertBefore(nullptr, std::move(value));
}

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::Step(POSITION& pos, bool forward) const {
  Node* node = m_nodes.Find(pos);
  if (!node) {
    pos = nullptr;
    return Scratch();
  }
  pos = Position(forward ? node->next : node->prev);
  return node->payload;
}

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::GetNext(POSITION& pos) { return Step(pos, true); }

template <class TYPE, class ARG_TYPE>
const TYPE& CList<TYPE, ARG_TYPE>::GetNext(POSITION& pos) const { return Step(pos, true); }

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::GetPrev(POSITION& pos) { return Step(pos, false); }

template <class TYPE, class ARG_TYPE>
const TYPE& CList<TYPE, ARG_TYPE>::GetPrev(POSITION& pos) const { return Step(pos, false); }

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::GetAt(POSITION pos) { return Step(pos, true); }

template <class TYPE, class ARG_TYPE>
const TYPE& CList<TYPE, ARG_TYPE>::GetAt(POSITION pos) const { return Step(pos, true); }

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::SetAt(POSITION pos, ARG_TYPE value) {
  if (Node* node = m_nodes.Find(pos)) node->payload = value;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION pos) {
  if (Node* node = m_nodes.Find(pos)) m_nodes.Erase(node);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION pos, ARG_TYPE value) {
  Node* node = m_nodes.Find(pos);
  if (!node) return AddHead(value);
  TYPE copy = value;
  return Position(m_nodes.InsertBefore(node, std::move(copy)));
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION pos, ARG_TYPE value) {
  Node* node = m_nodes.Find(pos);
  if (!node) return AddTail(value);
  TYPE copy = value;
  return Position(m_nodes.InsertAfter(node, std::move(copy)));
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE value, POSITION startAfter) const {
  Node* start = m_nodes.Find(startAfter);
  for (Node* n = start ? start->next : m_nodes.Head(); n; n = n->next) {
    if (n->payload == value) return Position(n);
  }
  return nullptr;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(INT_PTR index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  Node* n = m_nodes.Head();
  while (index-- > 0) n = n->next;
  return Position(n);
}

// CMap

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& value) const {
  auto it = m_index.find(KEY(key));
  if (it == m_index.end()) return FALSE;
  value = it->second->payload.second;
  return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key) {
  KEY k(key);
  auto it = m_index.find(k);
  if (it != m_index.end()) return it->second->payload.second;
  Node* node = m_entries.InsertBefore(nullptr, std::pair<KEY, VALUE>(k, VALUE{}));
  m_index.emplace(std::move(k), node);
  return node->payload.second;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key) {
  auto it = m_index.find(KEY(key));
  if (it == m_index.end()) return FALSE;
  Node* node = it->second;
  m_index.erase(it);
  m_entries.Erase(node);
  return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll() {
  m_index.clear();
  m_entries.Clear();
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
POSITION CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetStartPosition() const {
  return m_entries.Head() ? Nodes::ToPosition(m_entries.Head()) : nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const {
  Node* node = m_entries.Find(pos);
  if (!node) {
    pos = nullptr;
    return;
  }
  key = node->payload.first;
  value = node->payload.second;
  pos = node->next ? Nodes::ToPosition(node->next) : nullptr;
}
