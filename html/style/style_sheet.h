#pragma once
// A parsed style sheet as a value: the rules that survived error recovery, in source order.

#include <string>
#include <vector>

#include "html/style/css_selector.h"
#include "html/style/css_token.h"

namespace quillon::css {

struct Declaration {
    std::string name;          // lower case
    std::vector<Token> value;  // without surrounding white space and without !important
    std::string text;          // the value as written, same extent
    bool important = false;
};

struct StyleRule {
    std::string selector_text;  // as written, trimmed
    std::vector<Selector> selectors;
    std::vector<Declaration> declarations;
    // The media lists of the enclosing @media blocks, outermost first, lower case.
    std::vector<std::string> media;
};

struct ImportRule {
    std::string url;
    std::string media;  // lower case; empty: all
};

struct PageRule {
    std::string selector;  // ":first", ":left", ... as written; empty for every page
    std::vector<Declaration> declarations;
};

struct StyleSheet {
    std::vector<StyleRule> rules;
    std::vector<ImportRule> imports;
    std::vector<PageRule> pages;
    // Some @media block applies to one medium and not the other: the sheet's rules differ
    // between screen and print. (@import media are in `imports` for the reader to judge.)
    bool by_medium = false;
};

}  // namespace quillon::css
