#include "html/style/style_parser.h"

#include "html/style/block_reader.h"

namespace quillon::css {
namespace {

bool IsSpaceChar(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Lower case with runs of white space made one space, trimmed.
std::string NormalizeMedia(std::string_view text) {
    std::string out;
    bool space = false;
    for (char c : AsciiLower(text)) {
        if (IsSpaceChar(c)) {
            space = !out.empty();
            continue;
        }
        if (space) out += ' ';
        space = false;
        out += c;
    }
    return out;
}

bool QueryApplies(std::string_view query, Medium medium) {
    if (query.empty() || query.front() == '(') return true;
    bool negated = false;
    auto word = [&query]() {
        std::size_t n = 0;
        while (n < query.size() && query[n] != ' ' && query[n] != '(') ++n;
        std::string_view w = query.substr(0, n);
        query.remove_prefix(n);
        while (!query.empty() && query.front() == ' ') query.remove_prefix(1);
        return w;
    };
    std::string_view type = word();
    if (type == "only") {
        type = word();
    } else if (type == "not") {
        negated = true;
        type = word();
    }
    const bool ours = type == "all" || type == (medium == Medium::Print ? "print" : "screen");
    return ours != negated;
}

class SheetParser {
  public:
    SheetParser(std::string_view source, Medium medium) : reader_(source), medium_(medium) {}

    StyleSheet Run() {
        RuleList(reader_.All(), /*top=*/true, {});
        return std::move(sheet_);
    }

  private:
    void RuleList(TokenRange range, bool top, const std::vector<std::string>& media) {
        while (true) {
            const std::size_t i = reader_.SkipSpace(range);
            if (i >= range.end) return;
            const Token& t = reader_.At(i);
            if (top && (t.Is(TokenType::Cdo) || t.Is(TokenType::Cdc))) {
                range.begin = i + 1;
                continue;
            }
            range.begin = i;
            if (t.Is(TokenType::AtKeyword)) {
                AtRule(reader_.ReadAtRule(range), media);
            } else {
                QualifiedRule(reader_.ReadQualifiedRule(range), media);
            }
        }
    }

    void QualifiedRule(const RawRule& raw, const std::vector<std::string>& media) {
        imports_allowed_ = false;
        if (!raw.has_block) return;  // the input ended before the block
        auto selectors = reader_.Selectors(raw.prelude);
        if (!selectors) return;
        StyleRule rule;
        rule.selector_text = reader_.Text(raw.prelude);
        rule.selectors = std::move(*selectors);
        rule.declarations = reader_.Declarations(raw.block);
        rule.media = media;
        sheet_.rules.push_back(std::move(rule));
    }

    void AtRule(const RawRule& raw, const std::vector<std::string>& media) {
        const std::string name = AsciiLower(raw.name);
        if (name == "charset") return;
        if (name == "import") {
            Import(raw);
            return;
        }
        imports_allowed_ = false;
        if (!raw.has_block) return;
        if (name == "media") {
            const std::string list = NormalizeMedia(reader_.Text(raw.prelude));
            if (DependsOnMedium(list)) sheet_.by_medium = true;
            if (!MediaApplies(list, medium_)) return;
            std::vector<std::string> inner = media;
            inner.push_back(list);
            RuleList(raw.block, false, inner);
        } else if (name == "page") {
            PageRule page;
            page.selector = reader_.Text(raw.prelude);
            page.declarations = reader_.Declarations(raw.block);
            sheet_.pages.push_back(std::move(page));
        }
        // Other at-rules are not supported and dropped with their blocks.
    }

    void Import(const RawRule& raw) {
        if (!imports_allowed_ || raw.has_block) return;
        std::size_t i = reader_.SkipSpace(raw.prelude);
        if (i >= raw.prelude.end) return;
        const Token& t = reader_.At(i);
        ImportRule imp;
        if (t.Is(TokenType::String) || t.Is(TokenType::Url)) {
            imp.url = t.value;
            ++i;
        } else if (t.Is(TokenType::Function) && AsciiLower(t.value) == "url") {
            const std::size_t arg = reader_.SkipSpace({i + 1, raw.prelude.end});
            if (arg >= raw.prelude.end || !reader_.At(arg).Is(TokenType::String)) return;
            const std::size_t close = reader_.SkipSpace({arg + 1, raw.prelude.end});
            if (close >= raw.prelude.end || !reader_.At(close).Is(TokenType::RightParen)) return;
            imp.url = reader_.At(arg).value;
            i = close + 1;
        } else {
            return;
        }
        imp.media = NormalizeMedia(reader_.Text({i, raw.prelude.end}));
        sheet_.imports.push_back(std::move(imp));
    }

    BlockReader reader_;
    Medium medium_;
    StyleSheet sheet_;
    bool imports_allowed_ = true;
};

}  // namespace

bool DependsOnMedium(std::string_view media) {
    return MediaApplies(media, Medium::Screen) != MediaApplies(media, Medium::Print);
}

bool MediaApplies(std::string_view media, Medium medium) {
    const std::string list = NormalizeMedia(media);
    if (list.empty()) return true;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        std::string_view q = std::string_view(list).substr(start, comma - start);
        while (!q.empty() && q.front() == ' ') q.remove_prefix(1);
        while (!q.empty() && q.back() == ' ') q.remove_suffix(1);
        if (!q.empty() && QueryApplies(q, medium)) return true;
        start = comma + 1;
    }
    return false;
}

StyleSheet ParseStyleSheet(std::string_view source, Medium medium) {
    return SheetParser(source, medium).Run();
}

std::vector<Declaration> ParseDeclarationList(std::string_view source) {
    BlockReader reader(source);
    return reader.Declarations(reader.All());
}

}  // namespace quillon::css
