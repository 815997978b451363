#include "engine/second_parse.h"

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/field_value.h"

namespace quillon {

namespace {

// Receives the transformed output in order: unchanged bytes and replacements. Replacements
// of the same length are written in place; from the first replacement of another length
// on, the rest of the output goes to a temporary file that is copied back at the end.
class OutputPatcher {
  public:
    explicit OutputPatcher(TStream& output) : output_(output) {}

    bool Pass(std::string_view bytes) {
        if (!rewriting_ || bytes.empty()) return ok_;
        ok_ = ok_ && temp_->Write(bytes);
        return ok_;
    }

    bool Replace(std::uint64_t offset, std::string_view old_bytes, std::string_view new_bytes) {
        if (!ok_) return false;
        if (!rewriting_ && new_bytes.size() == old_bytes.size()) {
            if (new_bytes == old_bytes) return true;
            ok_ = output_.Seek(offset) && output_.Write(new_bytes);
            return ok_;
        }
        if (!rewriting_) {
            temp_ = TFileStream::Temporary();
            if (temp_ == nullptr) return ok_ = false;
            rewriting_ = true;
            rewrite_from_ = offset;
        }
        ok_ = temp_->Write(new_bytes);
        return ok_;
    }

    // Copies the rewritten tail back and cuts the output to its new length.
    bool Finish(std::size_t chunk_size) {
        if (!ok_ || !rewriting_) return ok_;
        const std::uint64_t length = temp_->Size();
        if (!temp_->Seek(0) || !output_.Seek(rewrite_from_)) return false;
        std::vector<char> buffer(chunk_size);
        std::uint64_t copied = 0;
        while (copied < length) {
            const std::size_t n = temp_->Read(buffer.data(), buffer.size());
            if (n == 0) return false;
            if (!output_.Write(std::string_view(buffer.data(), n))) return false;
            copied += n;
        }
        return output_.Truncate(rewrite_from_ + length);
    }

  private:
    TStream& output_;
    std::unique_ptr<TFileStream> temp_;
    bool rewriting_ = false;
    bool ok_ = true;
    std::uint64_t rewrite_from_ = 0;
};

// A byte-by-byte scanner, so that nothing depends on where the chunks end.
class Scanner {
  public:
    Scanner(const SecondParseMarker& marker, const SecondParseLookup& lookup,
            OutputPatcher& patcher)
        : m_(marker),
          lookup_(lookup),
          out_(patcher),
          fail_(marker.marker.size(), 0),
          marker_head_(marker.marker.substr(0, marker.marker.size() - 1)) {
        // Failure function of the marker for a search that resumes inside a partial match.
        const std::string& p = m_.marker;
        for (std::size_t i = 1, k = 0; i < p.size(); ++i) {
            while (k > 0 && p[i] != p[k]) k = fail_[k - 1];
            if (p[i] == p[k]) ++k;
            fail_[i] = k;
        }
    }

    void Feed(std::string_view chunk, std::uint64_t chunk_offset) {
        for (std::size_t i = 0; i < chunk.size(); ++i) Step(chunk[i], chunk_offset + i);
        FlushPass();
    }

    void End() {
        if (state_ == State::kRun) FinishRun();
        if (state_ == State::kSearch && matched_ > 0) {
            pass_.append(m_.marker, 0, matched_);
            matched_ = 0;
        }
        FlushPass();
    }

    // False once handing on the output failed.
    bool Ok() const { return ok_; }

  private:
    enum class State { kSearch, kAfterMarker, kRun };

    void Step(char c, std::uint64_t offset) {
        switch (state_) {
            case State::kSearch:
                return Search(c, offset);
            case State::kAfterMarker:
                return AfterMarker(c, offset);
            case State::kRun:
                if (c == '?' || c == '^') {
                    run_.push_back(c);
                    return;
                }
                FinishRun();
                return Search(c, offset);
        }
    }

