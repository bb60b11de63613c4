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

#include "ByteScan.h"
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
  // While no read hook is set, readDocument hands runs of text tokens to
  // this handler at once, as their codes (their majors, 0 to 255), instead
  // of one text token each to the text class handler: plain characters
  // (bytes 0x20 to 0x7F but braces and backslash), escaped characters
  // (\{ \} \\ \:) and hex escapes of two hex digits, with the line breaks
  // between them, and, where nothing could see them, the words the table
  // lacks (a \uN before its fallback). It must do for a run what the text
  // handler does for each of its tokens, from their majors alone. When it
  // is called, the current token is the run's last text token.
  void setTextRunHandler(TextRunHandler handler) { textRunHandler_ = handler; }
  // The majors of the control words the control class handler is called
  // for (bit i for major i; all of them unless set): dispatchToken passes
  // the others by, and readDocument need not make tokens of them, leaving
  // in the token what they leave for later tokens (their major and minor).
  void setHandledMajors(std::uint32_t majors) { handledMajors_ = majors; }

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
    if (tokenClass == kControl && !isHandledMajor(token_.major)) return;
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

  bool isHandledMajor(int major) const {
    return static_cast<unsigned>(major) >= 32 || ((handledMajors_ >> major) & 1U) != 0;
  }

 private:
  // The bytes of the block the bulk paths want from a token's start on:
  // they read a control word whole (a backslash, up to kLongestWholeName
  // letters, a hyphen, up to kMostWholeDigits digits and the delimiter)
  // and look at it with loads that reach past it (see ByteScan.h). Nearer
  // the block's end, the token reader reads on byte by byte.
  static constexpr std::ptrdiff_t kBulkWindow = 48;
  static constexpr int kLongestWholeName = 15;
  static constexpr int kMostWholeDigits = 8;
  static_assert(kBulkWindow >= 1 + scan::kWordReach + 1, "measureWord's loads and the delimiter after them");
  static_assert(kBulkWindow >= 1 + static_cast<std::ptrdiff_t>(lookup::kKeyBytes), "a name's lookup");
  static_assert(kLongestWholeName < scan::kCountCap && kMostWholeDigits < scan::kCountCap,
                "the counts measureWord gives are exact below its cap");
  static_assert(kMostWholeDigits <= scan::kDigitReach &&
                    kBulkWindow >= 1 + kLongestWholeName + 1 + scan::kDigitReach,
                "digitsValue's load from the first digit");
  static_assert(kBulkWindow <= kTokenTextSize, "a word's token text is copied from the window whole");

  // What a bulk step did: made a token for a handler, passed tokens no one
  // sees, handed a run to the run handler, or stopped where the token
  // reader must read on.
  enum class Outcome { made, passed, taken, stopped };
  struct Step {
    const std::uint8_t* next;
    Outcome outcome;
  };
  // Which tokens a bulk path may pass without making them, where no read
  // hook watches: words the table lacks, when no handler takes them; words
  // whose major no handler is called for (in readDocument).
  struct Passing {
    bool unrecognised;
    bool unhandled;
  };
  void reportMalfunction() const;
  void readCommonTokens();
  [[gnu::always_inline]] inline Step readCommonToken(const std::uint8_t* p, Passing passing);
  [[gnu::always_inline]] inline Step readWholeEscape(const std::uint8_t* p, Passing passing);
  [[gnu::always_inline]] inline Step readWholeWord(const std::uint8_t* start, Passing passing);
  const std::uint8_t* unseenWordEnd(const std::uint8_t* start, Passing passing, int& minor) const;
  bool reachesHandler(const ControlWord& row) const {
    return row.major == kMajorDestination || isHandledMajor(row.major);
  }
  void makeSymbolToken(const std::uint8_t* start);
  [[gnu::always_inline]] inline void setTextToken(const std::uint8_t* start, int length, int code);
  [[gnu::always_inline]] static inline const std::uint8_t* unicodeWordEnd(const std::uint8_t* p);
  [[gnu::always_inline]] inline bool startsTextRun(const std::uint8_t* p) const;
  class TextRun;
  void takeTextRun(const std::uint8_t* p, Passing passing);
  [[gnu::always_inline]] inline const std::uint8_t* takeRunStep(const std::uint8_t* p, TextRun& run, Passing passing, int& minor) const;
  void readRawToken();
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
  class PassedWords;
  bool skipInBlock(PassedWords& passed, std::int64_t& level);
  bool leaveSkippedBlock(PassedWords& passed);
  bool readTokenInSkip(PassedWords& passed, const std::uint8_t* p);
  bool endSkip(PassedWords& passed, const std::uint8_t* p, int tokenClass);
  [[gnu::always_inline]] inline const std::uint8_t* passEscape(const std::uint8_t* p, PassedWords& passed) const;
  void skipGroupTokenByToken();

  ByteStream& input_;
  Token token_;
  bool textOverflowed_ = false;
  std::array<Handler, kClassCount> classHandlers_{};
  std::array<Handler, kDestinationSlots> destinationHandlers_{};
  Handler readHook_;
  TextRunHandler textRunHandler_;
  std::uint32_t handledMajors_ = ~std::uint32_t{0};
};

// The default destination handler: skips the destination's group, then
// dispatches the token that closed it.
void skipDestination(RtfReader& reader);

// The value of a hex digit. Nothing is rejected: letters beyond f go on
// counting (g is 16), so a malformed escape gives a code outside 0 to 255.
int hexDigitValue(int c);

}  // namespace zav::rtf

#endif
