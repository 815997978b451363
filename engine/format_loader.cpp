// LoadFormat: reads one format of a template file into a format slot of the report model.
//
// A template is a list of lines. A line with "^^" is a format header ("^^NAME"); a line
// with "@" is a level marker ("@3" starts the detail level); in every other line a run of
// "?" (with "^" as the decimal mark) is a field slot, and "<¿NAME>" before a slot (RTF:
// a word in strike-through type) names it.

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/report_model.h"
#include "engine/template_lines.h"

namespace quillon {

namespace {

using text::TextEncoding;

// A name found in a line, waiting for the slot it names.
struct PendingName {
    std::string text;  // NAME or NAME=EXPRESSION
    int number;        // the slot number it is meant for
};

// Where a level stands while its lines are read; kept per level so that a repeated
// marker of a level continues after the level's last slot.
struct LevelState {
    int slots = 0;  // slots registered so far
    int names = 1;  // the name counter
    std::uint8_t width = 0;
    std::uint8_t decimals = 0;
};

constexpr std::size_t kMarkupWarning = 500;  // markups on one line that draw a message
constexpr std::size_t kMarkupLimit = 501;    // markups of one line that are read

bool IsRunChar(char c) {
    return c == '?' || c == '^';
}

// Number of runs of "?"/"^" in s.
int CountRuns(std::string_view s) {
    int runs = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (IsRunChar(s[i]) && (i == 0 || !IsRunChar(s[i - 1]))) ++runs;
    }
    return runs;
}

// Position of the next name markup at or after from: "<" followed by the inverted
// question mark, as byte 0xBF or as UTF-8 C2 BF. Sets len to the markup opener's length.
std::size_t FindMarkup(std::string_view s, std::size_t from, std::size_t& len) {
    while (from < s.size()) {
        const std::size_t lt = s.find('<', from);
        if (lt == std::string_view::npos || lt + 1 >= s.size()) return std::string_view::npos;
        if (s[lt + 1] == '\xBF') {
            len = 2;
            return lt;
        }
        if (s[lt + 1] == '\xC2' && lt + 2 < s.size() && s[lt + 2] == '\xBF') {
            len = 3;
            return lt;
        }
        from = lt + 1;
    }
    return std::string_view::npos;
}

std::size_t CountMarkups(std::string_view s) {
    std::size_t count = 0, len = 0;
    for (std::size_t at = FindMarkup(s, 0, len); at != std::string_view::npos;
         at = FindMarkup(s, at + len, len)) {
        ++count;
    }
    return count;
}

std::size_t FindIgnoreCase(std::string_view hay, std::string_view needle, std::size_t from) {
    if (needle.empty() || needle.size() > hay.size()) return std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= hay.size(); ++i) {
        if (text::AsciiUpper(hay[i]) != text::AsciiUpper(needle[0])) continue;
        if (text::EqualsIgnoreCase(hay.substr(i, needle.size()), needle)) return i;
    }
    return std::string_view::npos;
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// An optionally signed decimal integer, nothing else.
std::optional<int> ParseInt(std::string_view s) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i >= s.size()) return std::nullopt;
    int value = 0;
    for (; i < s.size(); ++i) {
        if (!IsDigit(s[i]) || value > 100000) return std::nullopt;
        value = value * 10 + (s[i] - '0');
    }
    return negative ? -value : value;
}

class FormatLoader {
  public:
    FormatLoader(std::string_view file_name, std::string_view format_name,
                 const LoadSettings& settings, TextEncoding encoding, bool is_rtf,
                 LevelTable& table, tRNAMEList& names)
        : file_name_(file_name),
          format_name_(format_name),
          settings_(settings),
          encoding_(encoding),
          is_rtf_(is_rtf),
          table_(table),
          names_(names) {}

