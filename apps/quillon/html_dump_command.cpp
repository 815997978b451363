// quillon html-dump FILE: parses an HTML (or, with --text, a plain-text) document and
// prints the document model as a section list. Exit codes: 0 printed, 1 the file is
// missing or cannot be read, 64 usage error.

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "apps/quillon/command_registry.h"
#include "html/dump/section_dump.h"
#include "html/layout/section_list.h"
#include "html/tree/html_parser.h"

namespace quillon::app {

namespace {

int RunHtmlDump(const std::string& path, bool plain_text) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        std::cerr << "quillon html-dump: " << path << ": "
                  << (std::filesystem::exists(path, ec) ? "not a file" : "no such file") << '\n';
        return 1;
    }
    TSectionList doc;
    TNameList names;
    try {
        const THtmlParseResult r =
            plain_text ? HtmlParseTextFile(doc, names, path) : HtmlParseFile(doc, names, path);
        if (!r.Title.empty()) std::cout << "title \"" << r.Title << "\"\n";
        if (!r.Base.empty()) std::cout << "base \"" << r.Base << "\"\n";
        if (!r.BaseTarget.empty()) std::cout << "base-target \"" << r.BaseTarget << "\"\n";
        for (const TNameEntry& n : names) std::cout << "name \"" << n.Name << "\"\n";
    } catch (const std::exception& e) {
        std::cerr << "quillon html-dump: " << path << ": cannot be read: " << e.what() << '\n';
        return 1;
    }
    std::cout << DumpDocument(doc);
    return 0;
}

const CommandRegistrar kRegistrar([](CLI::App& app) {
    auto* cmd = app.add_subcommand("html-dump", "Parse an HTML document and print its sections");
    auto path = std::make_shared<std::string>();
    auto plain = std::make_shared<bool>(false);
    cmd->add_option("FILE", *path, "HTML document")->required();
    cmd->add_flag("--text", *plain, "Read FILE as plain text (default: as HTML)");
    cmd->footer(
        "Exit codes:\n"
        "  0    the document model was printed\n"
        "  1    the file is missing or cannot be read\n"
        "  64   usage error (no file, unknown option)");
    cmd->callback([path, plain] { SetExitCode(RunHtmlDump(*path, *plain)); });
});

}  // namespace

}  // namespace quillon::app
