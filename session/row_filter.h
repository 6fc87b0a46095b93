#pragma once

#include <QString>
#include <vector>

#include "session/flash_session.h"

namespace vorlix {

// The list filter as the user types it: terms separated by blanks, all of
// which a row must match.
//  - "WxH": the picture's size ("32x32"; either side may be "*"; a Cyrillic
//    "х" or "×" works as the "x");
//  - "Nbit" (or "Nbits", "N bit"): the depth ("16bit");
//  - "modified" (also as the column spells it, "modifyed") and "compressed";
//  - anything else: a part of the "PIT" or "Data" text, in either letter
//    case, with or without a leading "0x".
// An empty filter matches every row.
class RowFilter {
  public:
    RowFilter() = default;
    explicit RowFilter(const QString& text);

    bool IsEmpty() const { return terms_.empty(); }
    // Whether the row's picture matches; a row without a picture matches
    // only the empty filter.
    bool Matches(const FlashSession& session, int row) const;

  private:
    struct Term {
        enum Kind { Text, Size, Depth, Modified, Compressed } kind = Text;
        QString text;    // Text: upper-case hexadecimal part
        int width = -1;  // Size: -1 for any
        int height = -1;
        int depth = 0;
    };
    static Term Parse(const QString& word);
    static bool Matches(const Term& term, const Picture& picture, const Settings& settings);

    std::vector<Term> terms_;
};

}  // namespace vorlix