    void Search(char c, std::uint64_t offset) {
        const std::string& p = m_.marker;
        while (matched_ > 0 && c != p[matched_]) {
            // The bytes that can no longer start a marker are released in order.
            const std::size_t keep = fail_[matched_ - 1];
            pass_.append(p, 0, matched_ - keep);
            matched_ = keep;
        }
        if (c != p[matched_]) {
            pass_.push_back(c);
            return;
        }
        if (++matched_ < p.size()) return;
        matched_ = 0;
        pass_.append(marker_head_);
        FlushPass();
        ok_ = out_.Replace(offset, "&", "\\") && ok_;
        state_ = State::kAfterMarker;
        name_.clear();
        name_.push_back('&');
        name_done_ = false;
        name_too_long_ = false;
        after_marker_ = 0;
    }

    void AfterMarker(char c, std::uint64_t offset) {
        if (c == '?') {
            run_start_ = offset;
            run_.assign(1, c);
            state_ = State::kRun;
            return;
        }
        pass_.push_back(c);
        if (name_done_) return;
        ++after_marker_;
        if (c == m_.name_end && after_marker_ >= 2) {
            name_done_ = true;
        } else if (name_.size() <= kMaxSecondParseName) {
            name_.push_back(c);
        } else {
            name_too_long_ = true;
        }
    }

    void FinishRun() {
        state_ = State::kSearch;
        if (!name_done_ || name_too_long_) {
            pass_.append(run_);
            return;
        }
        FlushPass();
        text_.clear();
        AppendPadCutTo(text_, lookup_ ? lookup_(name_) : std::string(), run_.size());
        ok_ = out_.Replace(run_start_, run_, text_) && ok_;
    }

    void AppendPadCutTo(std::string& out, std::string_view value, std::size_t width) {
        const std::string_view kept = value.substr(0, text::PrefixBytes(value, width, m_.encoding));
        out.append(kept);
        const std::size_t chars = text::CharCount(kept, m_.encoding);
        if (chars < width) out.append(width - chars, ' ');
    }

    void FlushPass() {
        if (pass_.empty()) return;
        ok_ = out_.Pass(pass_) && ok_;
        pass_.clear();
    }

    const SecondParseMarker& m_;
    const SecondParseLookup& lookup_;
    OutputPatcher& out_;
    std::vector<std::size_t> fail_;
    const std::string marker_head_;  // the marker without its "&"

    State state_ = State::kSearch;
    std::size_t matched_ = 0;
    std::string pass_;  // unchanged bytes not yet handed on
    std::string name_;
    bool name_done_ = false;
    bool name_too_long_ = false;
    std::size_t after_marker_ = 0;
    std::uint64_t run_start_ = 0;
    std::string run_;
    std::string text_;
    bool ok_ = true;
};

}  // namespace

SecondParseMarker MakeSecondParseMarker(bool rtf, std::string_view rtf_tag,
                                        text::TextEncoding enc) {
    SecondParseMarker m;
    m.encoding = enc;
    if (rtf) {
        m.marker.append("{\\").append(rtf_tag).append(" &");
        m.name_end = '}';
    } else {
        m.marker.append("<").append(InvertedQuestionMark(enc)).append("&");
        m.name_end = '>';
    }
    return m;
}

bool RunSecondParse(TStream& output, const SecondParseMarker& marker,
                    const SecondParseLookup& lookup, std::size_t chunk_size) {
    if (marker.marker.empty()) return false;
    if (chunk_size == 0) chunk_size = kSecondParseChunk;
    OutputPatcher patcher(output);
    Scanner scanner(marker, lookup, patcher);
    std::vector<char> buffer(chunk_size);
    std::uint64_t offset = 0;
    const std::uint64_t size = output.Size();
    while (offset < size) {
        // Replacements written in place move the stream's position: seek before each read.
        if (!output.Seek(offset)) return false;
        const std::size_t n = output.Read(buffer.data(), buffer.size());
        if (n == 0) return false;
        scanner.Feed(std::string_view(buffer.data(), n), offset);
        if (!scanner.Ok()) return false;
        offset += n;
    }
    scanner.End();
    return scanner.Ok() && patcher.Finish(chunk_size);
}

}  // namespace quillon
