#include "RtfOpen.h"

#include <array>

#include "Platform.h"

namespace zav::rtf {

namespace {

constexpr std::array<PropertyRow, 13> kCatalogue{{
    {1, 396, 28},   // title
    {2, 397, 29},   // subject
    {6, 401, 30},   // author
    {4, 399, 32},   // keywords
    {5, 400, 33},   // comment
    {129, 407, 31}, // operator
    {130, 408, 34}, // version
    {3, 398, -1},
    {7, 402, -1},
    {8, 403, -1},
    {9, 404, -1},
    {10, 405, -1},
    {11, 406, -1},
}};

}  // namespace

std::span<const PropertyRow> rtfCatalogue() { return kCatalogue; }

int openRtfFile(const char* path, PropertyTable& /*properties*/) {
  platform::ReadOnlyFile file(path);
  return file.isOpen() ? 1 : 0;
}

const char* nextLine() { return nullptr; }

int closeRtfFile() { return 0; }

}  // namespace zav::rtf
