#include "bench/CatchLogGenerator.h"

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "bench/ClosedStore.h"
#include "platform/MessageText.h"
#include "storage/RecordStore.h"

namespace bench {
namespace {

// splitmix64: small, fast and the same everywhere.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  bool Percent(int p) { return Below(100) < p; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
  }

 private:
  std::uint64_t state_;
};

struct Fish {
  std::string name;  // CP932
  std::string picturePrefix;
};

std::vector<std::string> Cp932All(std::initializer_list<const char*> literals) {
  std::vector<std::string> texts;
  for (const char* literal : literals)
    texts.push_back(Cp932(literal));
  return texts;
}

// ソ, 表, 能 and 十 end in byte 0x5C, the backslash, which the writer must not escape.
const std::vector<Fish>& FishKinds() {
  static const std::vector<Fish> kinds = [] {
    std::vector<Fish> fish;
    for (const auto& [name, prefix] : {std::pair{"鮎", "ayu"},
                                       {"ヤマメ", "yamame"},
                                       {"イワナ", "iwana"},
                                       {"ニジマス", "nijimasu"},
                                       {"ソウギョ", "sougyo"},
                                       {"鯉", "koi"},
                                       {"ヘラブナ", "herabuna"},
                                       {"ブラックバス", "bass"},
                                       {"ウグイ", "ugui"},
                                       {"オイカワ", "oikawa"},
                                       {"ソイ", "soi"},
                                       {"メバル", "mebaru"}}) {
      fish.push_back({Cp932(name), prefix});
    }
    return fish;
  }();
  return kinds;
}

const std::vector<std::string>& Places() {
  static const auto places =
      Cp932All({"多摩川 中流", "相模湖", "十和田湖", "能登島 北岸", "表浜海岸", "桂川",
                "芦ノ湖 湖尻", "能代川 河口", "十三湖", "犀川"});
  return places;
}

const std::vector<std::string>& WeatherWords() {
  static const auto words = Cp932All({"晴れ", "曇り", "雨", "小雨", "快晴", "晴のち曇", "雪", ""});
  return words;
}

const std::vector<std::string>& Memos() {
  static const auto memos = Cp932All({
      "2匹キープ & 1匹リリース\r\n水温低め",
      "餌は\"ぶどう虫\"",
      "<早朝> 風強し",
      "仕掛け: C:\\tackle\\float",
      "It's a keeper",
      "表層で反応, 十匹以上",
      "ソフトルアーで1匹",
      "能登島の北側\r\n潮: 中潮",
  });
  return memos;
}

std::string DateText(Random& random) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d", 2000 + random.Below(25), 1 + random.Below(12),
                1 + random.Below(28));
  return text;
}

std::string SizeText(Random& random) {
  return std::to_string(8 + random.Below(65)) + "cm";
}

std::string PictureName(const Fish& fish, Random& random) {
  char number[8];
  std::snprintf(number, sizeof number, "%04d", random.Below(10000));
  return fish.picturePrefix + number + ".jpeg";
}

void AddRandomEntry(RecordStore& store, Random& random) {
  const Fish& fish = random.Pick(FishKinds());
  store.Append();
  // An empty date or memo leaves the value absent.
  store.SetFieldText("Date", random.Percent(3) ? std::string() : DateText(random));
  store.SetFieldText("Weather", random.Pick(WeatherWords()));
  store.SetFieldText("Name", fish.name);
  store.SetFieldText("Size", random.Percent(5) ? std::string() : SizeText(random));
  store.SetFieldText("Place", random.Pick(Places()));
  store.SetFieldText("Memo", random.Percent(25) ? std::string() : random.Pick(Memos()));
  store.SetFieldText("PicName", random.Percent(8) ? std::string() : PictureName(fish, random));
  store.Post();
}

}  // namespace

void WriteCatchLog(const std::string& path, int rows) {
  Random random(20040608);
  ClosedStore store(path);
  store->Open();
  for (int row = 0; row < rows; ++row)
    AddRandomEntry(*store, random);
  store->AcceptAllChanges();
  store->Close();
}

}  // namespace bench
