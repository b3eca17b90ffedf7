#pragma once
// A complete recorded 19x19 game with captures (247 moves), as colour letter plus SGF point
// (column letter, row letter; "tt" is a pass), for the board benchmarks.

inline constexpr const char* kRecordedGame =
    "BsjWnaBrpWboBddWpqBpoWnpBlqWdfBfdWcdBccWceBbcWcjBjcWmqBlpWnnBpmWjqBlnWnlBioWhpBgnWfpBenWokBqrWdp"
    "BafWplBqmWomBmpWmoBloWmrBlrWrkBriWprBfkWllBimWikBhkWijBghWcmBdlWclBisWjgBphWnhBpfWqbBqdWhrBhsWfr"
    "BqqWgsBjeWlfBppWjsBpsWnqBosWnrBrlWqlBslWlbBkbWlcBnfWbgBmgWciBmhWlsBniWklBhfWkdBjdWbfBocWrcBrdWae"
    "BffWhjBhlWgjBgkWfjBehWdmBejWemBdkWfnBfiWgmBfoWfmBgoWknBkoWjnBkmWjmBinWeoBlmWjlBjoWliBkfWmeBlgWnj"
    "BoiWbdBacWdhBkhWihBjiWhhBkjWljBjhWifBieWjjBkcWkiBegWhgBggWldBqjWqkBpjWndBqcWncBpbWobBpaWmbBodWsk"
    "BrmWrjBsiWmmBgpWgqBckWbkBonWmnBmfWooBoaWlaBnbWqiBobWrhBrfWrgBqhWshBqgWpnBqnWopBorWoqBadWagBdgWde"
    "BedWcgBdiWchBkrWksBjrWirBjpWiqBnsWmiBeeWipBonWkqBsfWhmBilWpnBiiWhiBonWdcBdbWpnBisWmsBqsWonBkgWhe"
    "BgfWdjBeiWriBpiWhoBhnWelBekWojBjfWigBefWkkBpkWlhBgiWkpBsgWglBflWttBtt";
