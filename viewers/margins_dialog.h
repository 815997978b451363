#pragma once
// The margins dialog of the viewer window: the four print margins in centimetres, in the
// rows top, bottom, left, right. OK is taken only when all four fields hold numbers;
// otherwise the first faulty field is named in a message and gets the focus, and nothing
// is changed.

#include <QDialog>
#include <array>

#include "engine/messages.h"
#include "platform/core/host_services.h"

class QLineEdit;

namespace quillon {

struct MarginValues {
    double top = 0;
    double bottom = 0;
    double left = 0;
    double right = 0;
};

class MarginsDialog : public QDialog {
  public:
    static constexpr int kRows = 4;

    MarginsDialog(TRepLanguage language, const MarginValues& values, HostServices& host,
                  QWidget* parent = nullptr);

    // The field of row 0..3 (top, bottom, left, right).
    QLineEdit& Field(int row) const { return *fields_[static_cast<std::size_t>(row)]; }
    // The values read when OK was taken.
    const MarginValues& Values() const { return values_; }

    void accept() override;

  private:
    TRepLanguage language_;
    HostServices& host_;
    std::array<QLineEdit*, kRows> fields_{};
    MarginValues values_;
};

}  // namespace quillon
