#include "platform/mail/mail_composer.h"

#include <array>
#include <random>

#include "platform/core/text_encoding.h"
#include "platform/mail/mime_encoding.h"

namespace quillon::mail {

namespace {

// A header of addresses, folded after each comma once the line would grow too long.
std::string AddressHeader(std::string_view field, const std::vector<MailAddress>& list) {
    std::string out(field);
    out += ':';
    std::size_t column = out.size();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string item = list[i].HeaderForm() + (i + 1 < list.size() ? "," : "");
        if (i > 0 && column + 1 + item.size() > 78) {
            out += "\r\n";
            column = 0;
        }
        out += ' ';
        out += item;
        column += 1 + item.size();
    }
    return out + "\r\n";
}

std::string DateText(std::time_t t) {
    static constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed",
                                                         "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm tm{};
    gmtime_r(&t, &tm);
    auto two = [](int v) { return std::string(v < 10 ? "0" : "") + std::to_string(v); };
    return std::string(kDays[static_cast<std::size_t>(tm.tm_wday)]) + ", " +
           std::to_string(tm.tm_mday) + " " + kMonths[static_cast<std::size_t>(tm.tm_mon)] + " " +
           std::to_string(tm.tm_year + 1900) + " " + two(tm.tm_hour) + ":" + two(tm.tm_min) + ":" +
           two(tm.tm_sec) + " +0000";
}

std::string TextPart() {
    return "Content-Type: text/plain; charset=UTF-8\r\n"
           "Content-Transfer-Encoding: quoted-printable\r\n";
}

// A text attachment names its characters: UTF-8 when its bytes are valid UTF-8 (pure
// ASCII included), else Windows-1252, the reading of every other report file.
std::string ContentTypeOf(const MailAttachment& a) {
    std::string type = MediaTypeOf(a.file_name);
    if (type.starts_with("text/")) {
        type += text::IsValidUtf8(a.bytes) ? "; charset=UTF-8" : "; charset=windows-1252";
    }
    return type;
}

}  // namespace

std::string MediaTypeOf(std::string_view file_name) {
    const std::size_t dot = file_name.rfind('.');
    const std::string ext = dot == std::string_view::npos
                                ? std::string()
                                : text::AsciiUpperCase(file_name.substr(dot + 1));
    if (ext == "HTM" || ext == "HTML") return "text/html";
    if (ext == "TXT") return "text/plain";
    if (ext == "RTF") return "application/rtf";
    if (ext == "PDF") return "application/pdf";
    if (ext == "CSV") return "text/csv";
    if (ext == "PNG") return "image/png";
    if (ext == "GIF") return "image/gif";
    if (ext == "JPG" || ext == "JPEG") return "image/jpeg";
    return "application/octet-stream";
}

std::string UniqueToken() {
    std::random_device device;
    std::mt19937_64 random(static_cast<std::uint64_t>(device()) << 32 ^ device());
    static constexpr std::string_view kHex = "0123456789abcdef";
    std::string out;
    for (int i = 0; i < 24; ++i) out += kHex[random() & 15];
    return out;
}

std::string ComposeMail(const OutgoingMail& mail, std::time_t date, std::string_view unique) {
    std::string out;
    std::size_t size = mail.text.size();
    for (const MailAttachment& a : mail.attachments) size += a.bytes.size() / 3 * 4 + 256;
    out.reserve(size + size / 32 + 1024);

    if (mail.from) out += AddressHeader("From", {*mail.from});
    if (!mail.to.empty()) out += AddressHeader("To", mail.to);
    if (!mail.cc.empty()) out += AddressHeader("Cc", mail.cc);
    out += "Subject: " + HeaderText(mail.subject, 9) + "\r\n";
    out += "Date: " + DateText(date) + "\r\n";
    std::string domain = "quillon.invalid";
    if (mail.from) domain = mail.from->address.substr(mail.from->address.rfind('@') + 1);
    out += "Message-ID: <" + std::string(unique) + "@" + domain + ">\r\n";
    if (mail.draft) out += "X-Unsent: 1\r\n";
    out += "MIME-Version: 1.0\r\n";

    const std::string body = QuotedPrintable(AsUtf8(mail.text));
    if (mail.attachments.empty()) {
        out += TextPart() + "\r\n" + body;
        return out;
    }
    // Base64 and quoted-printable text never hold "=_", so the boundary cannot occur
    // inside a part.
    const std::string boundary = "=_quillon_" + std::string(unique);
    out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    out += "This is a message with attachments in MIME format.\r\n";
    out += "--" + boundary + "\r\n" + TextPart() + "\r\n" + body;
    for (const MailAttachment& a : mail.attachments) {
        out += "\r\n--" + boundary + "\r\n";
        out += "Content-Type: " + ContentTypeOf(a) + "\r\n";
        out += "Content-Transfer-Encoding: base64\r\n";
        out += "Content-Disposition: attachment" + FileNameParameter("filename", a.file_name) +
               "\r\n\r\n";
        out += Base64Lines(a.bytes);
    }
    out += "\r\n--" + boundary + "--\r\n";
    return out;
}

}  // namespace quillon::mail
