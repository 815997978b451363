#pragma once
// Joins the text segments and field values of a level into output lines.
//
// Join rule: a segment is appended to the pending line unless the pending line already
// holds a CR; then the pending line is finished and the segment starts the next one. So
// every template line (ending with CR LF) becomes one output line, and a field value that
// holds a CR ends its output line right after the value. A finished line that contains
// the line-suppression character (code 27) is dropped.
//
// The pending line lives in a buffer owned by the caller. A finished line goes into the list
// with the buffer's room, and the buffer takes the room of a recycled node when the list
// has one.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/eil_plist.h"

namespace quillon {

class LineAssembler {
  public:
    static constexpr char kSkipLine = '\x1b';

    LineAssembler(EilPlist& list, std::uint8_t level, std::string& buffer)
        : list_(list), level_(level), pending_(buffer) {
        pending_.clear();
    }

    void AddSegment(std::string_view segment) {
        StartSegment();
        pending_.append(segment);
        EndSegment(segment.size());
    }

    // A segment known to hold no CR and no line-suppression character.
    void AddPlainSegment(std::string_view segment) {
        StartSegment();
        pending_.append(segment);
    }

    // Appending a segment directly into the pending line: BeginSegment() gives the line to
    // append to, EndSegment() must follow with the number of bytes appended.
    std::string& BeginSegment() {
        StartSegment();
        return pending_;
    }
    void EndSegment(std::size_t appended) {
        const char* p = pending_.data() + pending_.size() - appended;
        if (!HoldsControl(p, appended)) return;
        for (const char* const end = p + appended; p != end; ++p) {
            if (*p == '\r') has_cr_ = true;
            if (*p == kSkipLine) has_skip_ = true;
        }
    }

    // Adds the last pending line, if any.
    void Finish() {
        if (!pending_.empty()) Flush();
    }

  private:
    // Both marks are control characters: most segments hold none and are passed over
    // eight bytes at a time (the last word overlapping the one before).
    static bool HoldsControl(const char* p, std::size_t n) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ull;
        const auto control = [](std::uint64_t word) {
            return ((word - kOnes * 0x20) & ~word & (kOnes * 0x80)) != 0;
        };
        std::uint64_t word;
        if (n >= 8) {
            for (std::size_t i = 0; i + 8 <= n; i += 8) {
                std::memcpy(&word, p + i, 8);
                if (control(word)) return true;
            }
            std::memcpy(&word, p + n - 8, 8);
            return control(word);
        }
        for (std::size_t i = 0; i < n; ++i) {
            if (static_cast<unsigned char>(p[i]) < 0x20) return true;
        }
        return false;
    }
    void StartSegment() {
        if (has_cr_) Flush();
    }
    void Flush() {
        if (has_skip_) {
            pending_.clear();
        } else {
            list_.AddTaken(level_, 0, pending_);  // the buffer's room goes with the line
        }
        has_cr_ = false;
        has_skip_ = false;
    }

    EilPlist& list_;
    std::uint8_t level_;
    std::string& pending_;
    bool has_cr_ = false;
    bool has_skip_ = false;
};

}  // namespace quillon
