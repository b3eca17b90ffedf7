#pragma once
// The review and study boards' resources: the game review dialog (template 212), the self-play
// dialog (177) and the review-play dialog (175).

#include <platform/resources.h>

void RegisterReviewDialogs(platform::ResourceModule& module);
