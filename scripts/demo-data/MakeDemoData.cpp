// Makes the demo catch log and its photographs beside the executable: XmlData/ with a catch
// log of twenty entries and PicData/ with their photographs, each only when the folder does
// not exist yet, so that nothing a user keeps there is ever overwritten.

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "DemoPhotos.h"
#include "platform/CodePage.h"
#include "platform/Failure.h"
#include "platform/MessageText.h"
#include "storage/RecordStore.h"

namespace {

struct DemoEntry {
  const char* date;
  const char* weather;
  const char* name;
  const char* size;
  const char* place;
  const char* memo;
  const char* picture;
  int width, height;  // 0: the photograph is missing on purpose
};

const DemoEntry kEntries[] = {
    {"2004/05/03", "晴れ", "鮎", "21cm", "多摩川 中流", "朝一番の友釣り。\r\n水温 14 度。",
     "ayu01.jpeg", 1600, 1200},
    {"2004/05/04", "曇り", "ヤマメ", "24cm", "奥多摩 日原川", "淵の頭で。", "yamame01.jpeg", 1200,
     900},
    {"2004/05/16", "小雨", "イワナ", "28cm", "奥只見 北ノ又川",
     "雨で活性が上がった。\r\n尺まであと少し。", "iwana01.jpeg", 480, 640},
    {"2004/06/08", "快晴", "ニジマス", "35cm", "芦ノ湖 湖尻", "", "nijimasu01.jpeg", 3000, 2000},
    {"2004/06/12", "晴れ", "ブラックバス", "42cm", "霞ヶ浦 土浦", "トップで出た。\r\nリリース。",
     "bass01.jpeg", 1024, 768},
    {"2004/06/20", "曇り", "メバル", "18cm", "三浦半島 城ヶ島", "夕まずめ。", "mebaru01.jpeg", 640,
     480},
    {"2004/07/03", "晴れ", "アジ", "22cm", "東京湾 本牧", "サビキで 30 匹。\r\nたたきにした。",
     "aji01.jpeg", 800, 600},
    {"2004/07/10", "晴れ", "サバ", "30cm", "相模湾 茅ヶ崎", "", "saba01.jpeg", 1280, 720},
    {"2004/07/24", "雨", "カサゴ", "20cm", "真鶴 岩礁帯", "穴釣り。", "kasago01.jpeg", 600, 800},
    {"2004/08/01", "快晴", "クロダイ", "45cm", "横浜 大黒ふ頭", "落とし込みで年なし手前。",
     "kurodai01.jpeg", 1600, 1200},
    {"2004/08/15", "晴れ", "マダイ", "52cm", "剣崎沖", "ひとつテンヤ。\r\n船長に感謝。",
     "madai01.jpeg", 2000, 1500},
    {"2004/08/29", "曇り", "スズキ", "61cm", "荒川 河口", "ルアー: ミノー 12cm", "suzuki01.jpeg",
     1200, 800},
    {"2004/09/05", "晴れ", "ヒラメ", "48cm", "九十九里 片貝", "", "hirame01.jpeg", 900, 1200},
    {"2004/09/19", "晴れ", "キス", "19cm", "鵠沼海岸", "ちょい投げ。\r\n天ぷらに。", "kisu01.jpeg",
     640, 640},
    {"2004/10/02", "曇り", "ハゼ", "12cm", "江戸川 放水路", "", "haze01.jpeg", 200, 100},
    {"2004/10/17", "晴れ", "カレイ", "33cm", "小名浜港", "置き竿に来た。", "karei01.jpeg", 1024,
     1024},
    {"2004/10/31", "小雨", "コイ", "68cm", "手賀沼", "吸い込み仕掛け。\r\n重かった。", "koi01.jpeg",
     1600, 900},
    {"2004/11/14", "晴れ", "フナ", "25cm", "利根川 水郷", "", "funa01.jpeg", 700, 500},
    {"2004/11/28", "快晴", "タナゴ", "6cm", "霞ヶ浦 水路", "極小針で。", "tanago01.jpeg", 0, 0},
    {"2004/12/12", "曇り", "ウグイ", "27cm", "多摩川 上流", "寒バヤ。\r\nよく引いた。",
     "ugui01.jpeg", 1200, 900},
};

bool Exists(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0;
}

void MakeCatchLog(const std::string& folder) {
  mkdir(folder.c_str(), 0755);
  RecordStore store("cdsFish", StoredEmptyStructure());
  store.Close();
  store.SetFileName(folder + "demo.xml");
  store.Open();
  for (const auto& entry : kEntries) {
    store.Append();
    store.SetFieldText("Date", entry.date);
    store.SetFieldText("Weather", Cp932(entry.weather));
    store.SetFieldText("Name", Cp932(entry.name));
    store.SetFieldText("Size", entry.size);
    store.SetFieldText("Place", Cp932(entry.place));
    store.SetFieldText("Memo", Cp932(entry.memo));
    store.SetFieldText("PicName", entry.picture);
    store.Post();
    store.AcceptAllChanges();
  }
  store.Close();
}

bool MakePhotos(const std::string& folder) {
  mkdir(folder.c_str(), 0755);
  unsigned seed = 1;
  for (const auto& entry : kEntries) {
    if (entry.width == 0) continue;
    if (!WriteDemoPhoto(folder + entry.picture, entry.width, entry.height, seed++)) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo_data FOLDER-OF-THE-EXECUTABLE\n");
    return 2;
  }
  const std::string base = std::string(argv[1]) + "/";
  try {
    if (!Exists(base + "XmlData")) MakeCatchLog(base + "XmlData/");
    if (!Exists(base + "PicData") && !MakePhotos(base + "PicData/")) {
      std::fprintf(stderr, "make_demo_data: cannot write the photographs\n");
      return 1;
    }
  } catch (const Failure& failure) {
    std::fprintf(stderr, "make_demo_data: %s\n",
                 cp932::ToUtf8(failure.Message()).value_or(failure.Message()).c_str());
    return 1;
  }
  return 0;
}
