#include "RtfOpen.h"

#include <array>
#include <memory>

#include "ByteStream.h"
#include "ControlWords.h"
#include "Platform.h"
#include "PropertyKeys.h"
#include "RtfDocument.h"

namespace zav::rtf {

namespace {

constexpr PropertyRow row(PropertyKey key, std::int32_t titleId, std::int32_t destination) {
  return {keyNumber(key), titleId, destination};
}

constexpr std::int32_t kNoDestination = -1;

constexpr std::array<PropertyRow, 13> kCatalogue{{
    row(PropertyKey::title, 396, kTitle),
    row(PropertyKey::subject, 397, kSubject),
    row(PropertyKey::author, 401, kAuthor),
    row(PropertyKey::keywords, 399, kKeywords),
    row(PropertyKey::comment, 400, kComment),
    row(PropertyKey::rtfOperator, 407, kOperator),
    row(PropertyKey::rtfVersion, 408, kVersion),
    row(PropertyKey::category, 398, kNoDestination),
    row(PropertyKey::application, 402, kNoDestination),
    row(PropertyKey::company, 403, kNoDestination),
    row(PropertyKey::manager, 404, kNoDestination),
    row(PropertyKey::created, 405, kNoDestination),
    row(PropertyKey::saved, 406, kNoDestination),
}};

// The last file's document, kept only to serve its lines.
std::unique_ptr<RtfDocument> document;

}  // namespace

std::span<const PropertyRow> rtfCatalogue() { return kCatalogue; }

int openRtfFile(const char* path, PropertyTable& properties) {
  document.reset();
  platform::ReadOnlyFile file(path);
  if (!file.isOpen()) return 0;
  ByteStream stream(file);
  auto read = std::make_unique<RtfDocument>();
  read->read(stream, properties);
  document = std::move(read);
  return 1;
}

const char* nextLine() { return document != nullptr ? document->nextLine() : nullptr; }

int closeRtfFile() {
  document.reset();
  return 0;
}

}  // namespace zav::rtf
