#pragma once
// Documents and document templates: the data of a program, the views that show it, and the
// template that makes a document with its frame and first view.

#include <optional>
#include <vector>

#include "platform/cmdtarget.h"
#include "platform/runtime_class.h"
#include "platform/strings.h"

class CView;
class CFrameWnd;
class CDocTemplate;
class CCreateContext;

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)
public:
  CDocument() = default;
  // Detaches the views still attached (they no longer point at the document).
  ~CDocument() override;

  const CString& GetTitle() const { return m_strTitle; }
  // Sets the title and updates the captions of the frames that show the document.
  virtual void SetTitle(LPCTSTR title);
  const CString& GetPathName() const { return m_strPathName; }
  // Sets the full path; the title becomes the file's name, and addToRecent enters the path in
  // the application's recent-file list.
  virtual void SetPathName(LPCTSTR path, BOOL addToRecent = TRUE);
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }

  void AddView(CView* view);
  void RemoveView(CView* view);
  const std::vector<CView*>& GetViews() const { return m_viewList; }
  // Calls OnUpdate of every view except sender.
  void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);

  // Empties the document (before new contents are made or read).
  virtual void DeleteContents() {}
  // A new, empty, unmodified document without a path.
  virtual BOOL OnNewDocument();
  // Reads path: the default empties the document and checks that the file can be read (a
  // program that keeps data overrides it). FALSE, after a message, when it cannot.
  virtual BOOL OnOpenDocument(LPCTSTR path);
  // Writes path: the default creates the file empty (a program with data overrides it). FALSE,
  // after a message, when it cannot.
  virtual BOOL OnSaveDocument(LPCTSTR path);
  // Closes the frames showing the document, then deletes it when it deletes itself.
  virtual void OnCloseDocument();
  // Asks whether to save a modified document: TRUE to go on (saved, or not wanted), FALSE to stop.
  virtual BOOL SaveModified();
  // TRUE when frame may close (asks SaveModified when it is the document's last frame).
  virtual BOOL CanCloseFrame(CFrameWnd* frame);
  // Saves under path, or asks for one (the file dialog) when path is null or replace is set.
  virtual BOOL DoSave(LPCTSTR path, BOOL replace = TRUE);
  BOOL DoFileSave();

  // The document's own map, then its template's.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate{nullptr};
  BOOL m_bAutoDelete{TRUE};   // deleted when its last view goes
  BOOL m_bEmbedded{FALSE};

protected:
  void OnFileSave();
  void OnFileSaveAs();
  void OnFileClose();
  DECLARE_MESSAGE_MAP()

private:
  friend class CDocTemplate;
  // The path to save under, asked on screen or of the UI script; none when cancelled.
  std::optional<CString> ChooseSavePath(const CString& initialName) const;
  std::optional<CString> ScriptedSavePath(const CString& initialName) const;
  std::vector<CView*> m_viewList;
  BOOL m_bModified{FALSE};
};

// Makes documents with their frame and first view from three run-time classes and a string
// resource "window title\ndocument name\nnew name\nfilter name\n.ext\ntype id\ntype name".
class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)
public:
  enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
  enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative, yesAlreadyOpen };

  CDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
  ~CDocTemplate() override = default;

  // Reads the template's string resource (done when the template is added to the application).
  virtual void LoadTemplate();
  // One part of the template's string; FALSE (and an empty text) when it has none.
  virtual BOOL GetDocString(CString& out, DocStringIndex index) const;
  UINT GetResourceId() const { return m_nIDResource; }

  virtual CDocument* CreateNewDocument();
  // A frame of the template's class, loaded from the template's resource id, with a view of the
  // template's view class for doc (null on failure).
  virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
  virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);
  // Opens path (null: a new document); the document, or null on failure.
  virtual CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) = 0;
  virtual void SetDefaultTitle(CDocument* doc) = 0;
  // The open document (of a single-document template), or null.
  virtual CDocument* GetOpenDocument() const = 0;
  virtual void AddDocument(CDocument* doc);
  virtual void RemoveDocument(CDocument* doc);
  // How well path matches this template (its extension, or already open).
  virtual Confidence MatchDocType(LPCTSTR path, CDocument*& match);
  // Closes every open document; endSession skips the questions.
  virtual void CloseAllDocuments(BOOL endSession);
  // Asks each modified document to save; FALSE when one says cancel.
  virtual BOOL SaveAllModified();

  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;

protected:
  UINT m_nIDResource;
  CString m_strDocStrings;
};

// A template of one document at a time: opening another reuses the document and its frame.
class CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)
public:
  CSingleDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
  // Deletes the document still open.
  ~CSingleDocTemplate() override;

  CDocument* OpenDocumentFile(LPCTSTR path, BOOL makeVisible = TRUE) override;
  void SetDefaultTitle(CDocument* doc) override;
  CDocument* GetOpenDocument() const override { return m_pOnlyDoc; }
  void AddDocument(CDocument* doc) override;
  void RemoveDocument(CDocument* doc) override;

private:
  // Makes the document and frame the first time; null when either fails.
  CDocument* PrepareDocumentAndFrame(BOOL& created, CFrameWnd*& frame);

  CDocument* m_pOnlyDoc{nullptr};
};
