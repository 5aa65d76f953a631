#pragma once

#include <string>
#include <vector>

#include "platform/MessageText.h"
#include "storage/RecordStore.h"
#include "tests/support/TempFolder.h"

// One catch entry as the window writes it: the seven fields, as text, in transfer order.
struct CatchEntry {
  std::string date, weather, name, size, place, memo, picName;
};

inline const std::vector<std::string>& CatchFields() {
  static const std::vector<std::string> names{"Date",  "Weather", "Name",   "Size",
                                              "Place", "Memo",    "PicName"};
  return names;
}

inline void WriteEntry(RecordStore& store, const CatchEntry& entry) {
  const std::string* values[] = {&entry.date,  &entry.weather, &entry.name,   &entry.size,
                                 &entry.place, &entry.memo,    &entry.picName};
  for (std::size_t i = 0; i < CatchFields().size(); ++i)
    store.SetFieldText(CatchFields()[i], *values[i]);
}

inline CatchEntry ReadEntry(const RecordStore& store) {
  return {store.GetFieldText("Date"),   store.GetFieldText("Weather"), store.GetFieldText("Name"),
          store.GetFieldText("Size"),   store.GetFieldText("Place"),   store.GetFieldText("Memo"),
          store.GetFieldText("PicName")};
}

inline void AddEntry(RecordStore& store, const CatchEntry& entry) {
  store.Append();
  WriteEntry(store, entry);
  store.Post();
  store.AcceptAllChanges();
}

// A store as the window has it after creation, opened on `path` (which need not exist).
inline void OpenOn(RecordStore& store, const std::string& path) {
  store.Close();
  store.SetFileName(path);
  store.Open();
}

// The entry of the worked example: 12 June 2005, fine, ayu, 21cm, north bank, two memo lines.
inline CatchEntry AyuEntry() {
  return {"2005/06/12", "fine", "ayu", "21cm", "north bank", "2 kept & 1 released\r\nwater cold",
          "ayu01.jpeg"};
}

inline std::string CatchLogMetadata() {
  return std::string("<?xml version=\"1.0\" standalone=\"yes\"?>  ") +
         "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>" +
         "<FIELD attrname=\"Date\" fieldtype=\"date\"/>" +
         "<FIELD attrname=\"Weather\" fieldtype=\"string\" WIDTH=\"20\"/>" +
         "<FIELD attrname=\"Name\" fieldtype=\"string\" WIDTH=\"20\"/>" +
         "<FIELD attrname=\"Size\" fieldtype=\"string\" WIDTH=\"20\"/>" +
         "<FIELD attrname=\"Place\" fieldtype=\"string\" WIDTH=\"20\"/>" +
         "<FIELD attrname=\"Memo\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/>" +
         "<FIELD attrname=\"PicName\" fieldtype=\"string\" WIDTH=\"20\"/>" +
         "</FIELDS><PARAMS/></METADATA><ROWDATA>";
}

inline std::string CatchLogDocument(const std::string& rows) {
  return CatchLogMetadata() + rows + "</ROWDATA></DATAPACKET>";
}
