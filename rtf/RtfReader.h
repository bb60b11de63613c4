// The token reader: turns RTF bytes into tokens (groups, text, control words
// with their parameters) and hands each to the handler registered for its
// class, or for its destination. There is one reader per process; handlers
// take no arguments and read the current token from it.
#ifndef ZAV_RTF_RTFREADER_H
#define ZAV_RTF_RTFREADER_H

#include <array>
#include <cstdint>
#include <string_view>

#include "ByteStream.h"

namespace zav::rtf {

enum TokenClass : int {
  kUnrecognised = 0,
  kGroup = 1,
  kText = 2,
  kControl = 3,
  kEndOfInput = 4,
};
inline constexpr int kClassCount = 5;

// Majors of group tokens.
enum GroupMajor : int { kBeginGroup = 0, kEndGroup = 1 };

// Destination codes 0 to 36 have a handler slot; higher ones do not.
inline constexpr int kDestinationSlots = 37;

inline constexpr int kTokenTextSize = 1024;

struct Token {
  int tokenClass = kUnrecognised;
  // Group: begin or end. Text: the character code. Control: the word's major.
  int major = 0;
  // Control: the word's minor. Other classes leave it as it was.
  int minor = 0;
  std::int32_t param = 0;
  // The bytes as read, from the backslash on; at most 1023 and a NUL.
  std::array<char, kTokenTextSize> text{};
  int textLength = 0;

  std::string_view textView() const { return {text.data(), static_cast<std::size_t>(textLength)}; }
};

using Handler = void (*)();

class RtfReader {
 public:
  // Ready for a new document: the table sorted, every handler cleared, the
  // default skipping handler on the destinations the reader never needs
  // (pict, info, stylesheet, fonttbl, colortbl), no read hook, nothing
  // pushed back. The input and the current token stay as they are.
  void readerReset();

  // Null reads as an empty stream. The stream must outlive its use.
  void setInputStream(ByteStream* stream) { input_ = stream; }

  // Slots outside the range are ignored by the setters and read as none.
  void setClassHandler(int tokenClass, Handler handler);
  Handler getClassHandler(int tokenClass) const;
  void setDestinationHandler(int code, Handler handler);
  Handler getDestinationHandler(int code) const;
  // Called after every token is read, line breaks included.
  void setReadHook(Handler hook) { readHook_ = hook; }
  Handler getReadHook() const { return readHook_; }

  // Reads the next token that handlers should see (line breaks in the text
  // are not such tokens); returns its class.
  int readToken();
  void dispatchToken();
  // Reads and dispatches up to the end of input.
  void readDocument();
  // Reads on until the group open at the call is closed; the current token is
  // then its group end, or the end of input.
  void skipGroup();

  bool isClassMajor(int tokenClass, int major) const {
    return token_.tokenClass == tokenClass && token_.major == major;
  }

  const Token& token() const { return token_; }
  Token& token() { return token_; }

 private:
  int readChar();
  void keepInText(int c);
  void dropLastChar();
  void readRawToken();
  bool isRawLineBreak() const;
  void readEscape();
  void readHexEscape();
  void readControlWord();
  void lookupControlWord(std::string_view name);

  Token token_;
  ByteStream* input_ = nullptr;
  int pushedBack_ = -1;
  // Whether the byte of the last readChar went into the token text; a byte
  // past the text's bound does not.
  bool lastCharKept_ = false;
  bool textOverflowed_ = false;
  std::array<Handler, kClassCount> classHandlers_{};
  std::array<Handler, kDestinationSlots> destinationHandlers_{};
  Handler readHook_ = nullptr;
};

// The one reader of the process.
RtfReader& rtfReader();

// The default destination handler: skips the destination's group, then
// dispatches the token that closed it.
void skipDestination();

// The value of a hex digit. Nothing is rejected: letters beyond f go on
// counting (g is 16), so a malformed escape gives a code outside 0 to 255.
int hexDigitValue(int c);

}  // namespace zav::rtf

#endif
