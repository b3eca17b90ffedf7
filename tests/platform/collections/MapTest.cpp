#include <gtest/gtest.h>

#include <set>

#include "platform/collections.h"

namespace {

class Room : public CObject {
public:
  explicit Room(int number) : m_number(number) {}
  int m_number{0};
};

TEST(CMapBasics, SetLookupReplaceAndRemove) {
  CMapWordToOb map(10);
  Room a(1), b(2);
  map.SetAt(7, &a);
  map[9] = &b;
  CObject* found = nullptr;
  ASSERT_TRUE(map.Lookup(7, found));
  EXPECT_EQ(found, &a);
  map.SetAt(7, &b);
  ASSERT_TRUE(map.Lookup(7, found));
  EXPECT_EQ(found, &b);
  EXPECT_EQ(map.GetCount(), 2);
  EXPECT_TRUE(map.RemoveKey(7));
  EXPECT_FALSE(map.RemoveKey(7));
  found = &a;
  EXPECT_FALSE(map.Lookup(7, found));
  EXPECT_EQ(found, &a);  // untouched on a miss
}

TEST(CMapBasics, IndexingAddsADefaultEntry) {
  CMapStringToString map;
  EXPECT_TRUE(map["absent"].IsEmpty());
  EXPECT_EQ(map.GetCount(), 1);
  map["k"] = "v";
  CString value;
  EXPECT_TRUE(map.Lookup("k", value));
  EXPECT_EQ(value, "v");
}

TEST(CMapBasics, StringKeysAreExactBytes) {
  CMapStringToOb map;
  Room room(3);
  map.SetAt(Cp949("생중계"), &room);
  CObject* found = nullptr;
  EXPECT_TRUE(map.Lookup(Cp949("생중계"), found));
  EXPECT_FALSE(map.Lookup("x", found));
  map.SetAt("Abc", &room);
  EXPECT_FALSE(map.Lookup("abc", found));
}

TEST(CMapIteration, VisitsEveryEntryOnceInInsertionOrder) {
  CMapPtrToPtr map;
  int values[4] = {};
  for (int& v : values) map.SetAt(&v, &v + 1);
  std::set<void*> seen;
  void* key = nullptr;
  void* value = nullptr;
  POSITION pos = map.GetStartPosition();
  ASSERT_NE(pos, nullptr);
  map.GetNextAssoc(pos, key, value);
  EXPECT_EQ(key, &values[0]);
  seen.insert(key);
  while (pos) {
    map.GetNextAssoc(pos, key, value);
    EXPECT_EQ(value, static_cast<int*>(key) + 1);
    seen.insert(key);
  }
  EXPECT_EQ(seen.size(), 4u);
  EXPECT_EQ(CMapPtrToPtr().GetStartPosition(), nullptr);
}

TEST(CMapIteration, RemovingTheEntryJustReturnedIsSafe) {
  CMapWordToPtr map;
  for (WORD k = 0; k < 10; ++k) map.SetAt(k, nullptr);
  POSITION pos = map.GetStartPosition();
  while (pos) {
    WORD key = 0;
    void* value = nullptr;
    map.GetNextAssoc(pos, key, value);
    if (key % 3 != 0) map.RemoveKey(key);
  }
  EXPECT_EQ(map.GetCount(), 4);
}

TEST(CMapIteration, AStalePositionEndsTheWalk) {
  CMapStringToPtr map;
  map.SetAt("a", nullptr);
  POSITION pos = map.GetStartPosition();
  map.RemoveAll();
  CString key = "kept";
  void* value = &key;
  map.GetNextAssoc(pos, key, value);
  EXPECT_EQ(pos, nullptr);
  EXPECT_EQ(key, "kept");
  EXPECT_EQ(value, &key);
}

TEST(CMapBasics, OwnedValuesAreTheCallersToDelete) {
  CMapWordToOb map;
  map.SetAt(1, new Room(1));
  map.SetAt(2, new Room(2));
  POSITION pos = map.GetStartPosition();
  while (pos) {
    WORD key = 0;
    CObject* room = nullptr;
    map.GetNextAssoc(pos, key, room);
    delete room;
  }
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());
  map.InitHashTable(17);
  EXPECT_GT(map.GetHashTableSize(), 0u);
}

}  // namespace
