#include "design/expert/expert_format.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <system_error>

namespace quillon::design {

namespace {

// The field-name markup opener: "<" and the inverted question mark, in UTF-8.
constexpr std::string_view kNameMarkup = "<\xC2\xBF";

// The name markup and a slot of width characters; with decimals, "^" stands where the
// point goes and decimals "?" follow it.
std::string NamedSlot(std::string_view name, int width, int decimals = 0) {
    std::string out(kNameMarkup);
    out += name;
    out += '>';
    const int w = std::clamp(width, kMinSlotWidth, kMaxExpertSlotWidth);
    if (decimals > 0 && w >= decimals + 2) {
        out.append(static_cast<std::size_t>(w - decimals - 1), '?');
        out += '^';
        out.append(static_cast<std::size_t>(decimals), '?');
    } else {
        out.append(static_cast<std::size_t>(w), '?');
    }
    return out;
}

// Table cells do not inherit the body's font: each cell's text is set in the smaller size
// itself, so that a printed page holds a page's worth of rows.
std::string Small(const std::string& html) {
    return "<FONT SIZE=\"2\">" + html + "</FONT>";
}

// A level marker line ("@3<BR>"): its level, or -1 for any other line.
int MarkerLevel(std::string_view line) {
    if (line.size() < 2 || line[0] != '@' || line[1] < '0' || line[1] > '9') return -1;
    int level = 0;
    std::size_t i = 1;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9')
        level = level * 10 + line[i++] - '0';
    return level;
}

}  // namespace

PageSizes ExpertPageSizes(std::size_t field_count) {
    const int k = static_cast<int>(field_count) + 1;
    return {20 + 34 * k, 23 + 34 * k};
}

PageRows ExpertPageRows(bool landscape) {
    return landscape ? PageRows{24, 28} : PageRows{40, 45};
}

PageSizes PageSizesForRows(const std::vector<std::string>& lines, PageRows rows) {
    // Lines per level as the report writes them: the header and marker lines are not
    // written, lines before the first marker belong to the report head.
    std::array<int, 16> count{};
    int level = 0;
    for (const std::string& line : lines) {
        if (const int marker = MarkerLevel(line); marker >= 0) {
            level = std::min(marker, 15);
            continue;
        }
        if (line.rfind("^^", 0) == 0) continue;
        ++count[static_cast<std::size_t>(level)];
    }
    const int record = std::max(count[3], 1);
    const int heading = count[1];
    // A break is made once a record brings the page's count to the page size; the break
    // marker is counted with the footer.
    const int footer = count[14] + 1;
    return {footer + heading + record * std::max(rows.later, 1),
            count[0] + heading + record * std::max(rows.first, 1)};
}

std::string EscapeTemplateText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '@':
                out += "&#64;";
                break;
            case '^':
                out += "&#94;";
                break;
            case '?':
                out += "&#63;";
                break;
            case '\r':
            case '\n':
                out += ' ';
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string CheckFormatName(std::string_view name) {
    if (name.find_first_not_of(' ') == std::string_view::npos) return "the format name is empty";
    // The loader reads the name in the header as blanks, digits and characters above "?".
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (!(c == ' ' || (c >= '0' && c <= '9') || u > '?') || c == '^' || c == '@') {
            return "the format name \"" + std::string(name) +
                   "\" may hold only letters, digits, blanks and \"_\"";
        }
    }
    return {};
}

std::string CheckFieldName(std::string_view name) {
    if (name.find_first_not_of(' ') == std::string_view::npos) return "a field name is empty";
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '>' || c == '@' || c == '^' || c == '?' || c == '=' || u < 0x20) {
            return "the field name \"" + std::string(name) +
                   "\" holds a character a template cannot name (\">\", \"@\", \"^\", \"?\", "
                   "\"=\" or a control character)";
        }
    }
    if (name.front() == '&') {
        return "the field name \"" + std::string(name) + "\" begins with \"&\"";
    }
    return {};
}

