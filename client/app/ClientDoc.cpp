#include "client/app/ClientDoc.h"

IMPLEMENT_DYNCREATE(CClientDoc, CDocument)

BOOL CClientDoc::OnNewDocument() { return CDocument::OnNewDocument(); }
