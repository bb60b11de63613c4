#include "AudioOpen.h"

#include <array>

namespace zav::audio {

namespace {

constexpr std::array<PropertyRow, 22> kCatalogue{{
    {1, 396},   {2, 397},   {6, 401},   {4, 399},   {5, 400},   {3, 398},
    {7, 402},   {8, 403},   {9, 404},   {10, 405},  {11, 406},  {129, 407},
    {130, 408}, {131, 409}, {132, 410}, {133, 411}, {134, 412}, {135, 413},
    {136, 414}, {137, 415}, {138, 416}, {139, 417},
}};

}  // namespace

std::span<const PropertyRow> audioCatalogue() { return kCatalogue; }

int openAudioFile(const char* /*path*/, PropertyTable& /*properties*/) {
  return 0;
}

}  // namespace zav::audio
