// Document templates: documents made with their frame and first view.
#include <strings.h>

#include <cstring>

#include "platform/app.h"
#include "platform/document.h"
#include "platform/frames.h"
#include "platform/resources.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                           CRuntimeClass* viewClass)
    : m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass), m_nIDResource(idResource) {}

void CDocTemplate::LoadTemplate() {
  if (m_strDocStrings.IsEmpty()) AfxLoadStringResource(m_nIDResource, m_strDocStrings);
}

BOOL CDocTemplate::GetDocString(CString& out, DocStringIndex index) const {
  out.Empty();
  const char* part = m_strDocStrings.GetString();
  for (int i = 0; i < index; ++i) {
    part = std::strchr(part, '\n');
    if (!part) return FALSE;
    ++part;
  }
  const char* end = std::strchr(part, '\n');
  out = end ? CString(part, static_cast<int>(end - part)) : CString(part);
  return !out.IsEmpty();
}

CDocument* CDocTemplate::CreateNewDocument() {
  CObject* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
  auto* doc = dynamic_cast<CDocument*>(object);
  if (!doc) {
    delete object;
    return nullptr;
  }
  AddDocument(doc);
  return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other) {
  CCreateContext context;
  context.m_pCurrentFrame = other;
  context.m_pCurrentDoc = doc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  CObject* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
  auto* frame = dynamic_cast<CFrameWnd*>(object);
  if (!frame) {
    delete object;
    return nullptr;
  }
  // A frame that fails to load has deleted itself (PostNcDestroy).
  if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) return nullptr;
  return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible) {
  frame->InitialUpdateFrame(doc, makeVisible);
}

void CDocTemplate::AddDocument(CDocument* doc) { doc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* doc) { doc->m_pDocTemplate = nullptr; }

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCTSTR path, CDocument*& match) {
  match = nullptr;
  if (!path) return noAttempt;
  CDocument* open = GetOpenDocument();
  if (open && open->GetPathName() == path) {
    match = open;
    return yesAlreadyOpen;
  }
  CString ext;
  if (GetDocString(ext, filterExt)) {
    size_t pathLength = std::strlen(path);
    size_t extLength = static_cast<size_t>(ext.GetLength());
    if (pathLength >= extLength && strcasecmp(path + pathLength - extLength, ext) == 0) return yesAttemptNative;
  }
  return yesAttemptForeign;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
  if (CDocument* doc = GetOpenDocument()) doc->OnCloseDocument();
}

BOOL CDocTemplate::SaveAllModified() {
  CDocument* doc = GetOpenDocument();
  return !doc || doc->SaveModified();
}

// ---- single document ----

CSingleDocTemplate::CSingleDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                                       CRuntimeClass* viewClass)
    : CDocTemplate(idResource, docClass, frameClass, viewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
  CDocument* doc = m_pOnlyDoc;
  m_pOnlyDoc = nullptr;
  if (doc) {
    doc->m_pDocTemplate = nullptr;
    delete doc;
  }
}

void CSingleDocTemplate::AddDocument(CDocument* doc) {
  CDocTemplate::AddDocument(doc);
  m_pOnlyDoc = doc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* doc) {
  CDocTemplate::RemoveDocument(doc);
  if (m_pOnlyDoc == doc) m_pOnlyDoc = nullptr;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* doc) {
  CString title;
  if (!GetDocString(title, docName)) title = "Untitled";
  doc->SetTitle(title);
}

CDocument* CSingleDocTemplate::PrepareDocumentAndFrame(BOOL& created, CFrameWnd*& frame) {
  created = FALSE;
  CDocument* doc = m_pOnlyDoc;
  frame = nullptr;
  if (doc) {
    if (!doc->SaveModified()) return nullptr;
    if (!doc->GetViews().empty()) frame = doc->GetViews().front()->GetParentFrame();
    if (frame) return doc;
  } else {
    doc = CreateNewDocument();
    if (!doc) {
      AfxMessageBox("Failed to create empty document.", MB_OK | MB_ICONEXCLAMATION);
      return nullptr;
    }
    created = TRUE;
  }
  // The frame must not close the document while it is being made.
  BOOL autoDelete = doc->m_bAutoDelete;
  doc->m_bAutoDelete = FALSE;
  frame = CreateNewFrame(doc, nullptr);
  doc->m_bAutoDelete = autoDelete;
  if (!frame) {
    if (created) delete doc;
    return nullptr;
  }
  created = TRUE;
  return doc;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR path, BOOL makeVisible) {
  BOOL created = FALSE;
  CFrameWnd* frame = nullptr;
  CDocument* doc = PrepareDocumentAndFrame(created, frame);
  if (!doc) return nullptr;
  if (!path) {
    SetDefaultTitle(doc);
    if (!doc->OnNewDocument()) {
      if (created) frame->DestroyWindow();
      return nullptr;
    }
  } else {
    if (!doc->OnOpenDocument(path)) {
      // A frame made for this attempt goes (with its new document); an existing document keeps
      // its frame and its contents.
      if (created) frame->DestroyWindow();
      return nullptr;
    }
    doc->SetPathName(path);
  }
  CWinApp* app = AfxGetApp();
  if (created && app && !app->m_pMainWnd) app->m_pMainWnd = frame;
  InitialUpdateFrame(frame, doc, makeVisible);
  return doc;
}
