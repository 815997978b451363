// An application whose report handlers are the code that quillon expert --code wrote for
// orders.txt (generated_handlers.inc, included below), compiled outside namespace quillon.
// Runs the report over three records and prints it; exits with 1 when the run fails.

#include <iostream>
#include <string>

#include "engine/quillon.h"
#include "platform/core/stream.h"

class ReportForm {
  public:
    void Quillon1GetHeadLine(quillon::TQuillon& Sender);
    void Quillon1GetDetailLine(quillon::TQuillon& Sender);
    void Quillon1GetSumLine(quillon::TQuillon& Sender, quillon::TReportLevel Level);
};

#include "generated_handlers.inc"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    quillon::TQuillon Quillon1;
    Quillon1.SetFormatFile(argv[1]);
    Quillon1.SetFormatName("Orders");
    ReportForm form;
    int records = 0;
    Quillon1.OnNext = [&](quillon::TQuillon&, bool& next) { next = ++records <= 3; };
    // The generated handlers run first, as generated; the application's values follow.
    Quillon1.OnGetHeadLine = [&](quillon::TQuillon& Sender) {
        form.Quillon1GetHeadLine(Sender);
        Sender.FieldByName("CLERK").SetAsString("Ann");
    };
    Quillon1.OnGetDetailLine = [&](quillon::TQuillon& Sender) {
        form.Quillon1GetDetailLine(Sender);
        Sender.FieldByName("ITEM").SetAsString("item" + std::to_string(records));
    };
    Quillon1.OnGetSumLine = [&](quillon::TQuillon& Sender, quillon::TReportLevel Level) {
        form.Quillon1GetSumLine(Sender, Level);
        if (Level == quillon::rlEnd) Sender.FieldByName("CLOSING").SetAsString("done");
    };
    quillon::TMemoryStream out;
    if (!Quillon1.Execute(&out)) return 1;
    std::cout << out.Data();
    return 0;
}