std::vector<std::string> ExpertFormatLines(const ExpertOptions& options,
                                           const std::vector<ExpertField>& fields) {
    std::vector<std::string> l = {
        "<HTML>",
        "^^" + options.format_name + "<BR>",
        "@0<BR>",
        "<BODY BGCOLOR=\"WHITE\">",
        "<CENTER><H2>" + EscapeTemplateText(options.title) + "</H2></CENTER>",
        "@1<BR>",
        "<TABLE WIDTH=\"100%\" BORDER=\"0\">",
        "<TR>",
    };
    if (options.date_time) {
        l.push_back("  <TD ALIGN=\"LEFT\">" + Small("Printed at " + NamedSlot("DATETIME", 20)) +
                    "</TD>");
    }
    if (options.page_number) {
        l.push_back("  <TD ALIGN=\"RIGHT\">" + Small("Page No " + NamedSlot("PAGENO", 9)) +
                    "</TD>");
    }
    l.insert(l.end(), {"</TR>", "</TABLE>", "<P>", "<CENTER>",
                       "<TABLE BORDER=\"1\" CELLSPACING=\"0\" CELLPADDING=\"1\" "
                       "BORDERCOLORLIGHT=\"Black\" BORDERCOLORDARK=\"Black\">",
                       "<TR>"});
    for (const ExpertField& f : fields) {
        l.push_back(std::string(f.number ? "  <TH ALIGN=\"RIGHT\">" : "  <TH ALIGN=\"LEFT\">") +
                    Small(EscapeTemplateText(f.label)) + "</TH>");
    }
    l.insert(l.end(), {"</TR>", " ", "@3<BR>", "<TR>"});
    for (const ExpertField& f : fields) {
        l.push_back(std::string(f.number ? "  <TD ALIGN=\"RIGHT\">" : "  <TD>") +
                    Small(NamedSlot(f.name, f.width, f.number ? f.decimals : 0)) + "</TD>");
    }
    l.insert(l.end(), {"</TR>", " ", "@14<BR>", "</TABLE>", "</CENTER>", " ", "@15<BR>", "</BODY>",
                       "</HTML>"});
    return l;
}

std::string WriteFormatFile(const std::filesystem::path& path,
                            const std::vector<std::string>& lines) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(path, ec)) {
        fs::path backup = path;
        backup += ".bak";
        fs::copy_file(path, backup, fs::copy_options::overwrite_existing, ec);
        if (ec)
            return "cannot keep " + path.string() + " as " + backup.string() + ": " + ec.message();
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return "cannot write " + path.string();
    for (const std::string& line : lines) out << line << "\r\n";
    out.flush();
    if (!out) return "cannot write " + path.string();
    return {};
}

std::vector<std::string> ExpertRunCode(std::string_view component) {
    const std::string n(component);
    return {"  if (" + n + ".ExecAndLoad())", "  {", "    " + n + ".ViewerExt()->SetVisible(true);",
            "  }"};
}

std::vector<std::string> ExpertNextBody(std::string_view component, std::string_view data_set) {
    const std::string n(component), d(data_set);
    return {"  if (" + n + ".BeginOfReport())", "    " + d + ".First();",
            "  else " + d + ".Next();", "  PNext = !" + d + ".Eof();"};
}

std::vector<std::string> ExpertDetailBody(std::string_view data_set,
                                          const std::vector<ExpertField>& fields) {
    const std::string d(data_set);
    std::vector<std::string> lines = {"  {"};
    for (const ExpertField& f : fields) {
        lines.push_back("    Sender.FieldByName(" + Literal(f.name) + ").SetAsString(" + d +
                        ".FieldByName(" + Literal(f.name) + ").AsString());");
    }
    lines.push_back("  }");
    return lines;
}

std::string Literal(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

}  // namespace quillon::design
