// The token reader: turns RTF bytes into tokens (groups, text, control words
// with their parameters) and hands each to the handler registered for its
// class, or for its destination. One reader reads one document; handlers
// get the reader, whose current token they read and from which they may
// read on, and the object they work on.
#ifndef ZAV_RTF_RTFREADER_H
#define ZAV_RTF_RTFREADER_H

#include <array>
#include <cstdint>
#include <string_view>

#include "ByteStream.h"
#include "ControlWords.h"

namespace zav::rtf {

// Token classes, each the slot of its class handler. Like the majors and
// minors, they are numbers a token carries and tables are indexed by.
inline constexpr int kUnrecognised = 0;
inline constexpr int kGroup = 1;
inline constexpr int kText = 2;
inline constexpr int kControl = 3;
inline constexpr int kEndOfInput = 4;
inline constexpr int kClassCount = 5;

// Majors of group tokens.
inline constexpr int kBeginGroup = 0;
inline constexpr int kEndGroup = 1;

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

// A function and the object it works on. Made from a member function and
// its object, or from a free function; two compare equal when they would
// make the same call.
template <class... Args>
class Callback {
 public:
  constexpr Callback() = default;

  // Calls (target.*method)(args...).
  template <auto method, class Target>
  static Callback of(Target& target) {
    return Callback([](void* t, Args... args) { (static_cast<Target*>(t)->*method)(args...); }, &target);
  }
  // Calls function(args...).
  template <auto function>
  static Callback of() {
    return Callback([](void*, Args... args) { function(args...); }, nullptr);
  }

  explicit operator bool() const { return function_ != nullptr; }
  void operator()(Args... args) const { function_(target_, args...); }
  friend bool operator==(const Callback&, const Callback&) = default;

 private:
  using Function = void (*)(void*, Args...);
  constexpr Callback(Function function, void* target) : function_(function), target_(target) {}

  Function function_ = nullptr;
  void* target_ = nullptr;
};

class RtfReader;

using Handler = Callback<RtfReader&>;
// Takes a run of plain characters at once (see setTextRunHandler).
using TextRunHandler = Callback<RtfReader&, std::string_view>;

class RtfReader {
 public:
  // A reader at the start of `input`, which must outlive it. Ready for one
  // document: the default skipping handler on the destinations the reader
  // never needs (pict, info, stylesheet, fonttbl, colortbl), no other
  // handler, no read hook.
  explicit RtfReader(ByteStream& input);
  RtfReader(const RtfReader&) = delete;
  RtfReader& operator=(const RtfReader&) = delete;

  // Slots outside the range are ignored by the setters and read as none.
  void setClassHandler(int tokenClass, Handler handler);
  Handler getClassHandler(int tokenClass) const;
  void setDestinationHandler(int code, Handler handler);
  Handler getDestinationHandler(int code) const;
  // Called after every token is read, line breaks included. While a hook
  // is set, everything is read token by token.
  void setReadHook(Handler hook) { readHook_ = hook; }
  Handler getReadHook() const { return readHook_; }
  // While no read hook is set, readDocument hands runs of plain characters
  // (bytes 0x20 to 0x7F but braces and backslash) to this handler at once,
  // instead of one text token each to the text class handler. It must do
  // for a run what the text handler does for each of its characters. When
  // it is called, the current token is the run's last character.
  void setTextRunHandler(TextRunHandler handler) { textRunHandler_ = handler; }

  // Reads the next token that handlers should see (line breaks in the text
  // are not such tokens); returns its class.
  int readToken();
  void dispatchToken() {
    const int tokenClass = token_.tokenClass;
    if (tokenClass < 0 || tokenClass >= kClassCount) {
      reportMalfunction();
      return;
    }
    if (tokenClass == kControl && token_.major == kMajorDestination) {
      const Handler destination = getDestinationHandler(token_.minor);
      if (destination) {
        destination(*this);
        return;
      }
    }
    const Handler handler = classHandlers_[static_cast<std::size_t>(tokenClass)];
    if (handler) handler(*this);
  }
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
  // The longest control word taken in one go, and room to read its parts 16
  // bytes at a time.
  static constexpr std::ptrdiff_t kWholeWordWindow = 48;

  void reportMalfunction() const;
  void readCommonTokens();
  void readRawToken();
  // Where the token after a word read whole starts (null: not read so),
  // and whether a token was made of the word.
  struct WholeWord {
    const std::uint8_t* next;
    bool made;
  };
  [[gnu::always_inline]] inline WholeWord readWholeControlWord(const std::uint8_t* start, bool passUnrecognised);
  bool readWholeHexEscape(const std::uint8_t* start);
  // Bytes past the text's bound are read on but not kept.
  void keep(int c) {
    if (token_.textLength < kTokenTextSize - 1) {
      token_.text[static_cast<std::size_t>(token_.textLength++)] = static_cast<char>(c);
    } else {
      textOverflowed_ = true;
    }
  }
  void readEscape();
  void readHexEscape();
  void readControlWord();
  int readName();
  template <class IsWanted>
  int keepWhile(IsWanted isWanted);
  void keepStretch(const std::uint8_t* from, const std::uint8_t* to);
  std::uint32_t keepDigits(int& c);
  int peek();
  void setControlWord(const ControlWord* row);
  bool isRawLineBreak() const;
  void setSingleByteToken(int tokenClass, int major, int c);
  void setEndOfInput();
  void takeTextRuns();
  void skipGroupTokenByToken();

  ByteStream& input_;
  Token token_;
  bool textOverflowed_ = false;
  std::array<Handler, kClassCount> classHandlers_{};
  std::array<Handler, kDestinationSlots> destinationHandlers_{};
  Handler readHook_;
  TextRunHandler textRunHandler_;
};

// The default destination handler: skips the destination's group, then
// dispatches the token that closed it.
void skipDestination(RtfReader& reader);

// The value of a hex digit. Nothing is rejected: letters beyond f go on
// counting (g is 16), so a malformed escape gives a code outside 0 to 255.
int hexDigitValue(int c);

}  // namespace zav::rtf

#endif
