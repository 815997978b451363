#pragma once
// The report as the paged output sees it: builds footers and page headings, answers
// BeforeNewPage, makes the progress step and asks the output-error question.

#include "engine/paged_output.h"

namespace quillon {

class TQuillon;

class ReportOutputClient : public PagedOutputClient {
  public:
    explicit ReportOutputClient(TQuillon& report) : report_(report) {}

    void BuildLevel(int level, EilPlist& list) override;
    bool HasBeforeNewPage() const override;
    TNewPageAction BeforeNewPage(int page_no, int column) override;
    void ProgressStep() override;
    int AskOutputError() override;
    int PageSize() const override;
    int FirstPageSize() const override;
    bool OnePageReport() const override;

  private:
    TQuillon& report_;
};

}  // namespace quillon
