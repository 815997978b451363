#pragma once
// Reads the navigation of a PDF file written by our PDF writer back from its bytes: the
// pages in order, each page's link annotations (URI or destination) and the outline tree.
// The writer keeps every dictionary outside compressed streams, so its objects are found
// as text between "N 0 obj" and "endobj". Broken links of the outline (a wrong parent,
// previous entry, last child or count) are reported in Problems.

#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace quillon::testing {

struct PdfLinkAnnot {
    int page = 0;                   // 1-based sheet
    double rect[4] = {0, 0, 0, 0};  // left, bottom, right, top in points
    std::string uri;                // a URI action's address, else empty
    int dest_page = 0;              // a jump's sheet (1-based), 0 when none
    double dest_y = 0;
};

struct PdfOutlineEntry {
    int depth = 0;  // 0 at the top
    std::string title;
    int page = 0;  // 1-based
    double y = 0;
    int count = 0;  // entries below it
};

class PdfStructure {
  public:
    explicit PdfStructure(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), {});
        const std::string mark = " 0 obj\n";
        for (std::size_t at = bytes_.find(mark); at != std::string::npos;
             at = bytes_.find(mark, at + 1)) {
            std::size_t digits = at;
            while (digits > 0 && std::isdigit(static_cast<unsigned char>(bytes_[digits - 1]))) {
                --digits;
            }
            if (digits == at || (digits > 0 && bytes_[digits - 1] != '\n')) continue;
            const std::size_t start = at + mark.size();
            const std::size_t end = bytes_.find("endobj", start);
            if (end == std::string::npos) break;
            objects_[std::stoi(bytes_.substr(digits, at - digits))] =
                bytes_.substr(start, end - start);
        }
        for (const auto& [n, text] : objects_) {
            if (text.find("/Type /Catalog") != std::string::npos) catalog_ = n;
            if (text.find("/Type /Pages") != std::string::npos) {
                for (const int kid : Refs(Between(text, "/Kids [", "]"))) pages_.push_back(kid);
            }
        }
    }

    int PageCount() const { return static_cast<int>(pages_.size()); }
    const std::string& Catalog() const { return Object(catalog_); }
    const std::string& Object(int n) const {
        static const std::string none;
        const auto it = objects_.find(n);
        return it == objects_.end() ? none : it->second;
    }

    // The link annotations of every page, page by page.
    std::vector<PdfLinkAnnot> Links() const {
        std::vector<PdfLinkAnnot> out;
        for (std::size_t p = 0; p < pages_.size(); ++p) {
            for (const int a : Refs(Between(Object(pages_[p]), "/Annots [", "]"))) {
                const std::string& d = Object(a);
                if (d.find("/Subtype /Link") == std::string::npos) continue;
                PdfLinkAnnot link;
                link.page = static_cast<int>(p) + 1;
                std::istringstream rect(Between(d, "/Rect [", "]"));
                for (double& v : link.rect) rect >> v;
                std::smatch m;
                static const std::regex uri(R"(/URI \(((?:[^\\)]|\\.)*)\))");
                if (std::regex_search(d, m, uri)) link.uri = Unescape(m[1]);
                if (const auto dest = Destination(d)) {
                    link.dest_page = dest->first;
                    link.dest_y = dest->second;
                }
                out.push_back(link);
            }
        }
        return out;
    }

    // The outline's entries in order (depth first), checking its links on the way.
    std::vector<PdfOutlineEntry> Outline() {
        std::vector<PdfOutlineEntry> out;
        const auto root = Ref(Catalog(), "/Outlines");
        if (!root) return out;
        const int total = Walk(*root, 0, out);
        if (Count(Object(*root)) != total) Problems.push_back("the root's count");
        return out;
    }

    std::vector<std::string> Problems;

  private:
    static std::string Between(const std::string& s, const std::string& open,
                               const std::string& close) {
        const std::size_t a = s.find(open);
        if (a == std::string::npos) return {};
        const std::size_t b = s.find(close, a + open.size());
        return s.substr(a + open.size(), b - a - open.size());
    }
    static std::vector<int> Refs(const std::string& s) {
        std::vector<int> out;
        static const std::regex ref(R"((\d+) 0 R)");
        for (auto it = std::sregex_iterator(s.begin(), s.end(), ref); it != std::sregex_iterator();
             ++it) {
            out.push_back(std::stoi((*it)[1]));
        }
        return out;
    }
    static std::optional<int> Ref(const std::string& dict, const std::string& key) {
        std::smatch m;
        const std::regex r(key + R"( (\d+) 0 R)");
        if (!std::regex_search(dict, m, r)) return std::nullopt;
        return std::stoi(m[1]);
    }
    static int Count(const std::string& dict) {
        std::smatch m;
        static const std::regex r(R"(/Count (-?\d+))");
        return std::regex_search(dict, m, r) ? std::stoi(m[1]) : 0;
    }
    static std::string Unescape(const std::string& s) {
        std::string out;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '\\' && i + 1 < s.size()) ++i;
            out += s[i];
        }
        return out;
    }
    // A <FEFF...> UTF-16BE text string as UTF-8.
    static std::string Utf16Text(const std::string& hex) {
        std::vector<std::uint32_t> units;
        for (std::size_t i = 4; i + 4 <= hex.size(); i += 4) {
            units.push_back(static_cast<std::uint32_t>(std::stoul(hex.substr(i, 4), nullptr, 16)));
        }
        std::string out;
        for (std::size_t i = 0; i < units.size(); ++i) {
            std::uint32_t c = units[i];
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size()) {
                c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
            }
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if (c < 0x800) {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            } else if (c < 0x10000) {
                out += static_cast<char>(0xE0 | (c >> 12));
                out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                out += static_cast<char>(0xF0 | (c >> 18));
                out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return out;
    }
    // "/Dest [P 0 R /XYZ null y null]": the 1-based sheet and y.
    std::optional<std::pair<int, double>> Destination(const std::string& dict) const {
        std::smatch m;
        static const std::regex dest(R"(/Dest \[(\d+) 0 R /XYZ null ([-0-9.]+) null\])");
        if (!std::regex_search(dict, m, dest)) return std::nullopt;
        const int object = std::stoi(m[1]);
        for (std::size_t p = 0; p < pages_.size(); ++p) {
            if (pages_[p] == object) return std::pair{static_cast<int>(p) + 1, std::stod(m[2])};
        }
        return std::pair{0, std::stod(m[2])};
    }
    // Appends the children of `parent` (and theirs); returns how many entries lie below it.
    int Walk(int parent, int depth, std::vector<PdfOutlineEntry>& out) {
        const std::string& p = Object(parent);
        int total = 0;
        std::optional<int> prev;
        std::optional<int> child = Ref(p, "/First");
        std::optional<int> last;
        for (int guard = 0; child && guard < 100000; ++guard) {
            const std::string& d = Object(*child);
            if (Ref(d, "/Parent") != parent) Problems.push_back("parent of " + d);
            if (Ref(d, "/Prev") != prev) Problems.push_back("previous entry of " + d);
            PdfOutlineEntry e;
            e.depth = depth;
            std::smatch m;
            static const std::regex title(R"(/Title <([0-9A-Fa-f]+)>)");
            if (std::regex_search(d, m, title)) e.title = Utf16Text(m[1]);
            if (const auto dest = Destination(d)) {
                e.page = dest->first;
                e.y = dest->second;
            }
            e.count = Count(d);
            const std::size_t at = out.size();
            out.push_back(e);
            const int below = Walk(*child, depth + 1, out);
            if (below != out[at].count) Problems.push_back("count of " + d);
            total += 1 + below;
            last = child;
            prev = child;
            child = Ref(d, "/Next");
        }
        if (Ref(p, "/Last") != last) Problems.push_back("last child of " + p);
        return total;
    }

    std::string bytes_;
    std::map<int, std::string> objects_;
    int catalog_ = 0;
    std::vector<int> pages_;
};

}  // namespace quillon::testing
