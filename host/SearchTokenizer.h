// Full-text search that finds words inside Japanese and Chinese text, which
// has no spaces between words. The catalog's FTS5 tables use the tokenizer
// "zav": text in scripts written without spaces (Han, kana, Hangul) becomes
// overlapping pairs of characters, so any two or more characters inside such
// a run match ("天気" inside "東京都の天気は晴れ"); everything else goes
// through FTS5's own unicode61 tokenizer (words, case and accents folded).
#ifndef ZAV_HOST_SEARCHTOKENIZER_H
#define ZAV_HOST_SEARCHTOKENIZER_H

#include <sqlite3.h>

namespace zav::host {

// Registers the tokenizer "zav" and the auxiliary function zav_spans(TABLE),
// which gives the byte ranges of the matched text in the row's columns as
// "column start end column start end ...". Every connection to a catalog
// needs both.
void registerSearchTokenizer(sqlite3* db);

}  // namespace zav::host

#endif
