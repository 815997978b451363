// Any bytes read as CSV, as a JSON array and as JSON Lines give records or a DataSourceError,
// nothing else.
#include <cstdint>
#include <sstream>

#include "apps/datasource/data_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto drain = [](quillon::data::DataSource& source) {
        while (source.Next()) {
            for (std::size_t c = 0; c < source.Columns().size(); ++c) (void)source.Value(c);
        }
    };
    try {
        auto csv = quillon::data::OpenCsv(std::make_unique<std::istringstream>(text), "fuzz");
        drain(*csv);
    } catch (const quillon::data::DataSourceError&) {
    }
    for (const auto form : {quillon::data::JsonForm::kArray, quillon::data::JsonForm::kLines}) {
        try {
            auto json =
                quillon::data::OpenJson(std::make_unique<std::istringstream>(text), "fuzz", form);
            drain(*json);
        } catch (const quillon::data::DataSourceError&) {
        }
    }
    return 0;
}
