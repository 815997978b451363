// A grouped, paged report of N records written by a TQuillon run with events, the same
// report as the Jinja2 peer (bench/report_vs_jinja.sh): ten fields per detail line with
// the peer's widths, a sum line per customer (every 50 records), a page heading with the
// page number and date, a footer and page-break marker every 60 lines, and a report end
// with the grand total. Records are made inside the process, as the peer makes them.
//
//   bench_report_run N OUT

#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/quillon.h"
#include "platform/core/host_services.h"
#include "platform/core/stream.h"

namespace {

// A named field slot: width characters, decimals of them after a "^".
std::string Slot(std::string_view name, int width, int decimals = 0) {
    std::string slot = "<\xC2\xBF";
    slot.append(name).append(">");
    if (decimals > 0) {
        slot.append(static_cast<std::size_t>(width - decimals - 1), '?').append("^");
        slot.append(static_cast<std::size_t>(decimals), '?');
    } else {
        slot.append(static_cast<std::size_t>(width), '?');
    }
    return slot;
}

std::string Template() {
    std::string t = "^^BENCH\r\n@0\r\n<HTML><BODY><TABLE>\r\n";
    t += "@1\r\n<tr><th>Page " + Slot("PAGENO", 5) + "</th><th>" + Slot("DATE", 10) +
         "</th></tr>\r\n";
    t += "@3\r\n<tr><td>" + Slot("CUST", 8) + "</td><td>" + Slot("ITEM", 20) + "</td><td>" +
         Slot("AMOUNT", 10, 2) + "</td><td>" + Slot("QTY", 6) + "</td><td>" + Slot("SDATE", 10) +
         "</td><td>" + Slot("REF", 12) + "</td><td>" + Slot("TAX", 8, 2) + "</td><td>" +
         Slot("CUR", 6) + "</td><td>" + Slot("WH", 15) + "</td><td>" + Slot("LINENO", 7) +
         "</td></tr>\r\n";
    t += "@4\r\n<tr><td>Total " + Slot("CUST", 8) + "</td><td>" + Slot("TOTAL", 12, 2) +
         "</td></tr>\r\n";
    t += "@14\r\n<tr><td>end of page " + Slot("PAGENO", 5) + "</td></tr>\r\n";
    t += "@15\r\n<tr><td>Grand total " + Slot("GRAND", 12, 2) +
         "</td></tr></TABLE></BODY></HTML>\r\n";
    return t;
}

// Appends value with `decimals` digits after the point.
std::string_view Fixed(char* buffer, std::size_t size, double value, int decimals) {
    const auto r = std::to_chars(buffer, buffer + size, value, std::chars_format::fixed, decimals);
    return {buffer, static_cast<std::size_t>(r.ptr - buffer)};
}
std::string_view Int(char* buffer, std::size_t size, long value) {
    const auto r = std::to_chars(buffer, buffer + size, value);
    return {buffer, static_cast<std::size_t>(r.ptr - buffer)};
}

// Hundredths as a text with two decimals ("1234" -> "12.34"): the records' amounts are
// made exactly, without the cost of formatting a double for every record.
std::string_view Cents(char* buffer, std::size_t size, long cents) {
    const auto r = std::to_chars(buffer, buffer + size - 4, cents / 100);
    char* p = r.ptr;
    *p++ = '.';
    *p++ = static_cast<char>('0' + cents % 100 / 10);
    *p++ = static_cast<char>('0' + cents % 10);
    return {buffer, static_cast<std::size_t>(p - buffer)};
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quillon;
    const long n = argc > 1 ? std::atol(argv[1]) : 200000;
    const std::string out = argc > 2 ? argv[2] : "/tmp/quillon_report.htm";
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const std::string template_path = (dir / "quillon_bench_report.htm").string();
    std::ofstream(template_path, std::ios::binary) << Template();

    HeadlessHost host;
    TQuillon report(host);
    report.SetFormatFile(template_path);
    report.SetFormatName("BENCH");
    report.SetPgSize(60);
    report.SetFirstPgSize(60);
    report.SetOptions({prNumbersAlignRight});

    long i = -1;
    std::string cust;
    std::string item;
    std::string ref;
    std::string wh;
    double total = 0.0;
    double grand = 0.0;
    char buf[64];
    auto make = [&] {
        // "C%05ld" of i / 50
        const std::string_view digits = Int(buf, sizeof buf, i / 50);
        cust.clear();
        cust += 'C';
        cust.append(5 - std::min<std::size_t>(5, digits.size()), '0');
        cust += digits;
    };
    report.OnNext = [&](TQuillon&, bool& next) {
        ++i;
        next = i < n;
        if (next) make();
    };
    report.OnGetGroupIndex = [&](TQuillon&, TReportLevel level, std::string& idx) {
        if (level == rlSum01) idx = cust;
    };
    report.OnDetailSum = [&](TQuillon&) { total += (i % 1000) * 1.25; };
    // The detail fields are found once, when the run has loaded the template, and set by
    // index for every record.
    enum Slot { kCust, kItem, kAmount, kQty, kSdate, kRef, kTax, kCur, kWh, kSlots };
    static constexpr const char* kNames[kSlots] = {"CUST", "ITEM", "AMOUNT", "QTY", "SDATE",
                                                   "REF",  "TAX",  "CUR",    "WH"};
    std::size_t slot[kSlots];
    std::uint64_t revision = 0;
    report.OnGetDetailLine = [&](TQuillon& r) {
        tRNAMEList& names = r.Model().ActiveNames();
        if (revision != names.Revision()) {
            for (int f = 0; f < kSlots; ++f) slot[f] = names.IndexOf(kNames[f]);
            revision = names.Revision();
        }
        item.assign("Item name ").append(Int(buf, sizeof buf, i % 977));
        ref.assign("REF");
        const std::string_view digits = Int(buf, sizeof buf, i);
        ref.append(7 - std::min<std::size_t>(7, digits.size()), '0').append(digits);
        wh.assign("Warehouse ").append(Int(buf, sizeof buf, i % 9));
        names.SetValueAt(slot[kCust], cust);
        names.SetValueAt(slot[kItem], item);
        names.SetValueAt(slot[kAmount], Cents(buf, sizeof buf, (i % 1000) * 125));
        names.SetValueAt(slot[kQty], Int(buf, sizeof buf, i % 100));
        names.SetValueAt(slot[kSdate], "2026-12-06");
        names.SetValueAt(slot[kRef], ref);
        names.SetValueAt(slot[kTax], Cents(buf, sizeof buf, (i % 37) * 50));
        names.SetValueAt(slot[kCur], "EUR");
        names.SetValueAt(slot[kWh], wh);
    };
    std::string prior;
    report.OnGetSumLine = [&](TQuillon& r, TReportLevel level) {
        if (level == rlSum01) {
            r.FieldByName("CUST").SetAsString(r.GetPriorIndex(rlSum01));
            r.FieldByName("TOTAL").SetAsString(Fixed(buf, sizeof buf, total, 2));
        } else if (level == rlEnd) {
            r.FieldByName("GRAND").SetAsString(Fixed(buf, sizeof buf, grand, 2));
        }
    };
    report.OnChangeIndex = [&](TQuillon&, TReportLevel level) {
        if (level == rlSum01) {
            grand += total;
            total = 0.0;
        }
    };

    TFileStream file(out, TFileStream::Mode::kCreate);
    if (!file.IsOpen()) {
        std::fprintf(stderr, "cannot write %s\n", out.c_str());
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    const bool ok = report.Execute(&file);
    const bool closed = file.Close();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::filesystem::remove(template_path);
    if (!ok || !closed) {
        std::fprintf(stderr, "the run failed\n");
        return 1;
    }
    std::printf("quillon: %ld records in %.3f s, %.0f records/s, %d pages\n", n, seconds,
                seconds > 0 ? n / seconds : 0.0, report.GetIntPgNumber());
    return 0;
}
