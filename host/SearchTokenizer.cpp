#include "SearchTokenizer.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Sqlite.h"

namespace zav::host {

namespace {

// Scripts written without spaces between words.
bool isUnspacedScript(char32_t c) {
  return (c >= 0x1100 && c <= 0x11FF) ||    // Hangul jamo
         (c >= 0x2E80 && c <= 0x2FDF) ||    // CJK and Kangxi radicals
         (c >= 0x3005 && c <= 0x3007) ||    // 々 〆 〇
         (c >= 0x3040 && c <= 0x31FF) ||    // kana, bopomofo, compatibility jamo
         (c >= 0x3400 && c <= 0x4DBF) ||    // Han extension A
         (c >= 0x4E00 && c <= 0x9FFF) ||    // Han
         (c >= 0xA960 && c <= 0xA97F) ||    // Hangul jamo extension A
         (c >= 0xAC00 && c <= 0xD7AF) ||    // Hangul syllables
         (c >= 0xF900 && c <= 0xFAFF) ||    // Han compatibility
         (c >= 0xFF66 && c <= 0xFF9F) ||    // half-width katakana
         (c >= 0x20000 && c <= 0x3134F);    // Han extensions B and on
}

// The code point at `text[i]` and its length; texts in the catalog are valid
// UTF-8, but a query comes from the user, so a stray byte counts as itself.
std::pair<char32_t, int> decodeAt(const char* text, int size, int i) {
  const auto byte = [&](int k) { return static_cast<std::uint8_t>(text[k]); };
  const std::uint8_t lead = byte(i);
  int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (lead >= 0x80 && lead < 0xC0) length = 1;
  if (i + length > size) return {lead, 1};
  char32_t c = length == 1 ? lead : lead & (0x7F >> length);
  for (int k = 1; k < length; ++k) c = (c << 6) | (byte(i + k) & 0x3F);
  return {c, length};
}

using TokenCallback = int (*)(void*, int, const char*, int, int, int);

struct Tokenizer {
  fts5_tokenizer words{};
  Fts5Tokenizer* wordTokenizer = nullptr;
};

struct Fts5Api {
  fts5_api* api = nullptr;
  fts5_tokenizer unicode61{};
  void* unicode61Context = nullptr;
};

// Hands unicode61's tokens on, shifted to where the piece lies in the text.
struct ShiftedTokens {
  void* context;
  TokenCallback next;
  int offset;
};

int shiftToken(void* context, int flags, const char* token, int size, int start, int end) {
  auto* shifted = static_cast<ShiftedTokens*>(context);
  return shifted->next(shifted->context, flags, token, size, start + shifted->offset,
                       end + shifted->offset);
}

// Pairs of neighbouring characters; a lone character is its own token.
int tokenizeUnspaced(void* context, TokenCallback token, const char* text,
                     const std::vector<int>& starts, int end) {
  if (starts.size() == 1) return token(context, 0, text + starts[0], end - starts[0], starts[0], end);
  for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
    const int pairEnd = k + 2 < starts.size() ? starts[k + 2] : end;
    const int result =
        token(context, 0, text + starts[k], pairEnd - starts[k], starts[k], pairEnd);
    if (result != SQLITE_OK) return result;
  }
  return SQLITE_OK;
}

int createTokenizer(void* apiContext, const char** /*arguments*/, int /*count*/,
                    Fts5Tokenizer** out) {
  auto* api = static_cast<Fts5Api*>(apiContext);
  auto* tokenizer = new Tokenizer;
  tokenizer->words = api->unicode61;
  const char* options[] = {"remove_diacritics", "2"};
  const int result = tokenizer->words.xCreate(api->unicode61Context, options, 2,
                                              &tokenizer->wordTokenizer);
  if (result != SQLITE_OK) {
    delete tokenizer;
    return result;
  }
  *out = reinterpret_cast<Fts5Tokenizer*>(tokenizer);
  return SQLITE_OK;
}

void deleteTokenizer(Fts5Tokenizer* handle) {
  auto* tokenizer = reinterpret_cast<Tokenizer*>(handle);
  tokenizer->words.xDelete(tokenizer->wordTokenizer);
  delete tokenizer;
}

int tokenize(Fts5Tokenizer* handle, void* context, int flags, const char* text, int size,
             TokenCallback token) {
  auto* tokenizer = reinterpret_cast<Tokenizer*>(handle);
  int i = 0;
  std::vector<int> starts;
  while (i < size) {
    // A run of ordinary text, handed to unicode61 whole.
    const int wordsStart = i;
    while (i < size) {
      const auto [c, length] = decodeAt(text, size, i);
      if (isUnspacedScript(c)) break;
      i += length;
    }
    if (i > wordsStart) {
      ShiftedTokens shifted{context, token, wordsStart};
      const int result = tokenizer->words.xTokenize(tokenizer->wordTokenizer, &shifted, flags,
                                                    text + wordsStart, i - wordsStart, shiftToken);
      if (result != SQLITE_OK) return result;
    }
    // A run of unspaced script.
    starts.clear();
    while (i < size) {
      const auto [c, length] = decodeAt(text, size, i);
      if (!isUnspacedScript(c)) break;
      starts.push_back(i);
      i += length;
    }
    if (!starts.empty()) {
      const int result = tokenizeUnspaced(context, token, text, starts, i);
      if (result != SQLITE_OK) return result;
    }
  }
  return SQLITE_OK;
}

// zav_spans: which bytes of each column the matched phrases cover.
struct SpanSearch {
  std::vector<std::pair<int, int>> tokenRanges;  // first and last token of each match
  std::vector<std::pair<int, int>> spans;
  int position = 0;
};

int collectSpan(void* context, int flags, const char*, int, int start, int end) {
  auto* search = static_cast<SpanSearch*>(context);
  if ((flags & FTS5_TOKEN_COLOCATED) == 0) ++search->position;
  const int position = search->position - 1;
  for (const auto& [first, last] : search->tokenRanges) {
    if (position < first || position > last) continue;
    if (!search->spans.empty() && start <= search->spans.back().second) {
      search->spans.back().second = std::max(search->spans.back().second, end);
    } else {
      search->spans.emplace_back(start, end);
    }
    break;
  }
  return SQLITE_OK;
}

void matchSpans(const Fts5ExtensionApi* api, Fts5Context* fts, sqlite3_context* result, int,
                sqlite3_value**) {
  int instances = 0;
  if (api->xInstCount(fts, &instances) != SQLITE_OK) return sqlite3_result_null(result);
  std::string spans;
  for (int column = 0; column < api->xColumnCount(fts); ++column) {
    SpanSearch search;
    for (int k = 0; k < instances; ++k) {
      int phrase = 0;
      int instanceColumn = 0;
      int offset = 0;
      if (api->xInst(fts, k, &phrase, &instanceColumn, &offset) != SQLITE_OK) continue;
      if (instanceColumn != column) continue;
      search.tokenRanges.emplace_back(offset,
                                      offset + std::max(1, api->xPhraseSize(fts, phrase)) - 1);
    }
    if (search.tokenRanges.empty()) continue;
    const char* text = nullptr;
    int size = 0;
    if (api->xColumnText(fts, column, &text, &size) != SQLITE_OK || text == nullptr) continue;
    api->xTokenize(fts, text, size, &search, collectSpan);
    for (const auto& [start, end] : search.spans) {
      spans += std::to_string(column) + ' ' + std::to_string(start) + ' ' + std::to_string(end) + ' ';
    }
  }
  if (!spans.empty()) spans.pop_back();
  sqlite3_result_text(result, spans.c_str(), static_cast<int>(spans.size()), SQLITE_TRANSIENT);
}

fts5_api* fts5Of(sqlite3* db) {
  fts5_api* api = nullptr;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT fts5(?1)", -1, &statement, nullptr) == SQLITE_OK) {
    sqlite3_bind_pointer(statement, 1, &api, "fts5_api_ptr", nullptr);
    sqlite3_step(statement);
  }
  sqlite3_finalize(statement);
  return api;
}

}  // namespace

void registerSearchTokenizer(sqlite3* db) {
  auto api = std::make_unique<Fts5Api>();
  api->api = fts5Of(db);
  if (api->api == nullptr) throw sql::Error("this SQLite has no FTS5", SQLITE_ERROR);
  if (api->api->xFindTokenizer(api->api, "unicode61", &api->unicode61Context, &api->unicode61) !=
      SQLITE_OK) {
    throw sql::Error("FTS5 lacks the unicode61 tokenizer", SQLITE_ERROR);
  }
  fts5_tokenizer zav{createTokenizer, deleteTokenizer, tokenize};
  fts5_api* fts5 = api->api;
  // The connection owns the context from here and frees it when it closes.
  Fts5Api* context = api.release();
  if (fts5->xCreateTokenizer(fts5, "zav", context, &zav,
                             [](void* p) { delete static_cast<Fts5Api*>(p); }) != SQLITE_OK ||
      fts5->xCreateFunction(fts5, "zav_spans", nullptr, matchSpans, nullptr) != SQLITE_OK) {
    throw sql::Error("cannot register the search tokenizer", SQLITE_ERROR);
  }
}

}  // namespace zav::host
