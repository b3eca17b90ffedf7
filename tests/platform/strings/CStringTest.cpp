#include "platform/strings.h"

#include <gtest/gtest.h>

namespace {

// A double-byte character whose trail byte is an ASCII letter: 0x81 0x61.
const CString kLetterTrail(
    "\x81"
    "a");

TEST(CStringSubstrings, MidClampsNegativeAndOutOfRangeArguments) {
  CString s("abcdef");
  EXPECT_EQ(s.Mid(2), "cdef");
  EXPECT_EQ(s.Mid(-3), "abcdef");
  EXPECT_EQ(s.Mid(6), "");
  EXPECT_EQ(s.Mid(100), "");
  EXPECT_EQ(s.Mid(1, 2), "bc");
  EXPECT_EQ(s.Mid(4, 100), "ef");
  EXPECT_EQ(s.Mid(2, -1), "");
  EXPECT_EQ(s.Mid(-2, 3), "abc");
  EXPECT_EQ(s.Mid(10, 3), "");
}

TEST(CStringSubstrings, LeftAndRightClamp) {
  CString s("abcdef");
  EXPECT_EQ(s.Left(2), "ab");
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.Left(99), "abcdef");
  EXPECT_EQ(s.Right(2), "ef");
  EXPECT_EQ(s.Right(-5), "");
  EXPECT_EQ(s.Right(99), "abcdef");
  EXPECT_EQ(CString().Left(3), "");
  EXPECT_EQ(CString().Right(3), "");
}

TEST(CStringSubstrings, GetAtOutsideGivesZeroAndSetAtOutsideIsIgnored) {
  CString s("ab");
  EXPECT_EQ(s.GetAt(-1), 0);
  EXPECT_EQ(s.GetAt(2), 0);
  s.SetAt(5, 'x');
  s.SetAt(-1, 'x');
  EXPECT_EQ(s, "ab");
}

TEST(CStringFormat, IntegersWithWidthsAndPadding) {
  CString s;
  s.Format("%d|%u|%02d|%03d|%010d", -42, 4000000000u, 7, 5, 123);
  EXPECT_EQ(s, "-42|4000000000|07|005|0000000123");
  s.Format("%02d", 123);
  EXPECT_EQ(s, "123");  // a width never cuts
}

TEST(CStringFormat, StringsCharsAndFloats) {
  CString s;
  CString name("kim");
  s.Format("%s:%c:%f:%.1f", static_cast<LPCTSTR>(name), 'x', 1.5, 2.25);
  EXPECT_EQ(s, "kim:x:1.500000:2.2");
  s.Format("%.1f", -0.05);
  EXPECT_EQ(s, "-0.1");
}

TEST(CStringFormat, LongOutputAndAppend) {
  CString big('x', 5000);
  CString s;
  s.Format("<%s>", big.GetString());
  EXPECT_EQ(s.GetLength(), 5002);
  s.AppendFormat("%d", 9);
  EXPECT_EQ(s.Right(2), ">9");
}

TEST(CStringSearch, FindHandlesStartsPastTheEndAndNegative) {
  CString s("abcabc");
  EXPECT_EQ(s.Find('b'), 1);
  EXPECT_EQ(s.Find('b', 2), 4);
  EXPECT_EQ(s.Find('b', -5), 1);
  EXPECT_EQ(s.Find('b', 6), -1);
  EXPECT_EQ(s.Find('b', 100), -1);
  EXPECT_EQ(s.Find("ca"), 2);
  EXPECT_EQ(s.Find("bc", 3), 4);
  EXPECT_EQ(s.Find("bc", 7), -1);
  EXPECT_EQ(s.Find("zz"), -1);
  EXPECT_EQ(s.Find(static_cast<const char*>(nullptr)), -1);
  EXPECT_EQ(s.ReverseFind('a'), 3);
  EXPECT_EQ(s.ReverseFind('z'), -1);
  EXPECT_EQ(s.FindOneOf("xc"), 2);
  EXPECT_EQ(s.FindOneOf(""), -1);
}

TEST(CStringSearch, NeverMatchesTheTrailByteOfADoubleByteCharacter) {
  CString s = kLetterTrail + "a";
  EXPECT_EQ(s.Find('a'), 2);
  EXPECT_EQ(s.Find("a"), 2);
  EXPECT_EQ(s.ReverseFind('a'), 2);
  EXPECT_EQ(s.FindOneOf("a"), 2);
  EXPECT_EQ(kLetterTrail.Find('a'), -1);
}

TEST(CStringSearch, AStartInsideADoubleByteCharacterMovesToTheNextCharacter) {
  CString s = "x" + kLetterTrail + "a";
  EXPECT_EQ(s.Find('a', 2), 3);
  EXPECT_EQ(s.Find("a", 2), 3);
  CString korean = CString(Cp949("생a")) + "a";  // 0xBB 0xFD 'a' 'a'
  EXPECT_EQ(korean.Find('a', 1), 2);
}

