#include "design/expert/expert_model.h"

#include <algorithm>
#include <set>

namespace quillon::design {

namespace {

// Moves the rows of from (in list order) to the end of to; returns the row to select in
// from afterwards.
int MoveRows(std::vector<std::string>& from, std::vector<std::string>& to,
             const std::vector<int>& rows) {
    std::set<int> chosen;
    for (const int r : rows) {
        if (r >= 0 && r < static_cast<int>(from.size())) chosen.insert(r);
    }
    const int first = chosen.empty() ? 0 : *chosen.begin();
    std::vector<std::string> kept;
    for (int i = 0; i < static_cast<int>(from.size()); ++i) {
        if (chosen.count(i) != 0) {
            to.push_back(std::move(from[static_cast<std::size_t>(i)]));
        } else {
            kept.push_back(std::move(from[static_cast<std::size_t>(i)]));
        }
    }
    from = std::move(kept);
    if (from.empty()) return -1;
    return std::min(first, static_cast<int>(from.size()) - 1);
}

}  // namespace

std::string UnresolvedDataSetMessage(const std::string& name) {
    return "The data source \"" + name + "\" cannot be found. Choose another one.";
}

ExpertModel::ExpertModel(const EditedReport& report, std::vector<std::string> data_sets,
                         DataSetLookup lookup)
    : data_sets_(std::move(data_sets)),
      lookup_(std::move(lookup)),
      run_code_(ExpertRunCode(report.name)) {
    landscape = report.landscape;
}

ExpertModel ExpertModel::FromHost(const EditedReport& report, const DesignHost& host) {
    std::vector<std::string> names;
    for (const DesignComponent& c : host.Components()) {
        if (c.is_data_set) names.push_back(c.name);
    }
    // The lookup asks the host again, so a data set removed meanwhile is not resolved.
    return ExpertModel(report, std::move(names),
                       [&host](const std::string& name) -> std::optional<DesignComponent> {
                           for (DesignComponent& c : host.Components()) {
                               if (c.name == name && c.is_data_set) return std::move(c);
                           }
                           return std::nullopt;
                       });
}

void ExpertModel::SetSelectedDataSet(int index) {
    selected_data_set_ = index >= 0 && index < static_cast<int>(data_sets_.size()) ? index : -1;
}

bool ExpertModel::NextEnabled() const {
    switch (page_) {
        case 0:
            return selected_data_set_ >= 0;
        case 1:
            return !selected_.empty();
        default:
            return true;
    }
}

std::string ExpertModel::NextCaption() const {
    return page_ == kExpertPages - 1 ? "&Create" : "&Next";
}

std::optional<std::string> ExpertModel::EnterFields() {
    const std::string& name = data_sets_[static_cast<std::size_t>(selected_data_set_)];
    std::optional<DesignComponent> found = lookup_ ? lookup_(name) : std::nullopt;
    if (!found) return UnresolvedDataSetMessage(name);
    if (!data_set_ || data_set_name_ != name) {
        available_.clear();
        selected_.clear();
        for (const DesignField& f : found->fields) available_.push_back(f.name);
    }
    data_set_ = std::move(found);
    data_set_name_ = name;
    return std::nullopt;
}

std::optional<std::string> ExpertModel::Next() {
    if (!NextEnabled()) return std::nullopt;
    if (page_ == kExpertPages - 1) {
        finished_ = true;
        return std::nullopt;
    }
    if (page_ == 0) {
        if (auto message = EnterFields()) return message;
    }
    ++page_;
    return std::nullopt;
}

void ExpertModel::Back() {
    if (page_ > 0) --page_;
}

int ExpertModel::AddFields(const std::vector<int>& rows) {
    return MoveRows(available_, selected_, rows);
}

int ExpertModel::AddAll() {
    std::vector<int> rows(available_.size());
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
    return AddFields(rows);
}

int ExpertModel::RemoveFields(const std::vector<int>& rows) {
    return MoveRows(selected_, available_, rows);
}

int ExpertModel::RemoveAll() {
    std::vector<int> rows(selected_.size());
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
    return RemoveFields(rows);
}

int ExpertModel::MoveUp(int row) {
    if (row <= 0 || row >= static_cast<int>(selected_.size())) return row;
    std::swap(selected_[static_cast<std::size_t>(row)],
              selected_[static_cast<std::size_t>(row - 1)]);
    return row - 1;
}

int ExpertModel::MoveDown(int row) {
    if (row < 0 || row + 1 >= static_cast<int>(selected_.size())) return row;
    std::swap(selected_[static_cast<std::size_t>(row)],
              selected_[static_cast<std::size_t>(row + 1)]);
    return row + 1;
}

std::vector<ExpertField> ExpertModel::ChosenFields() const {
    std::vector<ExpertField> out;
    for (const std::string& name : selected_) {
        ExpertField field{name, name, 1, false, 0};
        if (data_set_) {
            for (const DesignField& f : data_set_->fields) {
                if (f.name != name) continue;
                if (!f.display_label.empty()) field.label = f.display_label;
                field.width = f.display_width;
                field.number = f.number;
                field.decimals = f.decimals;
            }
        }
        field.width = std::clamp(field.width, kMinSlotWidth, kMaxExpertSlotWidth);
        out.push_back(std::move(field));
    }
    return out;
}

}  // namespace quillon::design
