#include "html/parse/html_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ios>

namespace quillon {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

class FileSource final : public ByteSource {
  public:
    explicit FileSource(const std::string& path)
        : path_(path), file_(std::fopen(path.c_str(), "rb")) {
        if (!file_) {
            throw std::ios_base::failure("Cannot open " + path + ": " + std::strerror(errno));
        }
    }
    LoadStyleType Kind() const override { return LoadStyleType::lsFile; }
    std::size_t Read(char* dst, std::size_t max) override {
        const std::size_t n = std::fread(dst, 1, max, file_.get());
        if (n < max && std::ferror(file_.get())) {
            throw std::ios_base::failure("Cannot read " + path_);
        }
        return n;
    }

  private:
    std::string path_;
    std::unique_ptr<std::FILE, FileCloser> file_;
};

class BufferSource final : public ByteSource {
  public:
    explicit BufferSource(std::string_view data) : data_(data) {}
    LoadStyleType Kind() const override { return LoadStyleType::lsBuffer; }
    std::size_t Read(char* dst, std::size_t max) override {
        const std::size_t n = std::min(max, data_.size() - pos_);
        std::memcpy(dst, data_.data() + pos_, n);
        pos_ += n;
        return n;
    }

  private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

class StringsSource final : public ByteSource {
  public:
    explicit StringsSource(const std::vector<std::string>& lines) : lines_(lines) {}
    LoadStyleType Kind() const override { return LoadStyleType::lsStrings; }
    std::size_t Read(char* dst, std::size_t max) override {
        std::size_t n = 0;
        while (n < max && line_ < lines_.size()) {
            const std::string& l = lines_[line_];
            if (pos_ < l.size()) {
                const std::size_t k = std::min(max - n, l.size() - pos_);
                std::memcpy(dst + n, l.data() + pos_, k);
                n += k;
                pos_ += k;
            } else {
                dst[n++] = '\r';  // every line ends in a carriage return
                ++line_;
                pos_ = 0;
            }
        }
        return n;
    }

  private:
    const std::vector<std::string>& lines_;
    std::size_t line_ = 0;
    std::size_t pos_ = 0;
};

class StreamSource final : public ByteSource {
  public:
    StreamSource(std::istream& in, std::size_t chunk)
        : in_(in), chunk_(std::max<std::size_t>(chunk, 1)) {
        in_.clear();
        in_.seekg(0);
    }
    LoadStyleType Kind() const override { return LoadStyleType::lsStream; }
    std::size_t Read(char* dst, std::size_t max) override {
        if (!in_.good()) return 0;
        in_.read(dst, static_cast<std::streamsize>(std::min(max, chunk_)));
        if (in_.bad()) throw std::ios_base::failure("Cannot read the HTML stream");
        return static_cast<std::size_t>(in_.gcount());
    }

  private:
    std::istream& in_;
    std::size_t chunk_;
};

}  // namespace

std::unique_ptr<ByteSource> MakeFileSource(const std::string& path) {
    return std::make_unique<FileSource>(path);
}
std::unique_ptr<ByteSource> MakeBufferSource(std::string_view data) {
    return std::make_unique<BufferSource>(data);
}
std::unique_ptr<ByteSource> MakeStringsSource(const std::vector<std::string>& lines) {
    return std::make_unique<StringsSource>(lines);
}
std::unique_ptr<ByteSource> MakeStreamSource(std::istream& in, std::size_t chunk) {
    return std::make_unique<StreamSource>(in, chunk);
}

}  // namespace quillon
