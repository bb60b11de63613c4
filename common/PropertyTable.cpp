#include "PropertyTable.h"

#include "Platform.h"

namespace zav {

namespace {

// LoadStringA's buffer: a title is at most 127 bytes.
constexpr int kTitleBufferSize = 128;

}  // namespace

PropertyTable::PropertyTable(std::span<const PropertyRow> rows, const char* moduleFileName)
    : rows_(rows),
      moduleFileName_(moduleFileName),
      slots_(std::make_unique<TextBuffer[]>(rows.size())),
      titleBuffer_(kGrowthStep) {}

PropertyTable::~PropertyTable() = default;

int PropertyTable::key(int index) const {
  return isIndex(index) ? rows_[static_cast<std::size_t>(index)].key : 0;
}

const char* PropertyTable::title(int index) {
  if (!isIndex(index)) return "";
  char loaded[kTitleBufferSize] = {};
  const platform::ModuleHandle module = platform::moduleHandle(moduleFileName_);
  platform::loadString(module, static_cast<unsigned>(rows_[static_cast<std::size_t>(index)].titleId),
                       loaded, kTitleBufferSize);
  titleBuffer_.assign(loaded, 0);
  return titleBuffer_.text();
}

const char* PropertyTable::value(int index) const {
  return isIndex(index) ? slots_[static_cast<std::size_t>(index)].text() : "";
}

void PropertyTable::resetValues() {
  for (std::size_t i = 0; i < rows_.size(); ++i) slots_[i].reset();
}

void PropertyTable::setProperty(int key, const char* text) {
  if (text == nullptr || text[0] == 0) return;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].key != key) continue;
    TextBuffer& slot = slots_[i];
    if (slot.length() > 0) slot.reset();
    slot.append(text, 0);
    return;
  }
}

TextBuffer* PropertyTable::slotForDestination(int code) {
  if (code < 0) return nullptr;  // -1 marks the rows no destination fills
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].destination == code) return &slots_[i];
  }
  return nullptr;
}

}  // namespace zav