    // Reads the lines of the format; false after a message when the template is wrong.
    bool Walk(std::vector<TemplateLine>& lines) {
        bool first_line = true;
        for (TemplateLine& line : lines) {
            line_number_ = line.number;
            if (line.text.find('@') != std::string::npos) {
                if (!StartLevel(line.text)) return false;
                first_line = false;
                continue;
            }
            if (first_line) {
                // The first line without a marker opens the report heading.
                level_ = rlHead;
                table_.Create(rlHead);
                first_line = false;
            }
            std::string content =
                is_rtf_ ? ExtractRtfNames(line.text) : ExtractHtmlNames(line.text);
            if (!AddContent(std::move(content))) return false;
        }
        return true;
    }

  private:
    LevelState& State() { return states_[level_]; }

    void ShowError(const std::string& message) {
        ShowMessage(settings_.message, message, TMsgDlgType::mtError, mbOK);
    }

    std::string Where() const {
        std::string where(file_name_);
        where += "->@";
        where += std::to_string(level_);
        where += ", ";
        where += Msg(LINE_Msg, settings_.language);
        where += std::to_string(line_number_);
        return where;
    }

    // A level marker line: "@" followed by the level number (two characters, or one).
    bool StartLevel(std::string_view line) {
        const std::string_view after = line.substr(line.find('@') + 1);
        std::optional<int> level = ParseInt(text::Trim(after.substr(0, 2)));
        if (!level) level = ParseInt(after.substr(0, 1));
        if (!level || !IsReportLevel(*level)) {
            std::string msg(Msg(ABSTRACT_Msg, settings_.language));
            msg += text::CharPrefix(after, 10, encoding_);
            ShowError(msg);
            return false;
        }
        // Names that found no slot in the level they were written in do not carry over.
        pending_.clear();
        level_ = *level;
        if (started_[static_cast<std::size_t>(level_)]) {
            // A second block of a level adds its lines to the first one: stored templates
            // may rely on it, but it is most often a copy-and-paste slip.
            ShowMessage(settings_.message,
                        "Level @" + std::to_string(level_) + " is given a second time in " +
                            std::string(file_name_) + ", line " + std::to_string(line_number_) +
                            ": its lines are added to those of the first block.",
                        TMsgDlgType::mtWarning, mbOK);
        }
        started_[static_cast<std::size_t>(level_)] = true;
        table_.Create(level_);
        return true;
    }

    void CheckMarkupCount(std::size_t count) {
        if (count < kMarkupWarning) return;
        std::string msg(Msg(FIELD_NAMEMsg, settings_.language));
        msg += file_name_;
        msg += "->";
        msg += format_name_;
        ShowError(msg);
    }

    // HTML and text templates: "<¿NAME>" before the slot it names. The name ends at the
    // first ">?" of the markup (so an expression may hold ">"), else at its first ">";
    // a markup never reaches into the next one. Every run of "?"/"^" on the line moves the
    // name counter on, so a name gets the number of the run that follows it.
    std::string ExtractHtmlNames(std::string_view line) {
        CheckMarkupCount(CountMarkups(line));
        std::string out;
        out.reserve(line.size());
        std::size_t pos = 0, extracted = 0, len = 0;
        LevelState& state = State();
        while (extracted < kMarkupLimit) {
            const std::size_t at = FindMarkup(line, pos, len);
            if (at == std::string_view::npos) break;
            std::size_t next_len = 0;
            const std::size_t body = at + len;
            const std::size_t next = FindMarkup(line, body, next_len);
            const std::string_view reach = line.substr(
                body, next == std::string_view::npos ? std::string_view::npos : next - body);
            std::size_t close = reach.find(">?");
            if (close == std::string_view::npos) close = reach.find('>');
            if (close == std::string_view::npos) {
                // Not closed before the next markup: ordinary text.
                state.names += CountRuns(line.substr(pos, body - pos));
                out.append(line.substr(pos, body - pos));
                pos = body;
                continue;
            }
            const std::string_view before = line.substr(pos, at - pos);
            state.names += CountRuns(before);
            pending_.push_back(PendingName{std::string(reach.substr(0, close)), state.names});
            ++extracted;
            const std::size_t end = body + close + 1;
            if (settings_.strip_names) {
                out.append(before);
                // A zero byte keeps the runs on both sides of the markup apart; it is
                // removed from the text again.
                out += '\0';
            } else {
                out.append(line.substr(pos, end - pos));
            }
            pos = end;
        }
        state.names += CountRuns(line.substr(pos));
        out.append(line.substr(pos));
        return out;
    }

