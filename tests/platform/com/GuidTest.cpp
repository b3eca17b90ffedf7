#include <gtest/gtest.h>

#include <map>

#include "platform/com.h"

namespace {

constexpr GUID kControl = GuidFromText("{87C23E88-067C-11D3-A9BF-00A024930AD4}");

TEST(GuidTest, TextFormRoundTripsAndKeepsByteOrder) {
  EXPECT_EQ(kControl.Data1, 0x87C23E88u);
  EXPECT_EQ(kControl.Data2, 0x067C);
  EXPECT_EQ(kControl.Data3, 0x11D3);
  EXPECT_EQ(kControl.Data4[0], 0xA9);
  EXPECT_EQ(kControl.Data4[7], 0xD4);
  EXPECT_EQ(GuidToString(kControl), "{87C23E88-067C-11D3-A9BF-00A024930AD4}");

  GUID lower;
  ASSERT_TRUE(ParseGuid("{87c23e88-067c-11d3-a9bf-00a024930ad4}", lower));
  EXPECT_EQ(lower, kControl);

  OLECHAR wide[39];
  EXPECT_EQ(StringFromGUID2(kControl, wide, 39), 39);
  CLSID back;
  EXPECT_EQ(CLSIDFromString(wide, &back), S_OK);
  EXPECT_EQ(back, kControl);
  EXPECT_EQ(StringFromGUID2(kControl, wide, 38), 0);  // no room for the terminator
}

TEST(GuidTest, MalformedTextIsRefusedAndLeavesZero) {
  const char* bad[] = {
      "87C23E88-067C-11D3-A9BF-00A024930AD4",     // no braces
      "{87C23E88-067C-11D3-A9BF-00A024930AD}",    // short
      "{87C23E88-067C-11D3-A9BF-00A024930AD44}",  // long
      "{87C23E88+067C-11D3-A9BF-00A024930AD4}",   // wrong separator
      "{87C23E8G-067C-11D3-A9BF-00A024930AD4}",   // not hex
      "{87C23E88-067C-11D3-A9BF-00A024930AD4)",   // wrong closing
      "",
  };
  for (const char* text : bad) {
    GUID g = kControl;
    EXPECT_FALSE(ParseGuid(text, g)) << text;
    EXPECT_EQ(g, GUID_NULL) << text;
  }
  CLSID clsid = kControl;
  EXPECT_EQ(CLSIDFromString(u"{87C23E88-067C-11D3-A9BF-00A024930AD\u00E4}", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(clsid, GUID_NULL);
  EXPECT_EQ(CLSIDFromString(nullptr, &clsid), CO_E_CLASSSTRING);
  IID iid;
  EXPECT_EQ(IIDFromString(u"{nonsense}", &iid), E_INVALIDARG);
}

TEST(GuidTest, GuidsOrderAndKeyMaps) {
  GUID a = GuidFromText("{00000001-0000-0000-0000-000000000000}");
  GUID b = GuidFromText("{00000001-0000-0000-0000-000000000001}");
  EXPECT_TRUE(a < b);
  EXPECT_FALSE(b < a);
  EXPECT_FALSE(a < a);
  std::map<GUID, int> byId{{a, 1}, {b, 2}};
  EXPECT_EQ(byId[b], 2);
  EXPECT_TRUE(IsEqualCLSID(a, a));
  EXPECT_FALSE(IsEqualIID(a, b));
}

}  // namespace
