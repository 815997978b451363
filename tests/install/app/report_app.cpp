// Runs a three-record report over the template given as argument and prints the report.
// Exits with 1 when the run fails.

#include <iostream>
#include <string>

#include <quillon/engine/quillon.h>
#include <quillon/platform/core/stream.h>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    quillon::TQuillon report;
    report.SetFormatFile(argv[1]);
    report.SetFormatName("T");
    int records = 0;
    report.OnNext = [&](quillon::TQuillon&, bool& next) { next = ++records <= 3; };
    report.OnGetDetailLine = [&](quillon::TQuillon& r) {
        r.FieldByName("N").SetAsString(std::to_string(records * 10));
    };
    quillon::TMemoryStream out;
    if (!report.Execute(&out)) return 1;
    std::cout << out.Data();
    return 0;
}
