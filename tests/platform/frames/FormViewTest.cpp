#include "platform/formview.h"

#include <gtest/gtest.h>

#include "FrameTestSupport.h"

namespace frametest {
namespace {

constexpr UINT IDD_FORM = 412;
constexpr UINT IDC_NAME = 1001;
constexpr UINT IDC_COUNT = 1002;
constexpr UINT IDC_GO = 1003;

class CNameForm : public CFormView {
  DECLARE_DYNCREATE(CNameForm)
public:
  CNameForm() : CFormView(IDD_FORM) {}
  CString m_name{"alice"};
  int m_count{7};
  int m_clicks{0};

protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, IDC_NAME, m_name);
    DDX_Text(dx, IDC_COUNT, m_count);
  }
  void OnGo() { ++m_clicks; }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CNameForm, CFormView)

BEGIN_MESSAGE_MAP(CNameForm, CFormView)
  ON_BN_CLICKED(IDC_GO, OnGo)
END_MESSAGE_MAP()

class FormViewTest : public FrameFixture {
protected:
  FormViewTest() {
    platform::DialogTemplate tmpl;
    tmpl.cx = 200;
    tmpl.cy = 100;
    tmpl.items.push_back({"Edit", IDC_NAME, 10, 10, 80, 12, WS_VISIBLE | WS_TABSTOP, 0, ""});
    tmpl.items.push_back({"Edit", IDC_COUNT, 10, 30, 40, 12, WS_VISIBLE | WS_TABSTOP, 0, ""});
    tmpl.items.push_back({"Button", IDC_GO, 10, 50, 40, 14, WS_VISIBLE, 0, "Go"});
    platform::AddDialogTemplate(*platform::CurrentResourceModule(), IDD_FORM, tmpl);
    m_parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr);
  }
  CNameForm* MakeForm() {
    auto* form = static_cast<CNameForm*>(RUNTIME_CLASS(CNameForm)->CreateObject());
    if (!form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &m_parent, 1)) return nullptr;
    return form;
  }
  CWnd m_parent;
};

TEST_F(FormViewTest, TemplateControlsAreMadeAndLoadedFromTheMembers) {
  CNameForm* form = MakeForm();
  ASSERT_NE(form, nullptr);
  ASSERT_NE(form->GetDlgItem(IDC_NAME), nullptr);
  ASSERT_NE(form->GetDlgItem(IDC_GO), nullptr);
  form->OnInitialUpdate();
  CString text;
  form->GetDlgItemText(IDC_NAME, text);
  EXPECT_EQ(text, "alice");
  form->GetDlgItemText(IDC_COUNT, text);
  EXPECT_EQ(text, "7");
  EXPECT_GT(form->GetTotalSize().cx, 0);
}

TEST_F(FormViewTest, SavingReadsTheControlsAndABadNumberChangesNothing) {
  CNameForm* form = MakeForm();
  ASSERT_NE(form, nullptr);
  form->SetDlgItemText(IDC_NAME, "bob");
  form->SetDlgItemText(IDC_COUNT, "12");
  ASSERT_TRUE(form->UpdateData(TRUE));
  EXPECT_EQ(form->m_name, "bob");
  EXPECT_EQ(form->m_count, 12);

  m_script.buttons = {IDOK};
  form->SetDlgItemText(IDC_NAME, "carol");
  form->SetDlgItemText(IDC_COUNT, "many");
  EXPECT_FALSE(form->UpdateData(TRUE));
  EXPECT_EQ(form->m_name, "bob");
  EXPECT_EQ(form->m_count, 12);
}

TEST_F(FormViewTest, ButtonClicksReachTheFormsMap) {
  CNameForm* form = MakeForm();
  ASSERT_NE(form, nullptr);
  HWND button = form->GetDlgItem(IDC_GO)->m_hWnd;
  form->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_GO, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  EXPECT_EQ(form->m_clicks, 1);
}

TEST_F(FormViewTest, MissingTemplateFailsCreationWithoutALeak) {
  class CNoTemplateForm : public CFormView {
  public:
    CNoTemplateForm() : CFormView(999) {}
  };
  auto* form = new CNoTemplateForm;
  EXPECT_FALSE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &m_parent, 2));
}

TEST_F(FormViewTest, AControlThatIsNotRegisteredFailsTheForm) {
  platform::ScopedPlatformHome home;  // an empty registry
  platform::DialogTemplate tmpl;
  tmpl.cx = 100;
  tmpl.cy = 60;
  tmpl.items.push_back({"{0B0C0D0E-1111-2222-3333-444455556666}", 1421, 0, 0, 60, 40, WS_VISIBLE, 0, ""});
  platform::AddDialogTemplate(*platform::CurrentResourceModule(), 998, tmpl);
  class CHostForm : public CFormView {
  public:
    CHostForm() : CFormView(998) {}
  };
  auto* form = new CHostForm;
  EXPECT_FALSE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 60), &m_parent, 3));
}

}  // namespace
}  // namespace frametest
