#pragma once
// The community's dialog templates: the forum view (449), the bulletin board (450), join or secede (459), the user record (258), the memo box (112), the message dialogs (377, 259, 406) and
// the replay choice (385), the options and the game-room negotiation (407, 145), the invitation and the invite dialog (496, 147), the user search and its result
// list (144, 527), the record, bulletin and room searches (210, 460, 136), continuing a paused game (363) and the rank selection
// (245).

#include <platform/resources.h>

void RegisterCommunityDialogs(platform::ResourceModule& module);
