#pragma once
// Seekable byte streams: what a report run writes into when the application hands it a
// stream, and what the second parse reads and rewrites in place.
//
// TStream is the abstract stream (read, write, seek, size, truncate); TMemoryStream keeps
// its bytes in a string, TFileStream works on a file (a named one or an anonymous
// temporary file). Every operation reports failure through its result; none throws.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace quillon {

class TStream {
  public:
    virtual ~TStream() = default;

    // Reads up to n bytes at the position and advances it; returns the number read
    // (0 at the end or on error).
    virtual std::size_t Read(char* buffer, std::size_t n) = 0;
    // Writes all of data at the position and advances it; false when not every byte was
    // written.
    virtual bool Write(std::string_view data) = 0;
    virtual bool Seek(std::uint64_t position) = 0;
    virtual std::uint64_t Position() const = 0;
    virtual std::uint64_t Size() const = 0;
    // Cuts the stream to size bytes (the position is kept, but not beyond the end).
    virtual bool Truncate(std::uint64_t size) = 0;
};

class TMemoryStream : public TStream {
  public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string data) : data_(std::move(data)) {}

    std::size_t Read(char* buffer, std::size_t n) override;
    bool Write(std::string_view data) override;
    bool Seek(std::uint64_t position) override;
    std::uint64_t Position() const override { return position_; }
    std::uint64_t Size() const override { return data_.size(); }
    bool Truncate(std::uint64_t size) override;

    const std::string& Data() const { return data_; }

  private:
    std::string data_;
    std::size_t position_ = 0;
};

class TFileStream : public TStream {
  public:
    enum class Mode {
        kRead,       // existing file, read only
        kReadWrite,  // existing file, read and write
        kCreate,     // created or emptied, read and write
    };

    // Opens path; IsOpen() tells whether that succeeded.
    TFileStream(const std::filesystem::path& path, Mode mode);
    // An anonymous temporary file, removed when closed.
    static std::unique_ptr<TFileStream> Temporary();

    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;
    ~TFileStream() override;

    bool IsOpen() const { return file_ != nullptr; }
    std::size_t Read(char* buffer, std::size_t n) override;
    bool Write(std::string_view data) override;
    bool Seek(std::uint64_t position) override;
    std::uint64_t Position() const override;
    std::uint64_t Size() const override;
    bool Truncate(std::uint64_t size) override;
    // Writes buffered data to the file; false on error.
    bool Flush();
    // Flushes and closes; false when the flush or close failed.
    bool Close();

  private:
    explicit TFileStream(std::FILE* file) : file_(file) {}
    std::FILE* file_ = nullptr;
};

}  // namespace quillon
