#include "html/view/url_expand.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/core/text_encoding.h"

namespace fs = std::filesystem;

namespace quillon {

namespace {

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && text::EqualsIgnoreCase(s.substr(0, prefix.size()), prefix);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string PercentDecode(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            const int hi = HexValue(s[i + 1]);
            const int lo = HexValue(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

std::string Normal(const fs::path& p) {
    std::error_code ec;
    fs::path full = p.is_absolute() ? p : fs::absolute(p, ec);
    if (ec) full = p;
    return full.lexically_normal().string();
}

}  // namespace

std::string NormalServerRoot(std::string_view root) {
    std::string r(text::Trim(root));
    while (r.size() > 1 && (r.back() == '/' || r.back() == '\\')) r.pop_back();
    return r;
}

std::string UrlToLocalPath(std::string_view name, std::string_view server_root) {
    std::string_view n = text::Trim(name);
    if (StartsWithNoCase(n, "file://")) {
        n.remove_prefix(7);
        if (StartsWithNoCase(n, "localhost/")) n.remove_prefix(9);
        std::string path = PercentDecode(n);
        if (path.empty() || path.front() != '/') path.insert(path.begin(), '/');
        return path;
    }
    std::string path(n);
    std::replace(path.begin(), path.end(), '\\', '/');
    const std::string root = NormalServerRoot(server_root);
    if (!root.empty() && !path.empty() && path.front() == '/') path = root + path;
    return path;
}

std::string ExpandViewerFilename(std::string_view name, const ExpandContext& ctx) {
    const std::string local = UrlToLocalPath(name, ctx.ServerRoot);
    if (local.empty()) return local;
    if (local.front() == '/') return Normal(local);
    std::string dir;
    if (!ctx.Base.empty() && !text::EqualsIgnoreCase(text::Trim(ctx.Base), "DosPath")) {
        dir = UrlToLocalPath(ctx.Base, ctx.ServerRoot);
        // A base naming a document resolves against that document's folder.
        const auto slash = dir.rfind('/');
        dir = slash == std::string::npos ? dir + "/" : dir.substr(0, slash + 1);
    } else if (!ctx.CurrentFile.empty()) {
        dir = fs::path(ctx.CurrentFile).parent_path().string();
        if (!dir.empty()) dir += '/';
    }
    return Normal(fs::path(dir + local));
}

bool SameFile(std::string_view a, std::string_view b) {
    if (a.empty() || b.empty()) return false;
    const auto canonical = [](std::string_view s) {
        std::error_code ec;
        fs::path c = fs::weakly_canonical(fs::path(s), ec);
        return ec ? Normal(fs::path(s)) : c.string();
    };
    return canonical(a) == canonical(b);
}

FileAndDest SplitDestination(std::string_view name) {
    const auto hash = name.find('#');
    if (hash == std::string_view::npos) return {std::string(name), {}};
    return {std::string(name.substr(0, hash)), std::string(name.substr(hash + 1))};
}

TLinkedFileKind LinkedFileKind(std::string_view path) {
    const std::string ext =
        text::AsciiUpperCase(fs::path(std::string(path)).extension().string().substr(0, 5));
    if (ext == ".HTM" || ext == ".HTML") return TLinkedFileKind::Html;
    if (ext == ".BMP" || ext == ".GIF" || ext == ".JPG" || ext == ".JPEG" || ext == ".PNG") {
        return TLinkedFileKind::Image;
    }
    return TLinkedFileKind::Other;
}

}  // namespace quillon
