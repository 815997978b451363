#include "html/view/print_source.h"

#include <fstream>
#include <ios>
#include <iterator>

namespace quillon {

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::ios_base::failure("cannot open " + path);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (in.bad()) throw std::ios_base::failure("cannot read " + path);
    return bytes;
}

std::string ReadWholeStream(std::istream& in) {
    in.clear();
    in.seekg(0);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (in.bad()) throw std::ios_base::failure("cannot read the stream");
    return bytes;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\r';
    }
    return text;
}

}  // namespace quillon
