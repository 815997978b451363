#pragma once
// quillon run --split COLUMN: one report per value of the outermost group column, each in
// a file named by the --out pattern with {COLUMN} standing for the value, and a line of
// JSON per written file on standard output. --shard K/N takes the groups whose value hashes
// to K modulo N, so that N runs side by side write every group exactly once.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace quillon::app {

// An --out pattern cut at its placeholder.
struct BurstPattern {
    std::string before;
    std::string after;
};

// The pattern of --out for --split column: exactly one {column} (the column's name in any
// case). Nothing, with error set, when it has none, another name in braces, or more.
std::optional<BurstPattern> ParseBurstPattern(std::string_view out, std::string_view column,
                                              std::string& error);

// A group value made fit for a file name: path separators, control characters, '%' and a
// leading dot are written as %XX (so different values never give the same name), an empty
// value is "%20" (a blank), and a very long value is cut (at a character's start) so the
// name stays within what file systems take.
std::string SafeFileNamePart(std::string_view value);

// The file names of a split run, one per group; a name that was given already (two values
// cut to the same long name) gets "-2", "-3", ... before its extension.
class BurstNames {
  public:
    explicit BurstNames(BurstPattern pattern) : pattern_(std::move(pattern)) {}
    std::string For(std::string_view value);

  private:
    BurstPattern pattern_;
    std::unordered_set<std::string> used_;
};

// --shard K/N: 0 <= K < N.
struct Shard {
    std::uint64_t index = 0;
    std::uint64_t count = 1;
};
std::optional<Shard> ParseShard(std::string_view text, std::string& error);

// The group's shard: FNV-1a (64 bit) of the value's bytes, modulo the shard count. The
// same on every machine and in every run.
bool InShard(std::string_view value, const Shard& shard);

// {"file":...,"group":...,"records":N,"pages":N}
std::string ManifestLine(std::string_view file, std::string_view group, std::size_t records,
                         int pages);

}  // namespace quillon::app
