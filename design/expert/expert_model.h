#pragma once
// ExpertModel: the state and rules of the report expert's four pages, without any window.
// Page 0 chooses a data set, page 1 its fields, page 2 the title and options, page 3 shows
// the run code. The wizard widget only mirrors this model.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "design/expert/design_host.h"
#include "design/expert/expert_format.h"

namespace quillon::design {

inline constexpr int kExpertPages = 4;

class ExpertModel {
  public:
    // Looks a data set up by name on the designed form; nullopt when it cannot be resolved.
    using DataSetLookup = std::function<std::optional<DesignComponent>(const std::string&)>;

    ExpertModel(const EditedReport& report, std::vector<std::string> data_sets,
                DataSetLookup lookup);
    // A model over the data sets of a design host.
    static ExpertModel FromHost(const EditedReport& report, const DesignHost& host);

    // --- page 0 -----------------------------------------------------------------------
    const std::vector<std::string>& DataSets() const { return data_sets_; }
    int SelectedDataSet() const { return selected_data_set_; }
    void SetSelectedDataSet(int index);

    // --- navigation -------------------------------------------------------------------
    int Page() const { return page_; }
    bool BackEnabled() const { return page_ > 0; }
    bool NextEnabled() const;
    // "&Next", or "&Create" on the last page.
    std::string NextCaption() const;
    // Moves one page on. Entering page 1 resolves the data set: when it cannot be resolved
    // the model stays on page 0 and the message is returned. On the last page Next is
    // Create: returns nothing and sets Finished().
    std::optional<std::string> Next();
    void Back();
    bool Finished() const { return finished_; }

    // --- page 1 -----------------------------------------------------------------------
    const std::vector<std::string>& Available() const { return available_; }
    const std::vector<std::string>& Selected() const { return selected_; }
    // Moves the given rows (indexes into Available / Selected) and returns the row to
    // select afterwards in the list the fields left: the first row that was selected,
    // clamped to the last item (0 when nothing was selected; -1 when the list is empty).
    int AddFields(const std::vector<int>& rows);
    int AddAll();
    int RemoveFields(const std::vector<int>& rows);
    int RemoveAll();
    // Moves a selected field one row up or down; returns its new row.
    int MoveUp(int row);
    int MoveDown(int row);
    bool AddEnabled() const { return !available_.empty(); }
    bool RemoveEnabled() const { return !selected_.empty(); }

    // --- page 2 -----------------------------------------------------------------------
    std::string title = "My Report";
    bool page_number = true;
    bool date_time = true;
    bool landscape = false;

    // --- page 3 -----------------------------------------------------------------------
    const std::vector<std::string>& RunCode() const { return run_code_; }

    // --- result -----------------------------------------------------------------------
    const std::string& DataSetName() const { return data_set_name_; }
    // The chosen fields in the user's order with their labels and widths from the data set.
    std::vector<ExpertField> ChosenFields() const;

  private:
    std::optional<std::string> EnterFields();

    std::vector<std::string> data_sets_;
    DataSetLookup lookup_;
    int selected_data_set_ = -1;
    int page_ = 0;
    bool finished_ = false;
    std::optional<DesignComponent> data_set_;
    std::string data_set_name_;
    std::vector<std::string> available_;
    std::vector<std::string> selected_;
    std::vector<std::string> run_code_;
};

// The expert's close question.
inline constexpr const char* kExpertCancelQuestion =
    "Are you sure that you want to close the Quillon Expert?";
// Shown when the chosen data set cannot be found (any more).
std::string UnresolvedDataSetMessage(const std::string& name);

}  // namespace quillon::design
