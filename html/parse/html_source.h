#pragma once
// Where the HTML tokenizer reads its bytes from: a file, a memory buffer, a list of lines
// or a stream. Each source hands out its bytes in chunks; end of input is a read of 0.

#include <cstddef>
#include <cstdio>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The kinds of source, in the order the tokenizer has always numbered them.
enum class LoadStyleType { lsFile, lsBuffer, lsStrings, lsStream };

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual LoadStyleType Kind() const = 0;
    // Copies up to `max` bytes to `dst`; returns the count, 0 at the end of input.
    // Read errors are raised as std::ios_base::failure.
    virtual std::size_t Read(char* dst, std::size_t max) = 0;
};

// Opens `path` for reading; a file that cannot be opened raises std::ios_base::failure.
std::unique_ptr<ByteSource> MakeFileSource(const std::string& path);
// The bytes of `data`, which must outlive the source.
std::unique_ptr<ByteSource> MakeBufferSource(std::string_view data);
// The lines of `lines`, each followed by a carriage return; `lines` must outlive the source.
std::unique_ptr<ByteSource> MakeStringsSource(const std::vector<std::string>& lines);
// The stream from its start (it is rewound first), read `chunk` bytes at a time.
std::unique_ptr<ByteSource> MakeStreamSource(std::istream& in, std::size_t chunk = 65536);

}  // namespace quillon
