#include "platform/runtime_class.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/frames.h"
#include "platform/view.h"

namespace {

class CShape : public CObject {
  DECLARE_DYNAMIC(CShape)
};
class CCircle : public CShape {
  DECLARE_DYNCREATE(CCircle)
public:
  int m_radius{3};
};
class CSquare : public CShape {
  DECLARE_DYNCREATE(CSquare)
};

IMPLEMENT_DYNAMIC(CShape, CObject)
IMPLEMENT_DYNCREATE(CCircle, CShape)
IMPLEMENT_DYNCREATE(CSquare, CShape)

TEST(RuntimeClassTest, IsKindOfFollowsTheClassChain) {
  CCircle circle;
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CSquare)));
  EXPECT_FALSE(circle.IsKindOf(nullptr));
  EXPECT_STREQ(circle.GetRuntimeClass()->m_lpszClassName, "CCircle");
  EXPECT_EQ(circle.GetRuntimeClass()->GetBaseClass(), RUNTIME_CLASS(CShape));
  const CShape& asShape = circle;
  EXPECT_EQ(asShape.GetRuntimeClass(), RUNTIME_CLASS(CCircle));
}

TEST(RuntimeClassTest, CreatesOnlyDynamicallyCreatableClasses) {
  std::unique_ptr<CObject> made(RUNTIME_CLASS(CCircle)->CreateObject());
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_EQ(static_cast<CCircle*>(made.get())->m_radius, 3);
  EXPECT_EQ(RUNTIME_CLASS(CShape)->CreateObject(), nullptr);
  EXPECT_EQ(RUNTIME_CLASS(CView)->CreateObject(), nullptr);
}

TEST(RuntimeClassTest, ClassesAreFoundByName) {
  EXPECT_EQ(CRuntimeClass::FromName("CSquare"), RUNTIME_CLASS(CSquare));
  EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
  EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
  std::unique_ptr<CObject> square(CRuntimeClass::CreateObject("CSquare"));
  ASSERT_NE(square, nullptr);
  EXPECT_TRUE(square->IsKindOf(RUNTIME_CLASS(CSquare)));
  EXPECT_EQ(CRuntimeClass::CreateObject("CShape"), nullptr);
}

TEST(RuntimeClassTest, WindowClassesDeriveFromCWnd) {
  std::unique_ptr<CObject> frame(RUNTIME_CLASS(CFrameWnd)->CreateObject());
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CWnd)));
  EXPECT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
  EXPECT_FALSE(frame->IsKindOf(RUNTIME_CLASS(CView)));
  EXPECT_TRUE(RUNTIME_CLASS(CScrollView)->IsDerivedFrom(RUNTIME_CLASS(CWnd)));
}

}  // namespace
