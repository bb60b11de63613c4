// A stand-in plug-in for the host tests. It claims "ECHO" and "MP3", serves
// the file's bytes as lines the way a document plug-in does (each line keeps
// its LF, and a text that ends in LF is followed by one empty line), and has
// three properties: the file size, an always empty one and the path.
// A file that starts with "#crash" makes it abort and one that starts with
// "#hang" makes it sleep for ten minutes, as broken plug-ins do.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "ZavContract.h"

namespace {

std::string openedText;
std::size_t lineStart = 0;
bool linesLeft = false;
std::string currentLine;
std::string sizeValue;
std::string pathValue;

const char* const kTitles[] = {"Size", "Empty", "Path"};

}  // namespace

extern "C" {

const char* ZAVgetName(void) { return "Echo"; }
int ZAVgetSupportType(void) { return 3; }
int ZAVcheckSuffix(const char* suffix) {
  return std::strcmp(suffix, "ECHO") == 0 || std::strcmp(suffix, "MP3") == 0;
}
const char* ZAVgetDefaultSuffix(void) { return "ECHO"; }

int ZAVclose(void) {
  openedText.clear();
  linesLeft = false;
  sizeValue.clear();
  pathValue.clear();
  return 0;
}

int ZAVopen(const char* path) {
  ZAVclose();
  std::ifstream in(path, std::ios::binary);
  if (!in) return 0;
  openedText.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (openedText.starts_with("#crash")) std::abort();
  if (openedText.starts_with("#hang")) sleep(600);
  lineStart = 0;
  linesLeft = !openedText.empty();
  sizeValue = std::to_string(openedText.size());
  pathValue = path;
  return 1;
}

const char* ZAVgetLine(void) {
  if (!linesLeft) return nullptr;
  const std::size_t lineFeed = openedText.find('\n', lineStart);
  if (lineFeed == std::string::npos) {
    currentLine = openedText.substr(lineStart);
    linesLeft = false;
  } else {
    currentLine = openedText.substr(lineStart, lineFeed + 1 - lineStart);
    lineStart = lineFeed + 1;
  }
  return currentLine.c_str();
}

int ZAVgetPropertyCount(void) { return 3; }
int ZAVgetPropertyKey(int index) { return index + 1; }
const char* ZAVgetPropertyTitle(int index) { return index >= 0 && index < 3 ? kTitles[index] : ""; }
const char* ZAVgetPropertyValue(int index) {
  if (index == 0) return sizeValue.c_str();
  if (index == 2) return pathValue.c_str();
  return "";
}

}  // extern "C"
