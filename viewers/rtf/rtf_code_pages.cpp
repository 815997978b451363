#include "viewers/rtf/rtf_code_pages.h"

#include <iconv.h>

#include <cerrno>
#include <string>

#include "platform/core/code_pages.h"

namespace quillon::rtf {

namespace {

bool IsDoubleBytePage(int number) {
    return number == 932 || number == 936 || number == 949 || number == 950 || number == 1361;
}

// Windows-1258 (Vietnamese) writes tone marks after their letters; the C library joins
// the pairs Unicode has a character for.
bool IsComposingPage(int number) {
    return number == 1258;
}

// The C library's name of a Windows code page number.
std::string IconvName(int number) {
    switch (number) {
        case 10000:
            return "MACINTOSH";
        case 10029:
            return "MAC-CENTRALEUROPE";
        case 10017:
            return "MACUKRAINIAN";
        case 10079:
            return "MAC-IS";
        default:
            return "CP" + std::to_string(number);  // 10007, Mac Cyrillic, is CP10007
    }
}

}  // namespace

// An iconv descriptor from a code page to UTF-32LE.
class RtfCodePage::Converter {
  public:
    explicit Converter(int number) : cd_(iconv_open("UTF-32LE", IconvName(number).c_str())) {}
    ~Converter() {
        if (Ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // The one character the bytes make; 0 when they make none or more than one. With
    // `incomplete` given, tells whether the bytes are the start of a longer sequence.
    char32_t Convert(const unsigned char* bytes, std::size_t size, bool* incomplete = nullptr) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        std::array<unsigned char, 8> out{};              // room for two characters
        char* in_ptr = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
        std::size_t in_left = size;
        char* out_ptr = reinterpret_cast<char*>(out.data());
        std::size_t out_left = out.size();
        const std::size_t done = iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left);
        const bool failed = done == static_cast<std::size_t>(-1);
        if (incomplete != nullptr) *incomplete = failed && errno == EINVAL;
        if (failed) return 0;
        iconv(cd_, nullptr, nullptr, &out_ptr, &out_left);  // what a stateful page still holds
        if (out.size() - out_left != 4) return 0;
        return static_cast<char32_t>(out[0]) | (static_cast<char32_t>(out[1]) << 8) |
               (static_cast<char32_t>(out[2]) << 16) | (static_cast<char32_t>(out[3]) << 24);
    }

  private:
    iconv_t cd_;
};

RtfCodePage::RtfCodePage(int number) : number_(number) {
    for (unsigned b = 0; b < 0x80; ++b) single_[b] = b;
}

RtfCodePage::~RtfCodePage() = default;

std::unique_ptr<RtfCodePage> RtfCodePage::Make(int number) {
    if (number <= 0) return nullptr;
    std::unique_ptr<RtfCodePage> page(new RtfCodePage(number));
    if (const text::CodePage* table = text::CodePage::Find(std::to_string(number))) {
        for (unsigned b = 0x80; b < 0x100; ++b) {
            page->single_[b] = table->Decode(static_cast<unsigned char>(b));
        }
        return page;
    }
    auto converter = std::make_unique<Converter>(number);
    if (!converter->Ok()) return nullptr;
    const bool double_byte = IsDoubleBytePage(number);
    for (unsigned b = 0x80; b < 0x100; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        bool incomplete = false;
        page->single_[b] = converter->Convert(&byte, 1, &incomplete);
        page->lead_[b] = double_byte && incomplete;
    }
    page->composes_ = IsComposingPage(number);
    if (double_byte || page->composes_) page->converter_ = std::move(converter);
    return page;
}

char32_t RtfCodePage::Compose(unsigned char base, unsigned char mark) {
    if (!composes_ || !converter_) return 0;
    const auto key = static_cast<std::uint16_t>((base << 8) | mark);
    const auto [it, added] = compositions_.try_emplace(key, 0);
    if (added) {
        const std::array<unsigned char, 2> pair{base, mark};
        it->second = converter_->Convert(pair.data(), pair.size());
    }
    return it->second;
}

char32_t RtfCodePage::DecodePair(unsigned char lead, unsigned char trail) {
    if (!lead_[lead] || !converter_) return 0;
    std::unique_ptr<Row>& row = rows_[lead];
    if (!row) {
        row = std::make_unique<Row>();
        for (unsigned t = 0; t < 0x100; ++t) {
            const std::array<unsigned char, 2> pair{lead, static_cast<unsigned char>(t)};
            (*row)[t] = converter_->Convert(pair.data(), pair.size());
        }
    }
    return (*row)[trail];
}

int RtfCodePage::OfCharset(int charset) {
    switch (charset) {
        case 128:
            return 932;  // Shift-JIS
        case 129:
            return 949;  // Hangul
        case 130:
            return 1361;  // Johab
        case 134:
            return 936;  // GB 2312
        case 136:
            return 950;  // Big5
        case 77:
            return kMacRoman;
        case 78:
            return 10001;  // Mac Japanese
        case 79:
            return 10003;  // Mac Korean
        case 80:
            return 10008;  // Mac Simplified Chinese
        case 81:
            return 10002;  // Mac Traditional Chinese
        case 83:
            return 10005;  // Mac Hebrew
        case 84:
            return 10004;  // Mac Arabic
        case 85:
            return 10006;  // Mac Greek
        case 86:
            return 10081;  // Mac Turkish
        case 87:
            return 10021;  // Mac Thai
        case 88:
            return 10029;  // Mac Central European
        case 89:
            return 10007;  // Mac Cyrillic
        case 161:
            return 1253;  // Greek
        case 162:
            return 1254;  // Turkish
        case 163:
            return 1258;  // Vietnamese
        case 177:
            return 1255;  // Hebrew
        case 178:
            return 1256;  // Arabic
        case 186:
            return 1257;  // Baltic
        case 204:
            return 1251;  // Cyrillic
        case 222:
            return 874;  // Thai
        case 238:
            return 1250;  // Eastern European
        case 254:
        case 255:
            return 437;  // PC and OEM
        default:
            return 0;
    }
}

}  // namespace quillon::rtf
