// A report over records the application holds: the engine asks for each record (OnNext),
// for the group it belongs to (OnGetGroupIndex) and for the values of each line, and sums
// the detail lines' AMOUNT per group by itself (prAutoSum, read back with SumByName).
// The template, sales.txt, has a part per level (@0 report head, @2 detail heading, @3
// detail line, @4 sum line of the innermost group, @15 report end); a field <¿NAME>???
// fills as many columns as it has question marks.
// Prints the report on standard output; exits with 1 when the run fails.

#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <quillon/engine/quillon.h>
#include <quillon/platform/core/stream.h>

namespace {

struct Sale {
    std::string city;
    std::string item;
    double amount;
};

std::string Money(double value) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(2) << value;
    return out.str();
}

}  // namespace

int main() {
    const std::vector<Sale> sales = {{"Kaunas", "Lamp", 10.5},
                                     {"Kaunas", "Desk", 100},
                                     {"Vilnius", "Chair", 200},
                                     {"Vilnius", "Lamp", 15.75},
                                     {"Vilnius", "Shelf", 42}};

    quillon::TQuillon report;
    report.SetFormatFile(TEMPLATE_FILE);
    report.SetFormatName("SALES");
    quillon::TPrintOptions options = report.Options();
    options.Include(quillon::prAutoSum);
    report.SetOptions(options);

    std::size_t read = 0;  // records handed to the engine; the current one is read - 1
    std::string city;      // the city of the last detail line: the group a sum line closes
    auto current = [&]() -> const Sale& { return sales[read - 1]; };

    report.OnNext = [&](quillon::TQuillon&, bool& next) {
        next = read < sales.size();
        if (next) ++read;
    };
    report.OnGetGroupIndex = [&](quillon::TQuillon&, quillon::TReportLevel level,
                                 std::string& index) {
        if (level == quillon::rlSum01 && read > 0) index = current().city;
    };
    report.OnGetDetailHeadLine = [&](quillon::TQuillon& r) {
        r.FieldByName("CITY").SetAsString(current().city);
    };
    report.OnGetDetailLine = [&](quillon::TQuillon& r) {
        city = current().city;
        r.FieldByName("ITEM").SetAsString(current().item);
        r.FieldByName("AMOUNT").SetAsString(Money(current().amount));
    };
    report.OnGetSumLine = [&](quillon::TQuillon& r, quillon::TReportLevel level) {
        r.FieldByName("CITY").SetAsString(city);
        r.FieldByName("AMOUNT").SetAsString(Money(r.SumByName(level, "AMOUNT")));
    };

    quillon::TMemoryStream out;
    if (!report.Execute(&out)) return 1;
    std::cout << out.Data();
    return 0;
}
