// Random walks through Orvanta against the game-server peer's demo world, which also sends moves,
// chat, invitations, memos, notices and cut records unasked and drops the connection
// (tests/walk/orvanta_walk.cc): a fixed set of seeds, one of them under a window manager, and
// the shortened walks that once failed.
#include <gtest/gtest.h>

#include "support/WalkRun.h"

namespace {

TEST(OrvantaWalkTest, SeededWalksHoldOnEveryStep) {
  for (const char* seed : {"14", "16"}) testsupport::ExpectWalkPasses(ORVANTA_WALK_PATH, {"--seed", seed, "--steps", "400"});
}

TEST(OrvantaWalkTest, SeededWalkUnderAWindowManagerHoldsOnEveryStep) {
  testsupport::ExpectWalkPasses(ORVANTA_WALK_PATH, {"--seed", "13", "--steps", "300", "--wm"});
}

// Each of these once failed; the walk goes on past the step that failed.
TEST(OrvantaWalkTest, WalksThatOnceFailedHold) {
  const char* const found[] = {
      // The Exit button asks twice whether to close; Yes to one closed the frame under the other.
      "board:1388671385 board:547095861 click:2850547746 click:3737548268 s-memo:2337854930 "
      "list:1219848417 answer:3238400666 korean:4095922945 click:4187064084 korean:3097088367 "
      "menuline:3089711122 click:2856111215 scroll:3183600517 letter:3280726972 close:2655448719 "
      "board:3873459037",
      // A question of the game room is answered after a lost connection took the room away.
      "answer:1058333807 board:1675122321 point:1676262311 list:64397724 alt:2955785209 "
      "letter:1697154490 s-move:3888045824 scroll:1516636009 s-junk:1152380828 scroll:3379325807 "
      "list:2757689738 s-notice:3920922615 close:3034012543 fkey:2090736146 dblclick:1616133450 "
      "answer:1440736665 click:71814980 click:3682281450 board:735427257 answer:2668858411 "
      "s-resign:1254631901 s-disconnect:1388772256 board:3779476122 letter:790973834 "
      "dblclick:4261926170 s-lobbychat:4035941003 click:2733477819 s-junk:3885394458 answer:2976871998 "
      "click:1354798787 menuline:3365151321 s-users:4572434 click:1287258188 board:2479775413 "
      "key:1764345605 click:1864438096",
      // A double click on the room's observers asks for an ID while the connection is lost.
      "s-invite:3417245105 click:2779210796 board:4260879731 board:2540386213 s-invite:3694504703 "
      "click:1336252355 board:3267923269 menu:124625884 click:1534873916 board:1821281174 "
      "click:2002140196 click:3742019936 s-cut:4237550011 scroll:2582980441 menu:963522522 "
      "list:21010838 key:2198862641 scroll:3846206076 click:3121625582 alt:1576463995 board:1756060439 "
      "board:3278138801 answer:877373213 s-cut:3536088922 alt:4005224134 letter:1220071622 "
      "s-move:3833841856 s-count:1561784407 s-disconnect:403426966 board:2816371050 login:3373107177 "
      "answer:1689007289 click:3592308276 list:2650324333 menuline:3536559369 click:3094322765 "
      "menuline:1368400023 board:1902505402 s-move:3840888592 letter:2195365307 letter:2798651216 "
      "list:1039348588 scroll:1009251 s-chat:965210391 s-junk:2044287496 list:4223150544 "
      "answer:213525439 list:2336362751",
      // A close of the frame came inside the loop of an operator's notice dialog and destroyed the
      // frame under the record being handled.
      "list:327340664 s-move:1144797736 board:1205587761 list:3263798753 alt:632778528 list:4021948546 "
      "click:1491154236 list:2546139629 board:327854240 board:1750271994 s-chat:2738329058 "
      "answer:3569305866 click:1462302347 letter:4138874910 dblclick:1058276 key:224426255 "
      "board:24097453 list:4126452773 click:2094893944 list:2241923886 board:2923812979 "
      "click:2807307190 click:3042214995 board:1154204864 menu:1979799511 click:13300398 "
      "dblclick:3002032874 dblclick:75781456 letter:2329614433 login:4175669484 s-memo:3244382404 "
      "s-junk:2397892866 board:1429822681 letter:1492492436 click:1085502449 list:3011806771 "
      "board:1153241770 fkey:3485318613 s-notice:3727281962 list:1338583916 click:2918558161 "
      "s-cut:2807927699 key:893843868 key:2208168576 board:1118390813 list:1917131587 menu:1125765236 "
      "board:4239119515 click:3381823898 s-move:2997543098 key:599770538 s-junk:1290034777 "
      "click:3551305050 click:3089374162 key:3604607953 s-junk:2116496681 board:2746346677 "
      "answer:1015255013 menu:2886605520 list:3134392789 board:2166980740 answer:1412376005 "
      "board:303443829 click:1121986331",
      // A double click on the frame's button that opens the user search opened it twice.
      "click:2551707153 point:2681685567 list:1998897886 board:45180757 answer:3729533366 list:2232260040 "
      "korean:2790089737 dblclick:2943499866 answer:1 answer:1",
      // The server's other player moved with either colour, the person's too: the board then
      // gave the person the turn the server had not, and his click went out of turn.
      "s-resign:4255345897 menuline:3013402013 answer:82071190 list:3747390083 click:2394353549 "
      "click:3003585355 board:4010908562 alt:1886550529 menuline:1115705756 click:1655207212 "
      "s-invite:1903050426 alt:1304967247 list:881574023 dblclick:1574000102 click:2993796559 "
      "click:799438848 answer:3463281134 dblclick:2343218091 board:2922566491 letter:3983290578 "
      "letter:1524654909 board:1431908586 key:3534517092 dblclick:2756010061 key:3719714644 "
      "key:3296187901 scroll:260527038 click:1973421734 s-move:1702531338 key:4034890415 "
      "list:3302299279 board:3309879044 key:2301957095 point:2283510147 menuline:1585292039 "
      "click:563580986 click:253818661 answer:1446488294 answer:364101736 menuline:2359229506 "
      "answer:640072203 answer:3352571069 board:4257491253 board:2618387419 click:75842738 "
      "list:920639982 answer:535272749 s-move:1523467382 scroll:61328889 menuline:1604994829 "
      "key:4220846778 s-users:1518697802 key:2151878226 s-invite:978817730 board:3480934167",
      // A double click on the pass button passed twice before the first pass came back.
      "answer:427620457 menuline:493313362 click:1335748396 letter:523075679 board:4215801805 "
      "board:3191640846 menuline:2951668245 dblclick:2110567452 korean:656638218 click:1901198218 "
      "s-memo:1795521612 list:2342077253 dblclick:2290080935 korean:828938012 dblclick:1995172701",
  };
  for (const char* steps : found) testsupport::ExpectWalkPasses(ORVANTA_WALK_PATH, {"--replay", steps});
  // The invitation window picks a user while a lost connection takes its room away; the walk
  // goes on past anything the server's check finds, to the window.
  testsupport::ExpectWalkPasses(ORVANTA_WALK_PATH, {"--go-on", "--replay",
      "s-users:2500625664 click:4006655500 click:1093011084 click:2521248423 click:471384622 "
      "answer:2117587606 menu:3426993355 click:3033547092 board:3502049265 dblclick:619783376 "
      "board:3486887489 s-move:1664760709 key:2963595454 letter:3099449045 dblclick:2174896174 "
      "menu:2726924507 dblclick:3876663610 list:3443502291 list:1991484009 key:1893194627 "
      "board:1912153948 board:2392719980 dblclick:568130546 korean:832003683 board:3085126830 "
      "list:3089222320 board:3547515583 board:4063414762 click:916328268 s-junk:3362791690 "
      "key:3465681585 answer:1295597277 korean:3173287974 key:2338755806 board:1653749341 "
      "click:1668365585 scroll:3087411832 board:1803200163 board:2878623631 dblclick:293346057 "
      "letter:858747311 letter:2957463976 s-move:2180134455 s-invite:90509145 board:3864998089 "
      "s-users:1769299940 list:355510310 menu:2430903148 click:2261376085 click:2615627468 "
      "answer:583420906 s-move:844726970 menu:1526434237 s-cut:1263362898 s-lobbychat:4196653260 "
      "answer:518266746 board:2637768214 board:874545149 click:910261677 close:356871533 "
      "s-notice:4039418225 click:1254342541 key:1823485198 dblclick:4034364047 s-move:80838127 "
      "key:1825067943 scroll:2295012286 board:3524147629 s-move:2347301564 click:2616452431 "
      "s-move:4208493465 key:4117690257 s-move:3864445971 board:3492395536 click:2502941611 "
      "answer:1942085972 scroll:720294699 answer:2647312843 board:446368687 menu:2586491352 "
      "list:44714123 board:2599588147 s-chat:4110025354 s-users:853058125 board:2461723109 "
      "s-disconnect:3465530595 dblclick:2397435529 menuline:2700546815 s-move:3698467111 "
      "board:151089419"});
}

}  // namespace
