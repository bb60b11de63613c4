// A plug-in's static property catalogue with one value slot per row and the
// buffer that receives each loaded title.
#ifndef ZAV_COMMON_PROPERTYTABLE_H
#define ZAV_COMMON_PROPERTYTABLE_H

#include <cstdint>
#include <memory>
#include <span>

#include "TextBuffer.h"

namespace zav {

struct PropertyRow {
  std::int32_t key;
  std::int32_t titleId;
  // The RTF destination code that fills the row; -1 when none does.
  std::int32_t destination = -1;
};

class PropertyTable {
 public:
  // Titles are string resources of the module whose file name is given.
  PropertyTable(std::span<const PropertyRow> rows, const char* moduleFileName);
  virtual ~PropertyTable();
  PropertyTable(const PropertyTable&) = delete;
  PropertyTable& operator=(const PropertyTable&) = delete;

  int count() const { return static_cast<int>(rows_.size()); }
  bool isIndex(int index) const { return index >= 0 && index < count(); }

  // Out-of-range indexes give key 0 and the empty text.
  int key(int index) const;
  const char* title(int index);
  const char* value(int index) const;

  // Empties every slot and returns its storage to one growth step.
  void resetValues();

  // Stores `text` in the slot of the first row with `key`. An empty text
  // never overwrites, and a key outside the catalogue is ignored.
  void setProperty(int key, const char* text);

  // The slot of the first row filled by RTF destination `code`, or null.
  TextBuffer* slotForDestination(int code);
  TextBuffer& slot(int index) { return slots_[static_cast<std::size_t>(index)]; }
  const TextBuffer& titleBuffer() const { return titleBuffer_; }

 private:
  std::span<const PropertyRow> rows_;
  const char* moduleFileName_;
  std::unique_ptr<TextBuffer[]> slots_;
  TextBuffer titleBuffer_;
};

}  // namespace zav

#endif
