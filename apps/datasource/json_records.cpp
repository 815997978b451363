#include "apps/datasource/json_records.h"

namespace quillon::data {

JsonRecords::JsonRecords(JsonReader::ReadBlock read, std::string name, JsonForm form)
    : reader_(std::move(read), std::move(name)), form_(form) {}

void JsonRecords::Fail(std::string_view what) {
    reader_.Fail("record " + std::to_string(number_) + ": " + std::string(what));
}

bool JsonRecords::FindArrayRecord() {
    int c = reader_.Peek();
    if (!started_) {
        if (c == JsonReader::kEnd) reader_.Unexpected();
        if (c != '[') reader_.Fail("expected an array of objects");
        reader_.Take();
        started_ = true;
        c = reader_.Peek();
        if (c == ']') {
            reader_.Take();
            ended_ = true;
        }
    } else if (c == ']') {
        reader_.Take();
        ended_ = true;
    } else {
        if (c != ',') reader_.Unexpected();
        reader_.Take();
        if (reader_.Peek() == ']') reader_.Unexpected();  // no comma before the end
    }
    if (ended_ && reader_.Peek() != JsonReader::kEnd) reader_.Unexpected();
    return !ended_;
}

bool JsonRecords::Next(Sink& sink) {
    if (ended_) return false;
    if (form_ == JsonForm::kArray) {
        if (!FindArrayRecord()) return false;
    } else if (reader_.Peek() == JsonReader::kEnd) {
        ended_ = true;
        return false;
    }
    ++number_;
    const int c = reader_.Peek();
    if (c != '{') {
        const bool value = c == '"' || c == '[' || c == '-' || (c >= '0' && c <= '9') || c == 't' ||
                           c == 'f' || c == 'n';
        if (!value) reader_.Unexpected();
        Fail("expected an object");
    }
    Members(sink);
    if (form_ == JsonForm::kLines) {
        const int after = reader_.PeekInLine();
        if (after != '\n' && after != JsonReader::kEnd) {
            Fail("more after the object on its line (JSON Lines hold one object per line)");
        }
    }
    return true;
}

void JsonRecords::Members(Sink& sink) {
    reader_.Take();  // {
    int c = reader_.Peek();
    if (c == '}') {
        reader_.Take();
        return;
    }
    for (;;) {
        if (c != '"') reader_.Unexpected();
        std::string* value = nullptr;
        const std::string* likely = sink.Likely();
        if (likely != nullptr && reader_.TakePlainString(*likely)) {
            value = sink.LikelySlot();
        } else {
            reader_.ReadString(key_);
            value = sink.Slot(key_);
        }
        reader_.Expect(':');
        if (value != nullptr) {
            reader_.ReadValue(*value);
        } else {
            reader_.SkipValue();
        }
        c = reader_.Peek();
        if (c == '}') {
            reader_.Take();
            return;
        }
        if (c != ',') reader_.Unexpected();
        reader_.Take();
        c = reader_.Peek();
    }
}

}  // namespace quillon::data
