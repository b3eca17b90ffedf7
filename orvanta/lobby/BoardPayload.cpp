#include "orvanta/lobby/BoardPayload.h"

#include <algorithm>
#include <cstdlib>

#include "orvanta/connection/FieldTokenizer.h"

CBoardPage CBoardPage::Parse(const CString& payload) {
  CBoardPage page;
  CFieldTokenizer fields(payload);
  const int present = std::max(0, fields.GetCount() - 4) / 5;
  page.forumId = fields.NextField();
  page.boardCode = fields.NextField();
  page.startKey = fields.NextField();
  const int count = std::clamp(std::atoi(fields.NextField()), 0, present);
  for (int i = 0; i < count; ++i) {
    CBoardPost post;
    post.number = fields.NextField();
    post.author = fields.NextField();
    post.date = fields.NextField();
    post.reads = fields.NextField();
    post.title = fields.NextField();
    page.posts.push_back(post);
  }
  return page;
}
