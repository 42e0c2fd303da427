// How the poems are read aloud, in anthology order, then the opening poem.
//
// Each entry: the upper phrase, the lower phrase and the poet's name as a reader pronounces them
// (the particles は and へ said わ and え, the auxiliary む said ん, てふ said ちょう; を, always
// said お, is kept as written), the lines of a phrase parted by a space; a long vowel is written
// ー where the reader says one (きょー, ほーし) and う where the vowel is said. Then, where
// the synthesiser's dictionary would take the kana for another word and misread them (は read as
// the particle わ, つ swallowed into っ), the text it is given instead, in which katakana keep it
// from guessing; nullptr gives it the pronunciation itself.
#include "catalogue/pronunciation_table.h"

namespace verselane {

const std::array<PronunciationEntry, kPronouncedPoemCount> kPronunciationTable = {{
    {"あきのたの かりおのいおの とまをあらみ", "わがころもでわ つゆにぬれつつ", "てんちてんのー",  // 1
     nullptr, nullptr, nullptr},
    {"はるすぎて なつきにけらし しろたえの", "ころもほすちょう あまのかぐやま", "じとーてんのー",  // 2
     nullptr, nullptr, nullptr},
    {"あしびきの やまどりのおの しだりおの", "ながながしよを ひとりかもねん", "かきのもとのひとまろ",  // 3
     nullptr, nullptr, nullptr},
    {"たごのうらに うちいでてみれば しろたえの", "ふじのたかねに ゆきわふりつつ", "やまべのあかひと",  // 4
     nullptr, nullptr, nullptr},
    {"おくやまに もみじふみわけ なくしかの", "こえきくときぞ あきわかなしき", "さるまるだゆう",  // 5
     nullptr, nullptr, nullptr},
    {"かささぎの わたせるはしに おくしもの", "しろきをみれば よぞふけにける", "ちゅうなごんやかもち",  // 6
     nullptr, nullptr, nullptr},
    {"あまのはら ふりさけみれば かすがなる", "みかさのやまに いでしつきかも", "あべのなかまろ",  // 7
     nullptr, nullptr, nullptr},
    {"わがいおわ みやこのたつみ しかぞすむ", "よをうじやまと ひとわゆうなり", "きせんほーし",  // 8
     nullptr, nullptr, nullptr},
    {"はなのいろわ うつりにけりな いたずらに", "わがみよにふる ながめせしまに", "おののこまち",  // 9
     nullptr, nullptr, nullptr},
    {"これやこの ゆくもかえるも わかれてわ", "しるもしらぬも おうさかのせき", "せみまる",  // 10
     nullptr, nullptr, nullptr},
    {"わたのはら やそしまかけて こぎいでぬと", "ひとにわつげよ あまのつりぶね", "さんぎたかむら",  // 11
     nullptr, nullptr, nullptr},
    {"あまつかぜ くものかよいじ ふきとじよ", "おとめのすがた しばしとどめん", "そーじょーへんじょー",  // 12
     nullptr, nullptr, nullptr},
    {"つくばねの みねよりおつる みなのがわ", "こいぞつもりて ふちとなりぬる", "よーぜいいん",  // 13
     nullptr, nullptr, nullptr},
    {"みちのくの しのぶもじずり たれゆえに", "みだれそめにし われならなくに", "かわらのさだいじん",  // 14
     nullptr, nullptr, nullptr},
    {"きみがため はるののにいでて わかなつむ", "わがころもでに ゆきわふりつつ", "こーこーてんのー",  // 15
     nullptr, nullptr, nullptr},
    {"たちわかれ いなばのやまの みねにおうる", "まつとしきかば いまかえりこん", "ちゅうなごんゆきひら",  // 16
     nullptr, nullptr, nullptr},
    {"ちはやぶる かみよもきかず たつたがわ", "からくれないに みずくくるとわ", "ありわらのなりひらあそん",  // 17
     "ちはやぶる かみよもきかず タツタガワ", nullptr, nullptr},
    {"すみのえの きしによるなみ よるさえや", "ゆめのかよいじ ひとめよくらん", "ふじわらのとしゆきあそん",  // 18
     nullptr, nullptr, nullptr},
    {"なにわがた みじかきあしの ふしのまも", "あわでこのよを すぐしてよとや", "いせ",  // 19
     nullptr, nullptr, nullptr},
    {"わびぬれば いまはたおなじ なにわなる", "みをつくしても あわんとぞおもう", "もとよししんのー",  // 20
     "わびぬれば いまハタおなじ なにわなる", nullptr, nullptr},
    {"いまこんと いいしばかりに ながつきの", "ありあけのつきを まちいでつるかな", "そせいほーし",  // 21
     nullptr, nullptr, nullptr},
    {"ふくからに あきのくさきの しおるれば", "むべやまかぜを あらしとゆうらん", "ふんやのやすひで",  // 22
     nullptr, nullptr, nullptr},
    {"つきみれば ちじにものこそ かなしけれ", "わがみひとつの あきにわあらねど", "おおえのちさと",  // 23
     nullptr, nullptr, nullptr},
    {"このたびわ ぬさもとりあえず たむけやま", "もみじのにしき かみのまにまに", "かんけ",  // 24
     nullptr, nullptr, nullptr},
    {"なにしおわば おうさかやまの さねかずら", "ひとにしられで くるよしもがな", "さんじょーのうだいじん",  // 25
     nullptr, nullptr, nullptr},
    {"おぐらやま みねのもみじば こころあらば", "いまひとたびの みゆきまたなん", "ていしんこう",  // 26
     nullptr, nullptr, nullptr},
    {"みかのはら わきてながるる いずみがわ", "いつみきとてか こいしかるらん", "ちゅうなごんかねすけ",  // 27
     nullptr, nullptr, nullptr},
    {"やまざとわ ふゆぞさびしさ まさりける", "ひとめもくさも かれぬとおもえば", "みなもとのむねゆきあそん",  // 28
     nullptr, nullptr, nullptr},
    {"こころあてに おらばやおらん はつしもの", "おきまどわせる しらぎくのはな", "おおしこーちのみつね",  // 29
     nullptr, nullptr, nullptr},
    {"ありあけの つれなくみえし わかれより", "あかつきばかり うきものわなし", "みぶのただみね",  // 30
     nullptr, nullptr, nullptr},
    {"あさぼらけ ありあけのつきと みるまでに", "よしののさとに ふれるしらゆき", "さかのうえのこれのり",  // 31
     nullptr, nullptr, nullptr},
    {"やまがわに かぜのかけたる しがらみわ", "ながれもあえぬ もみじなりけり", "はるみちのつらき",  // 32
     nullptr, nullptr, nullptr},
    {"ひさかたの ひかりのどけき はるのひに", "しずごころなく はなのちるらん", "きのとものり",  // 33
     nullptr, nullptr, nullptr},
    {"たれをかも しるひとにせん たかさごの", "まつもむかしの ともならなくに", "ふじわらのおきかぜ",  // 34
     nullptr, nullptr, nullptr},
    {"ひとわいさ こころもしらず ふるさとわ", "はなぞむかしの かににおいける", "きのつらゆき",  // 35
     nullptr, "ハナゾむかしの かににおいける", nullptr},
    {"なつのよわ まだよいながら あけぬるを", "くものいずこに つきやどるらん", "きよはらのふかやぶ",  // 36
     nullptr, nullptr, "キヨハラのふかやぶ"},
    {"しらつゆに かぜのふきしく あきののわ", "つらぬきとめぬ たまぞちりける", "ふんやのあさやす",  // 37
     nullptr, nullptr, nullptr},
    {"わすらるる みをばおもわず ちかいてし", "ひとのいのちの おしくもあるかな", "うこん",  // 38
     nullptr, nullptr, nullptr},
    {"あさじうの おののしのはら しのぶれど", "あまりてなどか ひとのこいしき", "さんぎひとし",  // 39
     nullptr, nullptr, nullptr},
    {"しのぶれど いろにいでにけり わがこいわ", "ものやおもうと ひとのとうまで", "たいらのかねもり",  // 40
     nullptr, nullptr, nullptr},
    {"こいすちょう わがなわまだき たちにけり", "ひとしれずこそ おもいそめしか", "みぶのただみ",  // 41
     nullptr, nullptr, nullptr},
    {"ちぎりきな かたみにそでを しぼりつつ", "すえのまつやま なみこさじとわ", "きよはらのもとすけ",  // 42
     nullptr, nullptr, "キヨハラのもとすけ"},
    {"あいみての のちのこころに くらぶれば", "むかしわものを おもわざりけり", "ちゅうなごんあつただ",  // 43
     nullptr, nullptr, nullptr},
    {"おーことの たえてしなくば なかなかに", "ひとをもみをも うらみざらまし", "ちゅうなごんあさただ",  // 44
     nullptr, nullptr, nullptr},
    {"あわれとも ゆうべきひとわ おもおえで", "みのいたずらに なりぬべきかな", "けんとくこう",  // 45
     nullptr, nullptr, nullptr},
    {"ゆらのとを わたるふなびと かじをたえ", "ゆくえもしらぬ こいのみちかな", "そねのよしただ",  // 46
     nullptr, nullptr, nullptr},
    {"やえむぐら しげれるやどの さびしきに", "ひとこそみえね あきわきにけり", "えぎょーほーし",  // 47
     nullptr, nullptr, nullptr},
    {"かぜをいたみ いわうつなみの おのれのみ", "くだけてものを おもうころかな", "みなもとのしげゆき",  // 48
     nullptr, nullptr, nullptr},
    {"みかきもり えじのたくひの よるわもえ", "ひるわきえつつ ものをこそおもえ", "おおなかとみのよしのぶあそん",  // 49
     nullptr, nullptr, nullptr},
    {"きみがため おしからざりし いのちさえ", "ながくもがなと おもいけるかな", "ふじわらのよしたか",  // 50
     nullptr, nullptr, nullptr},
    {"かくとだに えやわいぶきの さしもぐさ", "さしもしらじな もゆるおもいを", "ふじわらのさねかたあそん",  // 51
     nullptr, nullptr, nullptr},
    {"あけぬれば くるるものとわ しりながら", "なおうらめしき あさぼらけかな", "ふじわらのみちのぶあそん",  // 52
     nullptr, nullptr, nullptr},
    {"なげきつつ ひとりぬるよの あくるまわ", "いかにひさしき ものとかわしる", "うだいしょーみちつなのはは",  // 53
     nullptr, nullptr, "うだいしょーみちつなのハハ"},
    {"わすれじの ゆくすえまでわ かたければ", "きょーをかぎりの いのちともがな", "ぎどーさんしのはは",  // 54
     nullptr, nullptr, "ぎどーさんしのハハ"},
    {"たきのおとわ たえてひさしく なりぬれど", "なこそながれて なおきこえけれ", "だいなごんきんとー",  // 55
     nullptr, nullptr, nullptr},
    {"あらざらん このよのほかの おもいでに", "いまひとたびの おーこともがな", "いずみしきぶ",  // 56
     nullptr, nullptr, nullptr},
    {"めぐりあいて みしやそれとも わかぬまに", "くもがくれにし よわのつきかな", "むらさきしきぶ",  // 57
     nullptr, nullptr, nullptr},
    {"ありまやま いなのささはら かぜふけば", "いでそよひとを わすれやわする", "だいにのさんみ",  // 58
     nullptr, nullptr, nullptr},
    {"やすらわで ねなましものを さよふけて", "かたぶくまでの つきをみしかな", "あかぞめえもん",  // 59
     nullptr, nullptr, nullptr},
    {"おおえやま いくののみちの とおければ", "まだふみもみず あまのはしだて", "こしきぶのないし",  // 60
     nullptr, nullptr, nullptr},
    {"いにしえの ならのみやこの やえざくら", "きょーここのえに においぬるかな", "いせのたいふ",  // 61
     nullptr, nullptr, nullptr},
    {"よをこめて とりのそらねわ はかるとも", "よにおうさかの せきわゆるさじ", "せいしょーなごん",  // 62
     nullptr, nullptr, nullptr},
    {"いまわただ おもいたえなん とばかりを", "ひとずてならで ゆうよしもがな", "さきょーのだいぶみちまさ",  // 63
     nullptr, nullptr, nullptr},
    {"あさぼらけ うじのかわぎり たえだえに", "あらわれわたる せぜのあじろぎ", "ごんちゅうなごんさだより",  // 64
     nullptr, nullptr, nullptr},
    {"うらみわび ほさぬそでだに あるものを", "こいにくちなん なこそおしけれ", "さがみ",  // 65
     nullptr, nullptr, nullptr},
    {"もろともに あわれとおもえ やまざくら", "はなよりほかに しるひともなし", "さきのだいそーじょーぎょうそん",  // 66
     nullptr, nullptr, nullptr},
    {"はるのよの ゆめばかりなる たまくらに", "かいなくたたん なこそおしけれ", "すおーのないし",  // 67
     nullptr, nullptr, nullptr},
    {"こころにも あらでうきよに ながらえば", "こいしかるべき よわのつきかな", "さんじょういん",  // 68
     nullptr, nullptr, nullptr},
    {"あらしふく みむろのやまの もみじばわ", "たつたのかわの にしきなりけり", "のういんほーし",  // 69
     nullptr, "タツタのかわの にしきなりけり", nullptr},
    {"さびしさに やどをたちいでて ながむれば", "いずこもおなじ あきのゆうぐれ", "りょーぜんほーし",  // 70
     nullptr, nullptr, nullptr},
    {"ゆうされば かどたのいなば おとずれて", "あしのまろやに あきかぜぞふく", "だいなごんつねのぶ",  // 71
     nullptr, nullptr, nullptr},
    {"おとにきく たかしのはまの あだなみわ", "かけじやそでの ぬれもこそすれ", "ゆうしないしんのーけのきい",  // 72
     nullptr, nullptr, nullptr},
    {"たかさごの おのえのさくら さきにけり", "とやまのかすみ たたずもあらなん", "ごんちゅうなごんまさふさ",  // 73
     nullptr, nullptr, nullptr},
    {"うかりける ひとをはつせの やまおろしよ", "はげしかれとわ いのらぬものを", "みなもとのとしよりあそん",  // 74
     nullptr, nullptr, nullptr},
    {"ちぎりおきし させもがつゆを いのちにて", "あわれことしの あきもいぬめり", "ふじわらのもととし",  // 75
     nullptr, nullptr, nullptr},
    {"わたのはら こぎいでてみれば ひさかたの", "くもいにまごう おきつしらなみ", "ほっしょーじにゅうどーさきのかんぱくだいじょーだいじん",  // 76
     nullptr, nullptr, nullptr},
    {"せをはやみ いわにせかるる たきがわの", "われてもすえに あわんとぞおもう", "すとくいん",  // 77
     nullptr, nullptr, nullptr},
    {"あわじしま かようちどりの なくこえに", "いくよねざめぬ すまのせきもり", "みなもとのかねまさ",  // 78
     nullptr, nullptr, nullptr},
    {"あきかぜに たなびくくもの たえまより", "もれいずるつきの かげのさやけさ", "さきょーのだいぶあきすけ",  // 79
     nullptr, nullptr, nullptr},
    {"ながからん こころもしらず くろかみの", "みだれてけさわ ものをこそおもえ", "たいけんもんいんのほりかわ",  // 80
     nullptr, nullptr, nullptr},
    {"ほととぎす なきつるかたを ながむれば", "ただありあけの つきぞのこれる", "ごとくだいじのさだいじん",  // 81
     nullptr, nullptr, nullptr},
    {"おもいわび さてもいのちわ あるものを", "うきにたえぬわ なみだなりけり", "どーいんほーし",  // 82
     nullptr, nullptr, nullptr},
    {"よのなかよ みちこそなけれ おもいいる", "やまのおくにも しかぞなくなる", "こーたいごーぐうのだいぶしゅんぜい",  // 83
     nullptr, nullptr, nullptr},
    {"ながらえば またこのごろや しのばれん", "うしとみしよぞ いまわこいしき", "ふじわらのきよすけあそん",  // 84
     nullptr, nullptr, nullptr},
    {"よもすがら ものおもうころわ あけやらで", "ねやのひまさえ つれなかりけり", "しゅんえほーし",  // 85
     nullptr, nullptr, nullptr},
    {"なげけとて つきやわものを おもわする", "かこちがおなる わがなみだかな", "さいぎょーほーし",  // 86
     nullptr, nullptr, nullptr},
    {"むらさめの つゆもまだひぬ まきのはに", "きりたちのぼる あきのゆうぐれ", "じゃくれんほーし",  // 87
     nullptr, nullptr, nullptr},
    {"なにわえの あしのかりねの ひとよゆえ", "みをつくしてや こいわたるべき", "こーかもんいんのべっとー",  // 88
     nullptr, nullptr, nullptr},
    {"たまのおよ たえなばたえね ながらえば", "しのぶることの よわりもぞする", "しきしないしんのー",  // 89
     nullptr, nullptr, nullptr},
    {"みせばやな おじまのあまの そでだにも", "ぬれにぞぬれし いろわかわらず", "いんぷもんいんのたいふ",  // 90
     nullptr, nullptr, nullptr},
    {"きりぎりす なくやしもよの さむしろに", "ころもかたしき ひとりかもねん", "ごきょーごくせっしょーさきのだいじょーだいじん",  // 91
     nullptr, nullptr, nullptr},
    {"わがそでわ しおひにみえぬ おきのいしの", "ひとこそしらね かわくまもなし", "にじょーいんのさぬき",  // 92
     nullptr, nullptr, nullptr},
    {"よのなかわ つねにもがもな なぎさこぐ", "あまのおぶねの つなでかなしも", "かまくらのうだいじん",  // 93
     nullptr, nullptr, nullptr},
    {"みよしのの やまのあきかぜ さよふけて", "ふるさとさむく ころもうつなり", "さんぎまさつね",  // 94
     nullptr, nullptr, nullptr},
    {"おおけなく うきよのたみに おおうかな", "わがたつそまに すみぞめのそで", "さきのだいそーじょーじえん",  // 95
     nullptr, nullptr, nullptr},
    {"はなさそう あらしのにわの ゆきならで", "ふりゆくものわ わがみなりけり", "にゅうどーさきのだいじょーだいじん",  // 96
     nullptr, nullptr, nullptr},
    {"こぬひとを まつほのうらの ゆうなぎに", "やくやもしおの みもこがれつつ", "ごんちゅうなごんていか",  // 97
     nullptr, nullptr, nullptr},
    {"かぜそよぐ ならのおがわの ゆうぐれわ", "みそぎぞなつの しるしなりける", "じゅにいいえたか",  // 98
     nullptr, nullptr, nullptr},
    {"ひともおし ひともうらめし あじきなく", "よをおもうゆえに ものおもうみわ", "ごとばいん",  // 99
     nullptr, nullptr, nullptr},
    {"ももしきや ふるきのきばの しのぶにも", "なおあまりある むかしなりけり", "じゅんとくいん",  // 100
     nullptr, nullptr, nullptr},
    // The opening poem (the 序歌), which has no poet to name.
    {"なにわずに さくやこのはな ふゆごもり", "いまわはるべと さくやこのはな", "",
     nullptr, nullptr, nullptr},
}};

}  // namespace verselane