    // RTF templates: a name is the word after "\strike " (further control words may come
    // between); the n-th name of a level names its n-th slot.
    std::string ExtractRtfNames(std::string_view line) {
        const std::string tag = "\\" + settings_.rtf_name_tag + " ";
        std::string out;
        out.reserve(line.size());
        std::size_t pos = 0, extracted = 0;
        LevelState& state = State();
        std::size_t found = 0;
        // Count first, for the message about too many names on a line.
        for (std::size_t at = FindIgnoreCase(line, tag, 0); at != std::string_view::npos;
             at = FindIgnoreCase(line, tag, at + tag.size())) {
            ++found;
        }
        CheckMarkupCount(found);
        while (extracted < kMarkupLimit) {
            const std::size_t at = FindIgnoreCase(line, tag, pos);
            if (at == std::string_view::npos) break;
            const std::size_t after_tag = at + tag.size();
            std::size_t q = after_tag;
            while (q + 1 < line.size() && line[q] == '\\' && IsAsciiLetter(line[q + 1])) {
                ++q;
                while (q < line.size() && IsAsciiLetter(line[q])) ++q;
                if (q < line.size() && line[q] == '-') ++q;
                while (q < line.size() && IsDigit(line[q])) ++q;
                if (q < line.size() && line[q] == ' ') ++q;
            }
            std::size_t name_end = line.find_first_of("\\ {}", q);
            if (name_end == std::string_view::npos) name_end = line.size();
            if (name_end == q) {
                // No word after the tag: not a name.
                out.append(line.substr(pos, after_tag - pos));
                pos = after_tag;
                continue;
            }
            pending_.push_back(PendingName{std::string(line.substr(q, name_end - q)), state.names});
            ++state.names;
            ++extracted;
            if (settings_.strip_names) {
                out.append(line.substr(pos, at - pos));
                out.append(line.substr(after_tag, q - after_tag));  // the other control words
            } else {
                out.append(line.substr(pos, name_end - pos));
            }
            pos = name_end;
        }
        out.append(line.substr(pos));
        return out;
    }

    void AddText(std::string_view text) {
        LevelLists& lists = *table_.Get(level_);
        const LevelState& state = states_[level_];
        std::string value(text);
        value.erase(std::remove(value.begin(), value.end(), '\0'), value.end());
        lists[static_cast<std::size_t>(state.slots)].Add(state.width, state.decimals,
                                                         std::move(value));
    }

    // The name for slot number, taken strictly in order from the pending names. Names
    // meant for an earlier slot can never be attached and are dropped.
    std::string TakeName(int number) {
        while (!pending_.empty() && pending_.front().number < number) pending_.pop_front();
        if (pending_.empty() || pending_.front().number != number) return {};
        std::string name = std::move(pending_.front().text);
        pending_.pop_front();
        return name;
    }

    // A content line: text segments and field slots.
    bool AddContent(std::string line) {
        line += "\r\n";
        LevelState& state = State();
        std::size_t pos = 0;
        while (pos < line.size()) {
            const std::size_t q = line.find('?', pos);
            if (q == std::string::npos) {
                AddText(std::string_view(line).substr(pos));
                break;
            }
            AddText(std::string_view(line).substr(pos, q - pos));
            std::size_t end = q;
            while (end < line.size() && IsRunChar(line[end])) ++end;
            const std::size_t width = end - q;
            if (state.slots >= kMaxSlotsPerLevel) {
                ShowError(std::string(Msg(SLOT_COUNTMsg, settings_.language)) + Where());
                return false;
            }
            if (width > static_cast<std::size_t>(kMaxSlotWidth)) {
                ShowError(std::string(Msg(SLOT_WIDTHMsg, settings_.language)) + Where());
                return false;
            }
            ++state.slots;
            names_.AddName(level_, state.slots, TakeName(state.slots));
            const std::size_t caret = line.find('^', q);
            state.width = static_cast<std::uint8_t>(width);
            state.decimals = static_cast<std::uint8_t>(caret < end ? end - caret - 1 : 0);
            pos = end;
        }
        return true;
    }