TEST(CStringEditing, ReplaceAfterDoubleByteCharactersStaysOnCharacterBoundaries) {
  CString s = kLetterTrail + "a" + kLetterTrail + "a";
  EXPECT_EQ(s.Replace("a", "bb"), 2);
  EXPECT_EQ(s, kLetterTrail + "bb" + kLetterTrail + "bb");
  CString text = CString(Cp949("흑")) + ", " + Cp949("백") + ", ";
  EXPECT_EQ(text.Replace(", ", "|"), 2);
  EXPECT_EQ(text, CString(Cp949("흑")) + "|" + Cp949("백") + "|");
}

TEST(CStringEditing, ReplaceCountsAndHandlesEmptyAndGrowingPatterns) {
  CString s("a-b-c");
  EXPECT_EQ(s.Replace("-", "--"), 2);
  EXPECT_EQ(s, "a--b--c");
  EXPECT_EQ(s.Replace("--", ""), 2);
  EXPECT_EQ(s, "abc");
  EXPECT_EQ(s.Replace("", "x"), 0);
  EXPECT_EQ(s.Replace("q", "x"), 0);
  EXPECT_EQ(s.Replace('b', 'B'), 1);
  EXPECT_EQ(s, "aBc");
  CString same("aaa");
  EXPECT_EQ(same.Replace("a", "aa"), 3);
  EXPECT_EQ(same, "aaaaaa");
}

TEST(CStringEditing, ReplaceAndRemoveKeepDoubleByteCharactersWhole) {
  CString s = kLetterTrail + "a" + kLetterTrail;
  EXPECT_EQ(s.Replace('a', 'z'), 1);
  EXPECT_EQ(s, kLetterTrail + "z" + kLetterTrail);
  EXPECT_EQ(s.Remove('z'), 1);
  EXPECT_EQ(s, kLetterTrail + kLetterTrail);
  EXPECT_EQ(s.Remove('a'), 0);
  CString korean(Cp949("생중계"));
  CString copy = korean;
  copy.Replace("a", "b");
  EXPECT_EQ(copy, korean);
}

TEST(CStringEditing, RemoveDropsEveryOccurrence) {
  CString s(" a b  c ");
  EXPECT_EQ(s.Remove(' '), 5);
  EXPECT_EQ(s, "abc");
}

TEST(CStringEditing, TrimsWhitespaceCharsAndSets) {
  CString s(" \t ab c \r\n");
  s.TrimLeft();
  EXPECT_EQ(s, "ab c \r\n");
  s.TrimRight();
  EXPECT_EQ(s, "ab c");
  CString t("xxabxx");
  t.TrimLeft('x');
  EXPECT_EQ(t, "abxx");
  t.TrimRight("xb");
  EXPECT_EQ(t, "a");
  CString all("   ");
  all.Trim();
  EXPECT_TRUE(all.IsEmpty());
}

TEST(CStringEditing, TrimRightNeverEatsATrailByte) {
  CString s = kLetterTrail;
  s.TrimRight('a');
  EXPECT_EQ(s, kLetterTrail);
  CString t = "a" + kLetterTrail;
  t.TrimLeft("a\x81");  // the lead byte alone is not the character
  EXPECT_EQ(t, kLetterTrail);
}

TEST(CStringCase, MakeUpperLeavesDoubleByteCharactersAlone) {
  CString s = "ab" + kLetterTrail + "c";
  s.MakeUpper();
  EXPECT_EQ(s, "AB" + kLetterTrail + "C");
  CString korean(Cp949("생중계"));
  CString upper = korean;
  upper.MakeUpper();
  EXPECT_EQ(upper, korean);
  s.MakeLower();
  EXPECT_EQ(s, "ab" + kLetterTrail + "c");
}

TEST(CStringCase, CompareNoCaseIgnoresAsciiCaseOnly) {
  EXPECT_EQ(CString("Hello").CompareNoCase("hELLO"), 0);
  EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
  EXPECT_GT(CString("\xB0\xA1").Compare("a"), 0);  // bytes compare unsigned
  EXPECT_EQ(CString("x").Compare(nullptr), 1);
}

TEST(CStringBuffer, GetBufferAndReleaseBuffer) {
  CString s;
  char* p = s.GetBuffer(10);
  std::snprintf(p, 11, "%s", "hello");
  s.ReleaseBuffer();
  EXPECT_EQ(s, "hello");
  s.GetBufferSetLength(3);
  s.ReleaseBuffer(2);
  EXPECT_EQ(s, "he");
  s.ReleaseBuffer(50);
  EXPECT_EQ(s, "he");
}

TEST(CStringEditing, InsertAndDeleteClamp) {
  CString s("ace");
  s.Insert(1, 'b');
  s.Insert(100, "f");
  s.Insert(-4, "_");
  EXPECT_EQ(s, "_abcef");
  s.Delete(-1, 2);
  EXPECT_EQ(s, "bcef");
  s.Delete(3, 100);
  EXPECT_EQ(s, "bce");
  s.Delete(10);
  EXPECT_EQ(s, "bce");
}

TEST(CStringBasics, ConstructionFromNullAndCounts) {
  EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
  EXPECT_EQ(CString("abcdef", 3), "abc");
  EXPECT_EQ(CString("ab", -1), "");
  EXPECT_EQ(CString('z', 3), "zzz");
  EXPECT_EQ(CString('z', -2), "");
  EXPECT_EQ(CString("a") + 'b' + "c" + CString("d"), "abcd");
}

}  // namespace
