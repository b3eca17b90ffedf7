// Connection points of an in-process event source: lifetime and re-entrant sinks.

#include <gtest/gtest.h>

#include "platform/com/ComTestSupport.h"
#include "platform/com_events.h"

using comtest::CRecordingSink;

namespace {

constexpr IID DIID_SourceEvents = GuidFromText("{3F6A2C30-5B7E-4D21-9C1A-7E5D0B2A4C01}");

class CSource final : public CComObjectImpl<IConnectionPointContainer> {
public:
  explicit CSource(bool* destroyed) : m_destroyed(destroyed), m_events(this) { m_events.Add(DIID_SourceEvents); }
  ~CSource() override { *m_destroyed = true; }

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    return m_events.Find(riid, point);
  }
  void Fire(SHORT code) { m_events.Fire(DIID_SourceEvents, 2, {CComVariant(code), CComVariant(LONG{1234})}); }

private:
  bool* m_destroyed;
  CConnectionPoints m_events;
};

class ConnectionPointTest : public ::testing::Test {
protected:
  ConnectionPointTest() { m_source = new CSource(&m_destroyed); m_source->AddRef(); }
  ~ConnectionPointTest() override {
    if (m_source) m_source->Release();
  }
  CComPtr<IConnectionPoint> Point() {
    CComPtr<IConnectionPoint> point;
    EXPECT_EQ(m_source->FindConnectionPoint(DIID_SourceEvents, &point), S_OK);
    return point;
  }

  bool m_destroyed{false};
  CSource* m_source{nullptr};
};

TEST_F(ConnectionPointTest, PointSharesTheLifetimeOfItsObject) {
  CComPtr<IConnectionPoint> point = Point();
  IID iid;
  ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_EQ(iid, DIID_SourceEvents);
  CComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(point->GetConnectionPointContainer(&container), S_OK);
  EXPECT_EQ(container.p, static_cast<IConnectionPointContainer*>(m_source));
  container.Release();

  m_source->Release();
  m_source = nullptr;
  EXPECT_FALSE(m_destroyed);  // the point still holds it
  point.Release();
  EXPECT_TRUE(m_destroyed);
}

TEST_F(ConnectionPointTest, AdviseRefusesMissingSinksAndCookies) {
  CComPtr<IConnectionPoint> point = Point();
  DWORD cookie = 5;
  EXPECT_EQ(point->Advise(nullptr, &cookie), E_POINTER);
  EXPECT_EQ(cookie, 0u);
  CComPtr<CRecordingSink> sink(new CRecordingSink(DIID_SourceEvents));
  EXPECT_EQ(point->Advise(sink->GetUnknown(), nullptr), E_POINTER);
  EXPECT_EQ(point->Unadvise(77), CONNECT_E_NOCONNECTION);
  IEnumConnections* connections = nullptr;
  EXPECT_EQ(point->EnumConnections(&connections), E_NOTIMPL);
}

TEST_F(ConnectionPointTest, SinkMayDisconnectItselfAndOthersDuringAnEvent) {
  CComPtr<IConnectionPoint> point = Point();
  CComPtr<CRecordingSink> first(new CRecordingSink(DIID_SourceEvents));
  CComPtr<CRecordingSink> second(new CRecordingSink(DIID_SourceEvents));
  DWORD firstCookie = 0, secondCookie = 0;
  ASSERT_EQ(point->Advise(first->GetUnknown(), &firstCookie), S_OK);
  ASSERT_EQ(point->Advise(second->GetUnknown(), &secondCookie), S_OK);
  IConnectionPoint* raw = point;
  first->onEvent = [&] {
    raw->Unadvise(firstCookie);
    raw->Unadvise(secondCookie);
  };
  // Every sink connected when the event started receives it.
  m_source->Fire(3);
  EXPECT_EQ(first->events.size(), 1u);
  ASSERT_EQ(second->events.size(), 1u);
  EXPECT_EQ(second->events[0].id, 2);
  EXPECT_EQ(second->events[0].args[0].iVal, 3);
  EXPECT_EQ(second->events[0].args[1].lVal, 1234);
  m_source->Fire(4);
  EXPECT_EQ(first->events.size(), 1u);
  EXPECT_EQ(second->events.size(), 1u);
}

TEST_F(ConnectionPointTest, SinkMayReleaseTheLastReferenceOfTheSourceDuringAnEvent) {
  CComPtr<CRecordingSink> sink(new CRecordingSink(DIID_SourceEvents));
  DWORD cookie = 0;
  ASSERT_EQ(Point()->Advise(sink->GetUnknown(), &cookie), S_OK);
  CSource* source = m_source;
  m_source = nullptr;
  sink->onEvent = [source] { source->Release(); };
  source->Fire(1);
  EXPECT_TRUE(m_destroyed);
  EXPECT_EQ(sink->events.size(), 1u);
}

}  // namespace

namespace {

// A source that tells its sinks it is going away.
class CFarewellSource final : public CComObjectImpl<IConnectionPointContainer> {
public:
  CFarewellSource() : m_events(this) { m_events.Add(DIID_SourceEvents); }
  ~CFarewellSource() override { m_events.Fire(DIID_SourceEvents, 9, {}); }

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    return m_events.Find(riid, point);
  }

private:
  CConnectionPoints m_events;
};

TEST(ConnectionPointLifetimeTest, EventFiredWhileTheObjectIsDestroyedDoesNotDestroyItTwice) {
  CComPtr<CRecordingSink> sink(new CRecordingSink(DIID_SourceEvents));
  CFarewellSource* source = CFarewellSource::Create<CFarewellSource>();
  ASSERT_NE(source, nullptr);
  {
    CComPtr<IConnectionPoint> point;
    ASSERT_EQ(source->FindConnectionPoint(DIID_SourceEvents, &point), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(sink->GetUnknown(), &cookie), S_OK);
  }
  source->Release();
  ASSERT_EQ(sink->events.size(), 1u);
  EXPECT_EQ(sink->events[0].id, 9);
}

}  // namespace