    std::string_view file_name_;
    std::string_view format_name_;
    const LoadSettings& settings_;
    TextEncoding encoding_;
    bool is_rtf_;
    LevelTable& table_;
    tRNAMEList& names_;

    int level_ = rlHead;
    int line_number_ = 0;
    std::array<bool, kLevelCount> started_{};  // the levels whose block has begun
    std::array<LevelState, kLevelCount> states_{};
    std::deque<PendingName> pending_;
};

std::string FileMessage(const LoadSettings& settings, std::string_view file_name, char suffix) {
    std::string msg(Msg(FRM_FILEMsg, settings.language));
    msg += file_name;
    msg += suffix;
    return msg;
}

}  // namespace

bool ReportModel::LoadFormat(std::string_view file_name, std::string& format_name, int slot,
                             const LoadSettings& settings) {
    if (SlotAt(slot) == nullptr) return false;
    auto error = [&](std::string_view msg) {
        ShowMessage(settings.message, msg, TMsgDlgType::mtError, mbOK);
        return false;
    };
    if (text::Trim(file_name).empty()) return error(Msg(FRM_OPENMsg, settings.language));
    if (text::Trim(format_name).empty()) return error(Msg(FRM_NAMEMsg, settings.language));

    const std::filesystem::path path{std::string(file_name)};
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status) || std::filesystem::is_directory(status)) {
        return error(FileMessage(settings, file_name, '!'));
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    if (in) content << in.rdbuf();
    if (!in || in.bad() || content.str().size() < 3) {
        return error(FileMessage(settings, file_name, '?'));
    }
    return LoadFormatText(file_name, content.str(), format_name, slot, settings);
}

bool ReportModel::LoadFormatText(std::string_view file_name, std::string_view content,
                                 std::string& format_name, int slot, const LoadSettings& settings) {
    FormatSlot* target = SlotAt(slot);
    if (target == nullptr) return false;
    auto error = [&](std::string_view msg) {
        ShowMessage(settings.message, msg, TMsgDlgType::mtError, mbOK);
        return false;
    };
    if (text::Trim(file_name).empty()) return error(Msg(FRM_OPENMsg, settings.language));
    if (text::Trim(format_name).empty()) return error(Msg(FRM_NAMEMsg, settings.language));

    std::vector<TemplateLine> lines = SplitTemplateLines(content);
    if (lines.empty()) return error(FileMessage(settings, file_name, '.'));

    const std::optional<std::size_t> header = FindFormatHeader(lines, format_name);
    if (!header) {
        std::string msg(Msg(FORMATMsg, settings.language));
        msg += file_name;
        msg += "->";
        msg += format_name;
        return error(msg);
    }
    if (text::Trim(format_name) == "*") format_name = HeaderName(lines[*header].text);

    const TemplateKind kind = KindOfTemplate(file_name);
    is_rtf_ = kind.rtf;
    is_txt_ = kind.txt;

    std::vector<TemplateLine> format = SelectFormatLines(std::move(lines), *header, kind.rtf);

    // The slot loses its previous format before the new one is read.
    target->levels = std::make_unique<LevelTable>();
    target->names.ClrVAL();
    target->names.ClrREK();
    target->encoding = text::DetectEncoding(content);

    FormatLoader loader(file_name, format_name, settings, target->encoding, kind.rtf,
                        *target->levels, target->names);
    if (!loader.Walk(format)) {
        // Nothing half-read stays in the slot.
        target->levels = std::make_unique<LevelTable>();
        target->names.ClrVAL();
        target->names.ClrREK();
        return false;
    }
    active_ = slot;
    return true;
}

}  // namespace quillon
